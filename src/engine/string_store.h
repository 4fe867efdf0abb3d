// The string variables of programs: "$name" -> single-line text.
#pragma once

#include <string>
#include <unordered_map>

namespace engine {

class StringStore {
public:
    // A name that was never assigned reads as the empty text.
    const std::string& Get(const std::string& name) const {
        static const std::string empty;
        const auto it = values_.find(name);
        return it == values_.end() ? empty : it->second;
    }
    void Set(const std::string& name, std::string value) { values_[name] = std::move(value); }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    void Clear() { values_.clear(); }

private:
    std::unordered_map<std::string, std::string> values_;
};

}  // namespace engine
