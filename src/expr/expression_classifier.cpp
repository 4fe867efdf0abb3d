// Classification of expression text by the trial-splitting rules, memoised per
// range of the text and driven by an explicit stack.
#include "expression_classifier.h"

#include <algorithm>
#include <tuple>

#include "number_format.h"
#include "parser_errors.h"

namespace expr {

namespace {

constexpr uint32_t Bit(TermForm form) {
    return 1u << static_cast<unsigned>(form);
}

constexpr uint32_t kAtom = Bit(TermForm::Variable) | Bit(TermForm::Number) | Bit(TermForm::Bracket);
constexpr uint32_t kCall = Bit(TermForm::Function1) | Bit(TermForm::Function2);
constexpr uint32_t kQuotients =
    Bit(TermForm::IntegerQuotient) | Bit(TermForm::IntegerRemainder) | Bit(TermForm::Divide);
constexpr uint32_t kPowerOrCall = Bit(TermForm::Power) | kCall;

// What may follow a leading "-".
constexpr uint32_t kNegatable = kAtom | kPowerOrCall;

struct SplitRule {
    TermForm form;
    char symbol;          // single-character operator, or 0 for a keyword
    const char* keyword;  // "DIV" or "MOD"
    int32_t length;
    uint32_t leftAllowed;  // atoms are always allowed
    uint32_t rightAllowed;
};

// The operator rules in the order they are tried, with the forms each side may take.
constexpr SplitRule kSplitRules[] = {
    {TermForm::Add, '+', nullptr, 1,
     kAtom | Bit(TermForm::Negate) | Bit(TermForm::Subtract) | Bit(TermForm::Multiply) |
         kQuotients | kPowerOrCall,
     kAtom | Bit(TermForm::Add) | Bit(TermForm::Subtract) | Bit(TermForm::Multiply) | kQuotients |
         kPowerOrCall},
    {TermForm::Subtract, '-', nullptr, 1,
     kAtom | Bit(TermForm::Negate) | Bit(TermForm::Subtract) | Bit(TermForm::Multiply) |
         kQuotients | kPowerOrCall,
     kAtom | Bit(TermForm::Multiply) | kQuotients | kPowerOrCall},
    {TermForm::Multiply, '*', nullptr, 1, kAtom | Bit(TermForm::Negate) | kQuotients | kPowerOrCall,
     kAtom | Bit(TermForm::Multiply) | kQuotients | kPowerOrCall},
    {TermForm::IntegerQuotient, 0, "DIV", 3,
     kAtom | Bit(TermForm::Negate) | kQuotients | kPowerOrCall, kAtom | kPowerOrCall},
    {TermForm::IntegerRemainder, 0, "MOD", 3,
     kAtom | Bit(TermForm::Negate) | kQuotients | kPowerOrCall, kAtom | kPowerOrCall},
    {TermForm::Divide, '/', nullptr, 1, kAtom | Bit(TermForm::Negate) | kQuotients | kPowerOrCall,
     kAtom | kPowerOrCall},
    {TermForm::Power, '^', nullptr, 1, kAtom | kCall, kAtom | kCall},
};
constexpr int kRuleCount = 7;
constexpr int kCommaList = 7;

// Enough for any expression that can compile within the nesting and size
// limits, many times over; beyond it the text is rejected as too complex.
constexpr size_t kWorkBudget = 3'000'000;

enum Stage : uint8_t {
    kStart,
    kBracketCore,
    kNegate,
    kSplits,
    kCall1,
    kCall2,
    kNoRule,
};

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

uint64_t Key(int32_t begin, int32_t end) {
    // begin + 1 keeps every key away from 0, which marks an empty slot.
    return (static_cast<uint64_t>(static_cast<uint32_t>(begin) + 1) << 32) |
           static_cast<uint32_t>(end);
}

// Mixes all bits: many ranges share their end, so the key's halves must both count.
size_t Hash(uint64_t key) {
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdull;
    key ^= key >> 33;
    key *= 0xc4ceb9fe1a85ec53ull;
    key ^= key >> 33;
    return static_cast<size_t>(key);
}

}  // namespace

ExpressionClassifier::ExpressionClassifier(std::string_view text, const NameScope& names)
    : text_(text), names_(names), size_(static_cast<int32_t>(text.size())) {
    match_.assign(text.size(), -1);
    group_.assign(text.size(), -1);
    std::vector<int32_t> open;
    for (int32_t i = 0; i < size_; ++i) {
        group_[i] = open.empty() ? -1 : open.back();
        const char c = text_[i];
        if (c == '(') {
            open.push_back(i);
        } else if (c == ')') {
            if (open.empty()) {
                wellNested_ = false;
                break;
            }
            match_[i] = open.back();
            match_[open.back()] = i;
            open.pop_back();
        }
    }
    if (!open.empty()) wellNested_ = false;
    if (!wellNested_) return;

    for (int32_t i = 0; i < size_; ++i) {
        const char c = text_[i];
        int list = -1;
        switch (c) {
            case '+':
                list = 0;
                break;
            case '-':
                list = 1;
                break;
            case '*':
                list = 2;
                break;
            case '/':
                list = 5;
                break;
            case '^':
                list = 6;
                break;
            case ',':
                list = kCommaList;
                break;
            case 'D':
                if (text_.substr(i, 3) == "DIV") list = 3;
                break;
            case 'M':
                if (text_.substr(i, 3) == "MOD") list = 4;
                break;
            default:
                break;
        }
        if (list >= 0) occurrences_[list].push_back({group_[i], i});
    }
    for (auto& list : occurrences_) {
        std::stable_sort(list.begin(), list.end(), [](const Occurrence& a, const Occurrence& b) {
            return a.group < b.group;
        });
    }
    numberEnd_.assign(text.size(), -1);
    slots_.resize(64);
}

int32_t ExpressionClassifier::OperatorLength(TermForm form) {
    return form == TermForm::IntegerQuotient || form == TermForm::IntegerRemainder ? 3 : 1;
}

std::pair<int32_t, int32_t> ExpressionClassifier::StripBrackets(int32_t begin, int32_t end) const {
    while (begin < end && text_[begin] == '(' && match_[begin] == end - 1) {
        ++begin;
        --end;
    }
    return {begin, end};
}

ExpressionClassifier::Term ExpressionClassifier::Classify(int32_t begin, int32_t end) {
    if (!wellNested_) return {TermForm::Invalid, -1};
    if (Query(begin, end) == TermForm::Unknown) {
        while (!frames_.empty()) Step();
    }
    if (begin >= end) return {TermForm::Invalid, -1};
    const Slot* slot = Find(begin, end);
    if (slot == nullptr) throw EParserInternalError(kMessageInternalError);
    return {slot->form, slot->split};
}

void ExpressionClassifier::CountWork() {
    if (++work_ > kWorkBudget) throw EExpressionTooComplex(kMessageTooComplex);
}

TermForm ExpressionClassifier::Query(int32_t begin, int32_t end) {
    if (begin >= end) return TermForm::Invalid;
    if (const Slot* slot = Find(begin, end)) return slot->form;
    CountWork();
    frames_.push_back(Frame{begin, end});
    return TermForm::Unknown;
}

void ExpressionClassifier::Finish(size_t frameIndex, TermForm form, int32_t split) {
    Insert(frames_[frameIndex].begin, frames_[frameIndex].end, form, split);
    frames_.pop_back();
}

int32_t ExpressionClassifier::FirstOccurrence(int list, int32_t group, int32_t from) const {
    const auto& occurrences = occurrences_[list];
    const auto it = std::lower_bound(
        occurrences.begin(), occurrences.end(), Occurrence{group, from},
        [](const Occurrence& a, const Occurrence& b) {
            return a.group != b.group ? a.group < b.group : a.position < b.position;
        });
    return static_cast<int32_t>(it - occurrences.begin());
}

// One step of the frame on top of the stack: it either finishes, or pushes the
// part it needs and is resumed at the same place once that part is known.
void ExpressionClassifier::Step() {
    const size_t index = frames_.size() - 1;
    Frame frame = frames_[index];
    const int32_t b = frame.begin;
    const int32_t e = frame.end;
    const auto yield = [&] { frames_[index] = frame; };

    switch (frame.stage) {
        case kStart:
            if (text_[b] == '(' && match_[b] == e - 1) {
                std::tie(frame.coreBegin, frame.coreEnd) = StripBrackets(b, e);
                frame.stage = kBracketCore;
            } else {
                // Rules 1 and 2: a known variable, a number literal.
                if (IsVariableRange(b, e)) return Finish(index, TermForm::Variable, -1);
                if (IsNumberRange(b, e)) return Finish(index, TermForm::Number, -1);
                frame.stage = kNegate;
            }
            [[fallthrough]];
        case kBracketCore:
            if (frame.stage == kBracketCore) {
                const TermForm core = Query(frame.coreBegin, frame.coreEnd);
                if (core == TermForm::Unknown) return yield();
                return Finish(
                    index, core == TermForm::Invalid ? TermForm::Invalid : TermForm::Bracket, -1);
            }
            [[fallthrough]];
        case kNegate:
            // Rule 3: "-" followed by an atom, a power or a function call.
            if (text_[b] == '-' && e - b >= 2) {
                const TermForm rest = Query(b + 1, e);
                if (rest == TermForm::Unknown) return yield();
                if (Bit(rest) & kNegatable) return Finish(index, TermForm::Negate, -1);
            }
            frame.stage = kSplits;
            frame.rule = 0;
            frame.cursor = -1;
            [[fallthrough]];
        case kSplits:
            // Rules 4 to 10: the first occurrence, from the left, whose two sides
            // have forms the operator allows. Only occurrences outside brackets
            // can balance; one at the first or last character ends the search.
            for (; frame.rule < kRuleCount; ++frame.rule, frame.cursor = -1) {
                const SplitRule& rule = kSplitRules[frame.rule];
                const auto& list = occurrences_[frame.rule];
                const int32_t group = group_[b];
                if (frame.cursor < 0) frame.cursor = FirstOccurrence(frame.rule, group, b);
                for (; frame.cursor < static_cast<int32_t>(list.size()); ++frame.cursor) {
                    const Occurrence occurrence = list[frame.cursor];
                    const int32_t p = occurrence.position;
                    if (occurrence.group != group || p >= e) break;
                    if (p == b || p + rule.length >= e) break;
                    CountWork();
                    const TermForm right = Query(p + rule.length, e);
                    if (right == TermForm::Unknown) return yield();
                    if (!(Bit(right) & rule.rightAllowed)) continue;
                    const TermForm left = Query(b, p);
                    if (left == TermForm::Unknown) return yield();
                    if (Bit(left) & rule.leftAllowed) return Finish(index, rule.form, p);
                }
            }
            frame.stage = kCall1;
            [[fallthrough]];
        case kCall1:
            // Rule 11: NAME "(" expression ")" with NAME a one-argument function.
            if (text_[e - 1] == ')') {
                const int32_t open = match_[e - 1];
                if (open > b && IsIdentifier(b, open) &&
                    static_cast<size_t>(open - b) <= names_.LongestName() &&
                    names_.IsFunction1(text_.substr(b, open - b))) {
                    const TermForm inner = Query(open + 1, e - 1);
                    if (inner == TermForm::Unknown) return yield();
                    if (inner != TermForm::Invalid) return Finish(index, TermForm::Function1, open);
                }
            }
            frame.stage = kCall2;
            frame.cursor = -1;
            [[fallthrough]];
        case kCall2:
            // Rule 12: NAME "(" expression "," expression ")"; the first comma
            // from the left with valid expressions on both sides.
            if (text_[e - 1] == ')') {
                const int32_t open = match_[e - 1];
                if (open > b && IsIdentifier(b, open) &&
                    static_cast<size_t>(open - b) <= names_.LongestName() &&
                    names_.IsFunction2(text_.substr(b, open - b))) {
                    const auto& list = occurrences_[kCommaList];
                    if (frame.cursor < 0)
                        frame.cursor = FirstOccurrence(kCommaList, open, open + 1);
                    for (; frame.cursor < static_cast<int32_t>(list.size()); ++frame.cursor) {
                        const Occurrence comma = list[frame.cursor];
                        if (comma.group != open || comma.position >= e - 1) break;
                        CountWork();
                        const TermForm left = Query(open + 1, comma.position);
                        if (left == TermForm::Unknown) return yield();
                        if (left == TermForm::Invalid) continue;
                        const TermForm right = Query(comma.position + 1, e - 1);
                        if (right == TermForm::Unknown) return yield();
                        if (right != TermForm::Invalid) {
                            return Finish(index, TermForm::Function2, comma.position);
                        }
                    }
                }
            }
            frame.stage = kNoRule;
            [[fallthrough]];
        case kNoRule:
        default:
            return Finish(index, TermForm::Invalid, -1);
    }
}

bool ExpressionClassifier::IsIdentifier(int32_t begin, int32_t end) const {
    if (begin >= end || !IsLetter(text_[begin])) return false;
    for (int32_t i = begin + 1; i < end; ++i) {
        if (!IsLetter(text_[i]) && !IsDigit(text_[i])) return false;
    }
    return true;
}

bool ExpressionClassifier::IsVariableRange(int32_t begin, int32_t end) const {
    return static_cast<size_t>(end - begin) <= names_.LongestName() && IsIdentifier(begin, end) &&
           names_.IsVariable(text_.substr(begin, end - begin));
}

// Where the literal automaton started at `begin` gets stuck:
// [sign] (digits [. digits*] | . digits) [E [sign] digits].
int32_t ExpressionClassifier::NumberEnd(int32_t begin) {
    int32_t& cached = numberEnd_[begin];
    if (cached >= 0) return cached;
    enum {
        kSign,
        kAfterSign,
        kInteger,
        kBarePoint,
        kPoint,
        kFraction,
        kE,
        kExponentSign,
        kExponent
    };
    int state = kSign;
    int32_t i = begin;
    for (; i < size_; ++i) {
        const char c = text_[i];
        const bool digit = IsDigit(c);
        const bool sign = c == '+' || c == '-';
        int next = -1;
        switch (state) {
            case kSign:
                next = sign ? kAfterSign : digit ? kInteger : c == '.' ? kBarePoint : -1;
                break;
            case kAfterSign:
                next = digit ? kInteger : c == '.' ? kBarePoint : -1;
                break;
            case kInteger:
                next = digit ? kInteger : c == '.' ? kPoint : c == 'E' ? kE : -1;
                break;
            case kBarePoint:
                next = digit ? kFraction : -1;
                break;
            case kPoint:
            case kFraction:
                next = digit ? kFraction : c == 'E' ? kE : -1;
                break;
            case kE:
                next = sign ? kExponentSign : digit ? kExponent : -1;
                break;
            case kExponentSign:
            case kExponent:
                next = digit ? kExponent : -1;
                break;
        }
        if (next < 0) break;
        state = next;
    }
    cached = i;
    return i;
}

bool ExpressionClassifier::IsNumberRange(int32_t begin, int32_t end) {
    const std::string_view range = text_.substr(begin, end - begin);
    if (range == "PI" || range == "-PI") return true;
    if (NumberEnd(begin) < end) return false;
    // The automaton accepts after a digit, or after a point that follows a digit.
    const char last = text_[end - 1];
    const bool accepting =
        IsDigit(last) || (last == '.' && end - 2 >= begin && IsDigit(text_[end - 2]));
    if (!accepting) return false;
    long double value = 0;
    return ParseFixedNumber(std::string(range), value);  // fails on overflow
}

long double ExpressionClassifier::NumberValue(int32_t begin, int32_t end) const {
    constexpr long double kPi = 3.14159265358979323846264338327950288L;
    const std::string_view range = text_.substr(begin, end - begin);
    if (range == "PI") return kPi;
    if (range == "-PI") return -kPi;
    long double value = 0;
    if (!ParseFixedNumber(std::string(range), value)) {
        throw EParserInternalError(kMessageInternalError);
    }
    return value;
}

std::string ExpressionClassifier::SyntaxErrorMessage() const {
    // Every occurrence is cut, bracketed or not; the search of one operator
    // ends at an occurrence on the first or the last character.
    int32_t lastSplit = -1;
    int32_t lastLength = 0;
    for (const SplitRule& rule : kSplitRules) {
        for (size_t p = 0; p < text_.size(); ++p) {
            const bool found =
                rule.symbol != 0 ? text_[p] == rule.symbol : text_.substr(p, 3) == rule.keyword;
            if (!found) continue;
            if (p == 0 || p + rule.length >= text_.size()) break;
            lastSplit = static_cast<int32_t>(p);
            lastLength = rule.length;
        }
    }
    std::string message = kMessageParsePrefix;
    if (lastSplit < 0) {
        message += text_;
    } else {
        message += text_.substr(0, lastSplit);
        message += '\r';
        message += text_.substr(lastSplit + lastLength);
    }
    return message;
}

const ExpressionClassifier::Slot* ExpressionClassifier::Find(int32_t begin, int32_t end) const {
    const uint64_t key = Key(begin, end);
    const size_t mask = slots_.size() - 1;
    for (size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
        if (slots_[i].key == key) return &slots_[i];
        if (slots_[i].key == 0) return nullptr;
    }
}

void ExpressionClassifier::Insert(int32_t begin, int32_t end, TermForm form, int32_t split) {
    if (2 * (used_ + 1) > slots_.size()) Grow();
    const uint64_t key = Key(begin, end);
    const size_t mask = slots_.size() - 1;
    size_t i = Hash(key) & mask;
    while (slots_[i].key != 0 && slots_[i].key != key) i = (i + 1) & mask;
    if (slots_[i].key == 0) ++used_;
    slots_[i] = Slot{key, form, split};
}

void ExpressionClassifier::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.key == 0) continue;
        size_t i = Hash(slot.key) & mask;
        while (slots_[i].key != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

}  // namespace expr
