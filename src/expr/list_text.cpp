// Reading and writing list values as text.
#include "list_text.h"

#include "number_format.h"

namespace expr {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\t' || c == '"'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// Calls `field(row, column, text)` for each field; stops when it returns false.
template <typename Field>
void ForEachField(std::string_view text, Field field) {
    size_t row = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        size_t column = 0;
        while (true) {
            const size_t tab = line.find('\t');
            if (!field(row, column, line.substr(0, tab))) return;
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
            ++column;
        }
        ++row;
    }
}

std::string NotANumber(std::string_view field, size_t row, size_t column) {
    std::string shown(field.substr(0, 40));
    return "'" + shown + "' is geen getal (regel " + std::to_string(row + 1) + ", kolom " +
           std::to_string(column + 1) + ").";
}

}  // namespace

std::optional<Real> ReadListNumber(std::string_view text) {
    std::string number(Trimmed(text));
    for (char& c : number) {
        if (c == ',') c = '.';
        if (c == 'e') c = 'E';
    }
    long double value = 0;
    if (number.empty() || !ParseFixedNumber(number, value)) return std::nullopt;
    return value;
}

NumberTable ReadNumberTable(std::string_view text, size_t maxRows, size_t maxColumns) {
    NumberTable table;
    ForEachField(text, [&](size_t row, size_t column, std::string_view field) {
        const std::string_view value = Trimmed(field);
        if (row >= maxRows || column >= maxColumns) {
            if (!value.empty()) table.cut = true;
            return row < maxRows || value.empty();
        }
        if (table.rows.size() <= row) table.rows.resize(row + 1);
        auto& cells = table.rows[row];
        if (cells.size() <= column) cells.resize(column + 1);
        if (value.empty()) return true;
        const auto number = ReadListNumber(value);
        if (!number) throw EAnalysisError(NotANumber(value, row, column));
        cells[column] = *number;
        return true;
    });
    // A last line without values (the line break after the last row) is no row.
    while (!table.rows.empty()) {
        const auto& last = table.rows.back();
        bool empty = true;
        for (const auto& cell : last) empty = empty && !cell;
        if (!empty) break;
        table.rows.pop_back();
    }
    return table;
}

std::vector<Real> ReadNumberSequence(std::string_view text, size_t maxCount, bool& more) {
    std::vector<Real> values;
    more = false;
    ForEachField(text, [&](size_t row, size_t column, std::string_view field) {
        const std::string_view value = Trimmed(field);
        if (value.empty()) return true;
        if (values.size() == maxCount) {
            more = true;
            return false;
        }
        const auto number = ReadListNumber(value);
        if (!number) throw EAnalysisError(NotANumber(value, row, column));
        values.push_back(*number);
        return true;
    });
    return values;
}

std::string ListTableText(const ListStore& lists, int digits) {
    std::string text;
    for (int i = 1; i <= ListStore::kSize; ++i) {
        for (int list = 1; list <= ListStore::kLists; ++list) {
            if (list > 1) text += '\t';
            text += FormatGeneral(lists.Get(list, i), digits);
        }
        text += '\n';
    }
    return text;
}

void ReadListTable(std::string_view text, ListStore& lists) {
    const NumberTable table = ReadNumberTable(text, ListStore::kSize, ListStore::kLists);
    if (table.cut) {
        throw EAnalysisError(
            "Te veel waarden: hoogstens 100 regels van elk 6 getallen (L1 .. L6).");
    }
    for (size_t r = 0; r < table.rows.size(); ++r) {
        for (size_t c = 0; c < table.rows[r].size(); ++c) {
            if (table.rows[r][c]) {
                lists.Set(static_cast<int>(c + 1), static_cast<long long>(r + 1),
                          *table.rows[r][c]);
            }
        }
    }
}

}  // namespace expr
