// The string variables of programs: "$name" -> single-line text.
#pragma once

#include <string>
#include <unordered_map>

#include "engine/run_limits.h"

namespace engine {

class StringStore {
public:
    // A name that was never assigned reads as the empty text.
    const std::string& Get(const std::string& name) const {
        static const std::string empty;
        const auto it = values_.find(name);
        return it == values_.end() ? empty : it->second;
    }
    // Throws RunLimitError when all values together would pass kMaxStringBytes.
    void Set(const std::string& name, std::string value) {
        std::string& slot = values_[name];
        const size_t total = bytes_ - slot.size() + value.size();
        if (total > kMaxStringBytes) {
            throw RunLimitError(
                "De teksten van het programma worden samen groter dan 64 MB; het programma is "
                "gestopt.");
        }
        bytes_ = total;
        slot = std::move(value);
    }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    void Clear() {
        values_.clear();
        bytes_ = 0;
    }

private:
    std::unordered_map<std::string, std::string> values_;
    size_t bytes_ = 0;
};

}  // namespace engine
