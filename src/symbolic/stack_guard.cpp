// The stack's lower end comes from the thread library where it can tell; elsewhere a small
// stack is assumed from the first check on.
#include "stack_guard.h"

#include <cstdint>

#if defined(__linux__)
#include <pthread.h>
#endif

#include "symbolic_error.h"

namespace symbolic {

namespace {

// Assumed to remain when the platform cannot tell: less than any host thread is given.
constexpr uintptr_t kAssumedRoom = 512 * 1024;

// The frame address rather than a local's: with the address sanitizer a local may live on a
// heap-allocated fake stack.
uintptr_t Here() {
#if defined(__GNUC__)
    return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
#else
    char marker = 0;
    return reinterpret_cast<uintptr_t>(&marker);
#endif
}

// The lowest address a check accepts; stacks grow downwards on every platform we build for.
uintptr_t FindLimit() {
#if defined(__linux__)
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        void* lowest = nullptr;
        size_t size = 0;
        const bool known = pthread_attr_getstack(&attributes, &lowest, &size) == 0;
        pthread_attr_destroy(&attributes);
        if (known && lowest != nullptr)
            return reinterpret_cast<uintptr_t>(lowest) + StackGuard::kReserve;
    }
#endif
    const uintptr_t here = Here();
    return here > kAssumedRoom ? here - kAssumedRoom + StackGuard::kReserve : here;
}

// Found once per thread: asking the thread library reads /proc for the main thread.
thread_local uintptr_t stackLimit = 0;

}  // namespace

void StackGuard::Check() {
    if (stackLimit == 0) stackLimit = FindLimit();
    if (Here() < stackLimit) throw ESymbolicError("expression nested too deeply");
}

}  // namespace symbolic
