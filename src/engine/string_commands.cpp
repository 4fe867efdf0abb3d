// String commands: texts in "$" variables, cut, searched, joined and converted.
#include "engine/string_commands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>

#include "bigint/roman.h"
#include "engine/runner.h"
#include "engine/utf8.h"
#include "expr/number_format.h"

namespace engine {

namespace {

// Texts are UTF-8; positions and lengths count characters, not bytes.
std::u32string Decode(const std::string& text) {
    return DecodeUtf8(text);
}
std::string Encode(const std::u32string& text) {
    return EncodeUtf8(text);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A whole number from a value, kept within the range of text positions.
long long WholeNumber(Real value) {
    if (std::isnan(value)) return 0;
    return static_cast<long long>(std::clamp(std::floor(value), -1.0e15L, 1.0e15L));
}

// The text between the first "(" and the last ")", split at commas.
std::vector<std::string> PredicateOperands(const std::string& predicate) {
    std::vector<std::string> operands;
    const size_t open = predicate.find('(');
    const size_t close = predicate.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return operands;
    const std::string inside = predicate.substr(open + 1, close - open - 1);
    size_t start = 0;
    while (true) {
        const size_t comma = inside.find(',', start);
        operands.push_back(inside.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return operands;
}

// maak$($var;tekst)
void Assign(Runner& runner) {
    const std::string name = runner.NextArgument();
    runner.Strings().Set(name, runner.TextArgument());
}

// samen$($var;links;rechts)
void Concatenate(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string left = runner.TextArgument();
    runner.Strings().Set(name, left + runner.TextArgument());
}

// mid$($var;string;beginpos;aantal)
void Middle(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::u32string text = Decode(runner.TextArgument());
    const long long start = std::max(1LL, WholeNumber(runner.NumericArgument()));
    const long long count = WholeNumber(runner.NumericArgument());
    std::u32string part;
    if (count > 0 && start <= static_cast<long long>(text.size())) {
        part = text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
    }
    runner.Strings().Set(name, Encode(part));
}

// pos$(var;te vinden;string)
void Position(Runner& runner) {
    const std::string name = runner.TextArgument();
    const std::u32string needle = Decode(runner.TextArgument());
    const std::u32string text = Decode(runner.TextArgument());
    const size_t found = needle.empty() ? std::u32string::npos : text.find(needle);
    runner.SetNumericAll(name, found == std::u32string::npos ? 0 : static_cast<Real>(found + 1));
}

// lengte$(var;string)
void Length(Runner& runner) {
    const std::string name = runner.TextArgument();
    const std::u32string text = Decode(runner.TextArgument());
    runner.SetNumericAll(name, static_cast<Real>(text.size()));
}

// tussen$($var;string;beginteken;eindteken): the text inside the first bracket pair.
void Between(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::u32string text = Decode(runner.TextArgument());
    const std::u32string begin = Decode(runner.TextArgument());
    const std::u32string end = Decode(runner.TextArgument());
    std::u32string result = text;
    const size_t p = begin.empty() ? std::u32string::npos : text.find(begin.front());
    if (p != std::u32string::npos && !end.empty() && begin.front() != end.front()) {
        int depth = 1;
        size_t k = 0;
        while (depth > 0 && k < text.size() - 1 - p) {
            ++k;
            if (text[p + k] == begin.front()) ++depth;
            if (text[p + k] == end.front()) --depth;
        }
        if (depth == 0) result = text.substr(p + 1, k - 1);
    }
    runner.Strings().Set(name, Encode(result));
}

// vervang$($var;string;zoekstring;vervstring)
void Replace(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string text = runner.TextArgument();
    const std::string search = runner.TextArgument();
    const std::string replacement = runner.TextArgument();
    if (search.empty()) {
        runner.Strings().Set(name, text);
        return;
    }
    std::string result;
    size_t start = 0;
    for (size_t found; (found = text.find(search, start)) != std::string::npos;
         start = found + search.size()) {
        result.append(text, start, found - start);
        result += replacement;
    }
    result.append(text, start);
    runner.Strings().Set(name, result);
}

// split$($res1;$res2;string;afscheider)
void Split(Runner& runner) {
    const std::string first = runner.NextArgument();
    const std::string second = runner.NextArgument();
    const std::string text = runner.TextArgument();
    const std::string separator = runner.TextArgument();
    const size_t found = separator.empty() ? std::string::npos : text.find(separator);
    if (found == std::string::npos) {
        runner.Strings().Set(first, "");
        runner.Strings().Set(second, text);
        return;
    }
    // The rest starts after the separator's first character.
    const auto lead = static_cast<unsigned char>(separator.front());
    const size_t firstCharacter = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    runner.Strings().Set(first, text.substr(0, found));
    runner.Strings().Set(second, text.substr(found + firstCharacter));
}

// +$ -$ *$ /$ ^$ ($var;expr1;expr2): builds expression text.
template <char Operator>
void Combine(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string left = runner.TextArgument();
    const std::string right = runner.TextArgument();
    runner.Strings().Set(name, "(" + left + ")" + Operator + "(" + right + ")");
}

// getalnaar$($var;expressie)
void NumberToText(Runner& runner) {
    const std::string name = runner.NextArgument();
    runner.Strings().Set(name, expr::FormatGeneral(runner.NumericArgument(), 15));
}

// getalnaarromeins$($var;getal)
void NumberToRoman(Runner& runner) {
    const std::string name = runner.NextArgument();
    const Real value = std::trunc(runner.NumericArgument());
    const bool inRange = value >= 1 && value <= bigint::kMaxRoman;
    runner.Strings().Set(name, inRange ? bigint::ToRoman(static_cast<int64_t>(value)) : "");
}

// romeinsnaargetal$(romeins;var): note the order, the text comes first.
void RomanToNumber(Runner& runner) {
    const std::string text = runner.TextArgument();
    const std::string name = runner.TextArgument();
    const auto value = bigint::FromRoman(text);
    if (!value) {
        runner.EndRunWithMessage("Geen geldig Romeins getal: " + text);
        return;
    }
    runner.SetNumericAll(name, static_cast<Real>(*value));
}

// koppel$(veld;$var;tekst): what the user typed in the field wins over the default.
void Couple(Runner& runner) {
    const std::string field = runner.NextArgument();
    const std::string name = runner.NextArgument();
    const std::string& textLine = runner.NextArgument();
    std::string* target = nullptr;
    static const std::string functionNames = "FGHI";
    if (field.size() == 1 && functionNames.find(field[0]) != std::string::npos) {
        target = &runner.Settings().functions[functionNames.find(field[0])];
    } else if (field == "user1" || field == "user2" || field == "user3") {
        target = &runner.Interface().fields[static_cast<size_t>(field.back() - '1')].text;
    }
    if (target == nullptr) {
        runner.Strings().Set(name, textLine);
    } else if (target->empty()) {
        *target = runner.Preprocess(textLine);
        runner.Strings().Set(name, textLine);
    } else {
        runner.Strings().Set(name, *target);
    }
}

// keus$($var;keus1,keus2,...): one of at most 30 choices at random.
void Choose(Runner& runner) {
    static std::mt19937 generator{std::random_device{}()};
    const std::string name = runner.NextArgument();
    const std::string list = runner.TextArgument();
    std::vector<std::string> choices;
    size_t start = 0;
    while (choices.size() < 30) {
        const size_t comma = list.find(',', start);
        choices.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::uniform_int_distribution<size_t> pick(0, choices.size() - 1);
    runner.Strings().Set(name, choices[pick(generator)]);
}

}  // namespace

std::string EqualTextPredicate(Runner& runner, const std::string& predicate) {
    const size_t open = predicate.find('(');
    const size_t close = predicate.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return "0";
    // Only the first comma separates: b may hold commas.
    const std::string inside = predicate.substr(open + 1, close - open - 1);
    const size_t comma = inside.find(',');
    if (comma == std::string::npos) return "0";
    const std::string a = runner.Preprocess(inside.substr(0, comma));
    const std::string b = runner.Preprocess(inside.substr(comma + 1));
    return Lower(a) == Lower(b) ? "1" : "0";
}

std::string EquivalentPredicate(Runner& runner, const std::string& predicate) {
    const auto operands = PredicateOperands(predicate);
    if (operands.size() < 5) return "0";
    const std::string a = runner.Preprocess(operands[0]);
    const std::string b = runner.Preprocess(operands[1]);
    const std::string& variable = operands[2];
    long double left = 0, right = 0;
    if (!expr::ParseFixedNumber(operands[3], left) || !expr::ParseFixedNumber(operands[4], right)) {
        return "0";
    }
    runner.SyncParsers();  // the sampled variable changes in Parser1 only
    expr::TParser& parser = runner.Parser(1);
    try {
        parser.AssignVariable(variable, left);
    } catch (const expr::EMathParserError&) {
        return "0";
    }
    for (const std::string& expression : {a, b}) {
        try {
            if (expression.empty()) throw expr::ESyntaxError("");
            parser.SetExpression(expression);
        } catch (const expr::EMathParserError&) {
            runner.ShowMessage(kErrorCaption, "Er zit een fout in: " + expression,
                               MessageIcon::Error);
            return "0";
        }
    }
    parser.SetExpression("(" + a + ")-(" + b + ")");
    Real step = (right - left) / 20;
    if (step == 0) step = 1e-5L;
    Real x = left;
    Real difference = 0;
    // At most 21 sample points, also where x + step rounds back to x.
    for (int sample = 0; sample < 21; ++sample) {
        parser.AssignVariable(variable, x);
        try {
            difference = std::fabs(parser.Value());
        } catch (const expr::EMathError&) {
            return "0";
        }
        x += step;
        if (!(x <= right && difference <= 1e-5L)) break;
    }
    return difference <= 1e-5L ? "1" : "0";
}

void RegisterStringCommands(Runner& runner) {
    runner.RegisterCommand("maak$", Assign);
    runner.RegisterCommand("samen$", Concatenate);
    runner.RegisterCommand("mid$", Middle);
    runner.RegisterCommand("pos$", Position);
    runner.RegisterCommand("lengte$", Length);
    runner.RegisterCommand("tussen$", Between);
    runner.RegisterCommand("vervang$", Replace);
    runner.RegisterCommand("split$", Split);
    runner.RegisterCommand("+$", Combine<'+'>);
    runner.RegisterCommand("-$", Combine<'-'>);
    runner.RegisterCommand("*$", Combine<'*'>);
    runner.RegisterCommand("/$", Combine<'/'>);
    runner.RegisterCommand("^$", Combine<'^'>);
    runner.RegisterCommand("getalnaar$", NumberToText);
    runner.RegisterCommand("getalnaarromeins$", NumberToRoman);
    runner.RegisterCommand("romeinsnaargetal$", RomanToNumber);
    runner.RegisterCommand("koppel$", Couple);
    runner.RegisterCommand("keus$", Choose);
}

}  // namespace engine
