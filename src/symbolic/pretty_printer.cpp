// Layout in two passes: sizes bottom-up, then drawing top-down into a character grid.
#include "pretty_printer.h"

#include <algorithm>

#include "plain_printer.h"
#include "stack_guard.h"
#include "symbolic_error.h"

namespace symbolic {

namespace {

constexpr const char* kBar = "\u2500";          // ─
constexpr const char* kVertical = "\u2502";     // │
constexpr const char* kTopLeft = "\u250C";      // ┌
constexpr const char* kTopRight = "\u2510";     // ┐
constexpr const char* kBottomLeft = "\u2514";   // └
constexpr const char* kBottomRight = "\u2518";  // ┘

bool IsSum(const Knoten* node) {
    return node->kind() == Kind::Plus || node->kind() == Kind::Minus;
}

bool IsArithmetic(const Knoten* node) {
    return IsSum(node) || node->kind() == Kind::Times || node->kind() == Kind::Divide ||
           node->kind() == Kind::Power;
}

bool IsComparison(const Knoten* node) {
    return node->kind() == Kind::Equal || node->kind() == Kind::Greater ||
           node->kind() == Kind::Less;
}

// The same bracket rules as the LaTeX layout.
bool LeftNeedsParentheses(const Knoten* node) {
    switch (node->kind()) {
        case Kind::Times:
            return IsSum(node->left());
        case Kind::Power:
            return IsArithmetic(node->left());
        default:
            return IsComparison(node) && node->left()->IsOperator();
    }
}

bool RightNeedsParentheses(const Knoten* node) {
    switch (node->kind()) {
        case Kind::Times:
        case Kind::Minus:
            return IsSum(node->right());
        case Kind::Power:
            return node->right()->kind() == Kind::Power;
        default:
            return IsComparison(node) && node->right()->IsOperator();
    }
}

bool HiddenZero(const Knoten* node) {
    return node->kind() == Kind::Minus && node->left()->IsInteger("0");
}

std::string LeafText(const Knoten* node) {
    if (node->kind() == Kind::List) return "[]";
    return node->text();
}

}  // namespace

int PrettyPrinter::MeasuredWidth(const Knoten* node, bool parentheses) {
    return Measure(node).width + (parentheses ? 2 : 0);
}

const PrettyPrinter::Box& PrettyPrinter::Measure(const Knoten* node) {
    if (auto found = boxes_.find(node); found != boxes_.end()) return found->second;
    StackGuard::Check();
    Box box;
    if (node->kind() == Kind::Function) {
        const Box argument = node->right() ? Measure(node->right()) : Box{0, 1, 1};
        box = {static_cast<int>(node->text().size()) + 2 + argument.width, argument.height,
               argument.ascent};
    } else if (node->left() == nullptr || node->right() == nullptr) {
        box = {static_cast<int>(LeafText(node).size()), 1, 1};
    } else {
        const Box left = Measure(node->left());
        const Box right = Measure(node->right());
        const int leftWidth = MeasuredWidth(node->left(), LeftNeedsParentheses(node));
        const int rightWidth = MeasuredWidth(node->right(), RightNeedsParentheses(node));
        switch (node->kind()) {
            case Kind::Divide:
                box = {std::max(left.width, right.width), left.height + right.height + 1,
                       left.height + 1};
                break;
            case Kind::Power:
                box = {leftWidth + rightWidth, left.height + right.height,
                       left.ascent + right.height};
                break;
            default: {
                if (node->kind() == Kind::Times) {
                    box.width = leftWidth + rightWidth + 1;
                } else if (HiddenZero(node)) {
                    box.width = rightWidth + 1;
                } else {
                    box.width = leftWidth + rightWidth + 3;
                }
                const bool zero = HiddenZero(node);
                box.ascent = zero ? right.ascent : std::max(left.ascent, right.ascent);
                const int descent =
                    zero ? right.height - right.ascent
                         : std::max(left.height - left.ascent, right.height - right.ascent);
                box.height = box.ascent + descent;
                break;
            }
        }
    }
    return boxes_.emplace(node, box).first->second;
}

void PrettyPrinter::PutCell(int row, int column, const char* character) {
    if (row < 0 || row >= static_cast<int>(grid_.size())) return;
    auto& line = grid_[static_cast<size_t>(row)];
    if (column < 0 || column >= static_cast<int>(line.size())) return;
    line[static_cast<size_t>(column)] = character;
}

void PrettyPrinter::Put(int row, int column, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char character[2] = {text[i], '\0'};
        PutCell(row, column + static_cast<int>(i), character);
    }
}

