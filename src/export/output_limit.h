// The most a picture file may grow to while a program runs: a program that draws
// without end must stop with a message, not exhaust the machine's memory.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace exporter {

inline constexpr size_t kMaxPictureTextBytes = size_t{1} << 30;  // 1 GB of eepic or PDF text

class EOutputTooLarge : public std::length_error {
public:
    explicit EOutputTooLarge(const std::string& what) : std::length_error(what) {}
};

}  // namespace exporter
