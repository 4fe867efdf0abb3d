// The symbolic library's one entry point, with a small and a large answer buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "symbolic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string request(reinterpret_cast<const char*>(data), size);
    for (const int room : {8, 1000}) {
        std::vector<char> answer(static_cast<size_t>(room));
        symbolic_calculate(request.c_str(), answer.data(), room);
    }
    return 0;
}
