// The C entry point of libsymbolic. No exception crosses it.
#include "symbolic.h"

#include <cstring>
#include <exception>
#include <string>

#include "s_interpreter.h"
#include "symbolic_error.h"

namespace {

// Writes as much of the text as fits, always zero-terminated. A text that does not fit
// reports its length minus one; the host relies on that rule.
int Answer(const std::string& text, bool success, char* result, int resultSize) {
    const size_t length = text.size();
    size_t magnitude = length;
    if (result != nullptr && resultSize > 0) {
        const size_t room = static_cast<size_t>(resultSize);
        const size_t written = length >= room ? room - 1 : length;
        std::memcpy(result, text.data(), written);
        result[written] = '\0';
        if (length >= room) magnitude = length - 1;
    }
    if (magnitude > 0x7fffffff) magnitude = 0x7fffffff;
    const int signedLength = static_cast<int>(magnitude);
    return success ? signedLength : -signedLength;
}

symbolic::s_interpreter& Interpreter() {
    static symbolic::s_interpreter interpreter;
    return interpreter;
}

}  // namespace

extern "C" int symbolic_calculate(const char* request, char* result, int resultSize) {
    if (request == nullptr) return -1;
    try {
        const auto answer = Interpreter().Calculate(request);
        return Answer(answer.text, answer.success, result, resultSize);
    } catch (const symbolic::ESymbolicError& error) {
        return Answer(error.what(), false, result, resultSize);
    } catch (...) {
        try {
            return Answer("unknown error", false, result, resultSize);
        } catch (...) {
            return -1;
        }
    }
}
