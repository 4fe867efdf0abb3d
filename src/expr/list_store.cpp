// The lists L1 .. L6.
#include "list_store.h"

namespace expr {

std::optional<int> ListStore::ListNumber(const std::string& name) {
    if (name.size() != 2 || (name[0] != 'L' && name[0] != 'l') || name[1] < '1' ||
        name[1] > '0' + kLists) {
        return std::nullopt;
    }
    return name[1] - '0';
}

Real ListStore::Get(int list, long long index) const {
    if (list < 1 || list > kLists || index < 1 || index > kSize) return 0;
    return values_[static_cast<size_t>(list - 1)][static_cast<size_t>(index - 1)];
}

void ListStore::Set(int list, long long index, Real value) {
    if (list < 1 || list > kLists || index < 1 || index > kSize) return;
    values_[static_cast<size_t>(list - 1)][static_cast<size_t>(index - 1)] = value;
}

}  // namespace expr
