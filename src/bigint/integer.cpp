// TInteger: text conversion and comparison.
#include "bigint/integer.h"

#include <algorithm>

namespace bigint {

void TInteger::AssignInt64(int64_t value) {
    limbs_.clear();
    negative_ = value < 0;
    uint64_t magnitude =
        negative_ ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    while (magnitude != 0) {
        limbs_.push_back(static_cast<uint32_t>(magnitude % kBase));
        magnitude /= kBase;
    }
}

void TInteger::AssignText(const std::string& text) {
    limbs_.clear();
    negative_ = false;
    uint32_t limb = 0;
    uint32_t scale = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        if (*it == '-') negative_ = true;
        if (*it < '0' || *it > '9') continue;
        limb += static_cast<uint32_t>(*it - '0') * scale;
        scale *= 10;
        if (scale == kBase) {
            limbs_.push_back(limb);
            limb = 0;
            scale = 1;
        }
    }
    if (scale != 1) limbs_.push_back(limb);
    Normalize();
}

std::string TInteger::ToString() const {
    if (limbs_.empty()) return "0";
    std::string out = negative_ ? "-" : "";
    out += std::to_string(limbs_.back());
    for (size_t i = limbs_.size() - 1; i-- > 0;) {
        const std::string part = std::to_string(limbs_[i]);
        out.append(9 - part.size(), '0');
        out += part;
    }
    return out;
}

int TInteger::Compare(const TInteger& other) const {
    if (Sign() != other.Sign()) return Sign() < other.Sign() ? -1 : 1;
    int magnitude = 0;
    if (limbs_.size() != other.limbs_.size()) {
        magnitude = limbs_.size() < other.limbs_.size() ? -1 : 1;
    } else {
        for (size_t i = limbs_.size(); i-- > 0;) {
            if (limbs_[i] != other.limbs_[i]) {
                magnitude = limbs_[i] < other.limbs_[i] ? -1 : 1;
                break;
            }
        }
    }
    return negative_ ? -magnitude : magnitude;
}

void TInteger::Normalize() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    if (limbs_.empty()) negative_ = false;
}

}  // namespace bigint
