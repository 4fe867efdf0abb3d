// The C entry point of libsymbolic. No exception crosses it.
#include "symbolic.h"

#include <cstring>
#include <string>

namespace {

int Answer(const std::string& text, bool ok, char* result, int resultSize) {
    if (result == nullptr || resultSize <= 0) return ok ? 0 : -1;
    const size_t n = std::min(text.size(), static_cast<size_t>(resultSize - 1));
    std::memcpy(result, text.data(), n);
    result[n] = '\0';
    const int length = static_cast<int>(n);
    return ok ? length : -length;
}

}  // namespace

extern "C" int symbolic_calculate(const char* request, char* result, int resultSize) {
    try {
        if (request == nullptr) return Answer("Geen opdracht", false, result, resultSize);
        return Answer("Symbolisch rekenen is nog niet beschikbaar", false, result, resultSize);
    } catch (...) {
        return Answer("Interne fout", false, result, resultSize);
    }
}
