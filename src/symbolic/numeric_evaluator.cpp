// Numeric evaluation over the tree; function names compare without regard to case.
#include "numeric_evaluator.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "stack_guard.h"

namespace symbolic {

namespace {

std::optional<double> Function(const std::string& name, double x) {
    struct Entry {
        const char* name;
        double (*apply)(double);
    };
    static constexpr Entry kFunctions[] = {
        {"SIN", [](double v) { return std::sin(v); }},
        {"COS", [](double v) { return std::cos(v); }},
        {"TAN", [](double v) { return std::tan(v); }},
        {"COT", [](double v) { return std::cos(v) / std::sin(v); }},
        {"ASIN", [](double v) { return std::asin(v); }},
        {"ACOS", [](double v) { return std::acos(v); }},
        {"ATAN", [](double v) { return std::atan(v); }},
        {"LN", [](double v) { return std::log(v); }},
        {"EXP", [](double v) { return std::exp(v); }},
        {"SQRT", [](double v) { return std::sqrt(v); }},
        {"FLOOR", [](double v) { return std::floor(v); }},
        {"CEIL", [](double v) { return std::ceil(v); }},
        {"FABS", [](double v) { return std::fabs(v); }},
        {"ABS", [](double v) { return std::fabs(v); }},
        {"SINH", [](double v) { return std::sinh(v); }},
        {"COSH", [](double v) { return std::cosh(v); }},
        {"TANH", [](double v) { return std::tanh(v); }},
        {"INT", [](double v) { return std::trunc(v); }},
    };
    for (const Entry& entry : kFunctions) {
        if (SameName(name, entry.name)) return entry.apply(x);
    }
    if (SameName(name, "SIGN")) {
        if (x > 0) return 1.0;
        if (x < 0) return -1.0;
    }
    return std::nullopt;
}

std::optional<double> Evaluate(const Knoten* node) {
    StackGuard::Check();
    switch (node->kind()) {
        case Kind::Integer:
        case Kind::Decimal: {
            double value = 0;
            const std::string& text = node->text();
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
            return value;
        }
        case Kind::Pi:
            return std::numbers::pi;
        case Kind::Function: {
            if (node->right() == nullptr || node->right()->kind() == Kind::Comma)
                return std::nullopt;
            const auto argument = Evaluate(node->right());
            if (!argument) return std::nullopt;
            return Function(node->text(), *argument);
        }
        case Kind::Plus:
        case Kind::Minus:
        case Kind::Times:
        case Kind::Divide:
        case Kind::Power: {
            const auto a = Evaluate(node->left());
            if (!a) return std::nullopt;
            const auto b = Evaluate(node->right());
            if (!b) return std::nullopt;
            switch (node->kind()) {
                case Kind::Plus:
                    return *a + *b;
                case Kind::Minus:
                    return *a - *b;
                case Kind::Times:
                    return *a * *b;
                case Kind::Divide:
                    return *a / *b;
                default:
                    return std::pow(*a, *b);
            }
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<double> NumericEvaluator::Evaluate(const Knoten* node) {
    const auto value = symbolic::Evaluate(node);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::string NumericEvaluator::Format(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 16);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text;
}

}  // namespace symbolic