// Draws node with its box's top-left corner at (row, column), inside brackets if asked.
void PrettyPrinter::DrawWithParentheses(const Knoten* node, int row, int column, bool parentheses) {
    if (!parentheses) {
        Draw(node, row, column);
        return;
    }
    const Box& box = Measure(node);
    const int right = column + box.width + 1;
    if (box.height == 1) {
        Put(row, column, "(");
        Put(row, right, ")");
    } else {
        for (int r = row; r < row + box.height; ++r) {
            const bool top = r == row;
            const bool bottom = r == row + box.height - 1;
            PutCell(r, column, top ? kTopLeft : (bottom ? kBottomLeft : kVertical));
            PutCell(r, right, top ? kTopRight : (bottom ? kBottomRight : kVertical));
        }
    }
    Draw(node, row, column + 1);
}

void PrettyPrinter::Draw(const Knoten* node, int row, int column) {
    StackGuard::Check();
    const Box& box = Measure(node);
    const int mainRow = row + box.ascent - 1;
    if (node->kind() == Kind::Function) {
        Put(mainRow, column, node->text());
        if (node->right() != nullptr)
            DrawWithParentheses(node->right(), row, column + static_cast<int>(node->text().size()),
                                true);
        else
            Put(mainRow, column + static_cast<int>(node->text().size()), "()");
        return;
    }
    if (node->left() == nullptr || node->right() == nullptr) {
        Put(mainRow, column, LeafText(node));
        return;
    }
    const Knoten* left = node->left();
    const Knoten* right = node->right();
    const Box& leftBox = Measure(left);
    const Box& rightBox = Measure(right);
    const bool leftParentheses = LeftNeedsParentheses(node);
    const bool rightParentheses = RightNeedsParentheses(node);
    switch (node->kind()) {
        case Kind::Divide: {
            Draw(left, row, column + (box.width - leftBox.width) / 2);
            for (int c = 0; c < box.width; ++c) PutCell(row + leftBox.height, column + c, kBar);
            Draw(right, row + leftBox.height + 1, column + (box.width - rightBox.width) / 2);
            return;
        }
        case Kind::Power: {
            const int baseWidth = MeasuredWidth(left, leftParentheses);
            DrawWithParentheses(left, row + rightBox.height, column, leftParentheses);
            DrawWithParentheses(right, row, column + baseWidth, rightParentheses);
            return;
        }
        default:
            break;
    }
    int next = column;
    if (!HiddenZero(node)) {
        DrawWithParentheses(left, mainRow - leftBox.ascent + 1, next, leftParentheses);
        next += MeasuredWidth(left, leftParentheses);
    }
    if (node->kind() == Kind::Times) {
        next += 1;
    } else if (HiddenZero(node)) {
        Put(mainRow, next, "-");
        next += 1;
    } else {
        Put(mainRow, next, std::string(" ") + PlainPrinter::Symbol(node->kind()) + " ");
        next += 3;
    }
    DrawWithParentheses(right, mainRow - rightBox.ascent + 1, next, rightParentheses);
}

std::string PrettyPrinter::Print(const Knoten* node) {
    PrettyPrinter printer;
    const Box box = printer.Measure(node);
    // One cell per character; a drawing this large would only exhaust memory.
    if (static_cast<long long>(box.width) * box.height > kMaxCells)
        throw ESymbolicError("result too large to draw");
    printer.grid_.assign(static_cast<size_t>(box.height),
                         std::vector<std::string>(static_cast<size_t>(box.width), " "));
    printer.Draw(node, 0, 0);
    std::string out;
    for (int start = 0; start < std::max(box.width, 1); start += kStripColumns) {
        const int end = std::min(box.width, start + kStripColumns);
        for (const auto& line : printer.grid_) {
            for (int c = start; c < end; ++c) out += line[static_cast<size_t>(c)];
            out += '\n';
        }
        out += '\n';
    }
    return out;
}

}  // namespace symbolic
