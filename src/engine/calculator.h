// The calculator and symbolic tools of the program window: values, slopes and
// integrals of an expression of x with Parser1, and requests to the symbolic
// library. The window only shows what these give.
#pragma once

#include <string>

namespace engine {

class Runner;
using Real = long double;

class Calculator {
public:
    explicit Calculator(Runner& runner) : runner_(runner) {}

    // Each of these returns the result as the result field shows it, or throws the
    // parser's exception (EMathParserError, EMathError) with its message. Field
    // texts (x, a, b) may be expressions; a leading "$" or "?" is replaced as in
    // program arguments. Parser1's x is as before afterwards.
    std::string Value(const std::string& expression, const std::string& xText);
    // (f(x + 0.000001) - f(x - 0.000001)) / 0.000002, rounded to five decimals.
    std::string Slope(const std::string& expression, const std::string& xText);
    // The integral from a to b by the composite three-point Gauss rule, relative
    // tolerance 1E-15.
    std::string Integral(const std::string& expression, const std::string& aText,
                         const std::string& bText);

    // Requests to the symbolic library; the answer (or its error text) as it came.
    // `order` is the order box's text ("1e" .. "5e"): its first character counts.
    std::string Derivative(const std::string& expression, const std::string& variable,
                           const std::string& order);
    std::string Antiderivative(const std::string& expression, const std::string& variable);
    std::string DefiniteIntegral(const std::string& expression, const std::string& variable,
                                 const std::string& a, const std::string& b);

private:
    Real FieldValue(const std::string& text);
    void SetExpression(const std::string& text);

    Runner& runner_;
};

}  // namespace engine
