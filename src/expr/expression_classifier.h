// Decides which rule a piece of expression text falls under (variable, number,
// negation, an operator split, a function call), by trial splitting with memo.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace expr {

enum class TermForm : uint8_t {
    Unknown,  // not classified yet
    Invalid,
    Variable,
    Number,
    Bracket,  // "(" valid expression ")"
    Negate,
    Add,
    Subtract,
    Multiply,
    IntegerQuotient,
    IntegerRemainder,
    Divide,
    Power,
    Function1,
    Function2,
};

// The names an expression may use; all upper-case.
class NameScope {
public:
    virtual bool IsVariable(std::string_view name) const = 0;
    virtual bool IsFunction1(std::string_view name) const = 0;
    virtual bool IsFunction2(std::string_view name) const = 0;
    // No name is longer; spares looking up long texts.
    virtual size_t LongestName() const = 0;

protected:
    ~NameScope() = default;
};

// Works on one upper-cased, blank-free text. Every part it looks at is a range
// [begin, end) of that text, so results are memoised per range; the work is
// driven by an explicit stack, so deeply nested text cannot exhaust the call stack.
class ExpressionClassifier {
public:
    struct Term {
        TermForm form = TermForm::Invalid;
        // Position of the operator, of the argument comma, or of the "(" of a
        // one-argument call.
        int32_t split = -1;
    };

    ExpressionClassifier(std::string_view text, const NameScope& names);

    // "(" and ")" pair up properly. Text that does not is never a valid expression.
    bool WellNested() const { return wellNested_; }

    // Classifies text[begin, end) as a part of an expression: a bracketed valid
    // expression is Bracket, anything else by the rules. Needs WellNested().
    // Throws EExpressionTooComplex when the text needs an unreasonable amount of work.
    Term Classify(int32_t begin, int32_t end);

    // Removes enclosing pairs "(" ... ")" that belong together.
    std::pair<int32_t, int32_t> StripBrackets(int32_t begin, int32_t end) const;
    int32_t MatchingBracket(int32_t position) const { return match_[position]; }
    static int32_t OperatorLength(TermForm form);

    // Value of a range classified as Number.
    long double NumberValue(int32_t begin, int32_t end) const;

    // The syntax error for the whole text: names the last operator split that
    // the rules try, or the text itself when they try none.
    std::string SyntaxErrorMessage() const;

private:
    struct Occurrence {
        int32_t group;  // position of the enclosing "(", -1 at the top
        int32_t position;
    };
    struct Frame {
        int32_t begin;
        int32_t end;
        int32_t coreBegin = 0;
        int32_t coreEnd = 0;
        int32_t cursor = -1;
        uint8_t stage = 0;
        uint8_t rule = 0;
    };
    struct Slot {
        uint64_t key = 0;
        TermForm form = TermForm::Unknown;
        int32_t split = -1;
    };

    TermForm Query(int32_t begin, int32_t end);
    void Step();
    void Finish(size_t frameIndex, TermForm form, int32_t split);
    void CountWork();
    int32_t FirstOccurrence(int list, int32_t group, int32_t from) const;

    bool IsIdentifier(int32_t begin, int32_t end) const;
    bool IsVariableRange(int32_t begin, int32_t end) const;
    bool IsNumberRange(int32_t begin, int32_t end);
    int32_t NumberEnd(int32_t begin);

    const Slot* Find(int32_t begin, int32_t end) const;
    void Insert(int32_t begin, int32_t end, TermForm form, int32_t split);
    void Grow();

    std::string_view text_;
    const NameScope& names_;
    int32_t size_;
    bool wellNested_ = true;
    std::vector<int32_t> match_;
    std::vector<int32_t> group_;
    std::vector<Occurrence> occurrences_[8];  // + - * DIV MOD / ^ and ","
    std::vector<int32_t> numberEnd_;          // lazily, -1 = not computed
    std::vector<Slot> slots_;
    size_t used_ = 0;
    std::vector<Frame> frames_;
    size_t work_ = 0;
};

}  // namespace expr
