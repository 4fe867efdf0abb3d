// Calls the library's entry point and keeps the answer with its signed length.
#pragma once

#include <string>
#include <vector>

#include "symbolic.h"

struct SymbolicAnswer {
    int length = 0;
    std::string text;
    bool ok() const { return length > 0; }
};

inline SymbolicAnswer Ask(const std::string& request) {
    std::vector<char> buffer(1 << 16, '\0');
    SymbolicAnswer answer;
    answer.length =
        symbolic_calculate(request.c_str(), buffer.data(), static_cast<int>(buffer.size()));
    answer.text = buffer.data();
    return answer;
}

// The answer text when the request succeeded, or "error: <text>".
inline std::string Result(const std::string& request) {
    const SymbolicAnswer answer = Ask(request);
    return answer.ok() ? answer.text : "error: " + answer.text;
}
