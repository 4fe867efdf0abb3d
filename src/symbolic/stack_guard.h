// Stops a recursion before it runs out of the calling thread's stack.
#pragma once

#include <cstddef>

namespace symbolic {

// The host may ask from a worker thread whose stack is far smaller than the main thread's, so
// the depth limits alone cannot promise that a deep request fits; every recursive walk checks.
class StackGuard {
public:
    // Room kept for the work below the last check: a built-in step, a printed number, a throw.
    static constexpr size_t kReserve = 128 * 1024;

    // Throws "expression nested too deeply" when less than kReserve of the stack is left.
    static void Check();
};

}  // namespace symbolic
