// What one program may hold in texts: a program that doubles a string or writes in
// an endless loop stops with a message before the machine runs out of memory.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace engine {

inline constexpr size_t kMaxStringBytes = size_t{64} << 20;  // all string variables together
inline constexpr size_t kMaxOutputBytes = size_t{64} << 20;  // output window, text panel

class RunLimitError : public std::length_error {
public:
    explicit RunLimitError(const std::string& what) : std::length_error(what) {}
};

}  // namespace engine
