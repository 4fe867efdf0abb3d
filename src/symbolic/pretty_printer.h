// The two-dimensional character layout: fractions over a bar, exponents raised, tall
// parentheses drawn with box-drawing characters; cut into strips of 79 columns.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "knoten.h"

namespace symbolic {

class PrettyPrinter {
public:
    static constexpr int kStripColumns = 79;
    static constexpr long long kMaxCells = 20'000'000;

    static std::string Print(const Knoten* node);

private:
    struct Box {
        int width = 0;
        int height = 0;
        int ascent = 0;  // rows from the top down to and including the main line
    };

    const Box& Measure(const Knoten* node);
    int MeasuredWidth(const Knoten* node, bool parentheses);
    void Draw(const Knoten* node, int row, int column);
    void DrawWithParentheses(const Knoten* node, int row, int column, bool parentheses);
    void Put(int row, int column, const std::string& text);
    void PutCell(int row, int column, const char* character);

    std::unordered_map<const Knoten*, Box> boxes_;
    std::vector<std::vector<std::string>> grid_;  // one UTF-8 character per cell
};

}  // namespace symbolic
