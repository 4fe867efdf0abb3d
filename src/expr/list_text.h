// Numbers as text for the lists: blocks pasted from a spreadsheet or read from a
// file (values separated by tabs and line breaks, with a decimal comma or point),
// and the table of L1 .. L6 as a tab-separated text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis_error.h"
#include "list_store.h"

namespace expr {

// One value as a person types it: blanks around it, "," or "." as the decimal
// separator, "e" or "E" before an exponent. Empty when it is no number.
std::optional<Real> ReadListNumber(std::string_view text);

struct NumberTable {
    // rows[r][c]; an empty field is an empty optional (the cell stays as it is).
    std::vector<std::vector<std::optional<Real>>> rows;
    bool cut = false;  // the text had more rows or columns than were asked for
};

// Rows on lines, columns separated by tabs; at most maxRows x maxColumns are read,
// the rest is only noticed (`cut`). A trailing empty line is no row. Throws
// EAnalysisError naming the first field that is no number.
NumberTable ReadNumberTable(std::string_view text, size_t maxRows, size_t maxColumns);

// The values of the text in reading order (tabs and line breaks both separate),
// at most maxCount; `more` tells whether the text held more. Empty fields are
// skipped. Throws EAnalysisError naming the first field that is no number.
std::vector<Real> ReadNumberSequence(std::string_view text, size_t maxCount, bool& more);

// L1 .. L6 as 100 lines of six tab-separated values, each with `digits` digits.
std::string ListTableText(const ListStore& lists, int digits);
// Fills the lists from such a table: row r is element r + 1, column c list c + 1.
// Throws EAnalysisError when a value is no number or the table is too large.
void ReadListTable(std::string_view text, ListStore& lists);

}  // namespace expr
