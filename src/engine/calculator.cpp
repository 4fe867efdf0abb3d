// The calculator and symbolic tools of the program window.
#include "engine/calculator.h"

#include <cmath>

#include "engine/runner.h"
#include "expr/number_format.h"
#include "expr/numerical_methods.h"

namespace engine {

namespace {

constexpr Real kSlopeStep = 0.000001L;
constexpr Real kSlopeRounding = 100000;
constexpr Real kIntegralTolerance = 1e-15L;

// Parser1's x belongs to the program (a paused run may be using it).
class KeepX {
public:
    explicit KeepX(expr::TParser& parser) : parser_(parser), x_(parser.X()) {}
    ~KeepX() { parser_.X() = x_; }
    KeepX(const KeepX&) = delete;
    KeepX& operator=(const KeepX&) = delete;

private:
    expr::TParser& parser_;
    Real x_;
};

std::string Text(Real value) {
    return expr::FormatGeneral(value, 15);
}

}  // namespace

Real Calculator::FieldValue(const std::string& text) {
    SetExpression(text);
    return runner_.Parser(1).Value();
}

void Calculator::SetExpression(const std::string& text) {
    runner_.Parser(1).SetExpression(runner_.Preprocess(text));
}

std::string Calculator::Value(const std::string& expression, const std::string& xText) {
    expr::TParser& parser = runner_.Parser(1);
    KeepX keep(parser);
    const Real x = FieldValue(xText);
    SetExpression(expression);
    parser.X() = x;
    return Text(parser.Value());
}

std::string Calculator::Slope(const std::string& expression, const std::string& xText) {
    expr::TParser& parser = runner_.Parser(1);
    KeepX keep(parser);
    const Real x = FieldValue(xText);
    SetExpression(expression);
    parser.X() = x + kSlopeStep;
    const Real right = parser.Value();
    parser.X() = x - kSlopeStep;
    const Real left = parser.Value();
    const Real slope = (right - left) / (2 * kSlopeStep);
    return Text(std::nearbyint(slope * kSlopeRounding) / kSlopeRounding);
}

std::string Calculator::Integral(const std::string& expression, const std::string& aText,
                                 const std::string& bText) {
    expr::TParser& parser = runner_.Parser(1);
    KeepX keep(parser);
    const Real a = FieldValue(aText), b = FieldValue(bText);
    SetExpression(expression);
    const expr::RealFunction f = [&parser](Real x) {
        parser.X() = x;
        return parser.Value();
    };
    return Text(expr::Integrate(expr::IntegrationMethod::Gauss, f, a, b, kIntegralTolerance));
}

std::string Calculator::Derivative(const std::string& expression, const std::string& variable,
                                   const std::string& order) {
    const std::string n = order.empty() ? "1" : order.substr(0, 1);
    return SymbolicCall("diff(" + runner_.Preprocess(expression) + "," + variable + "," + n + ")");
}

std::string Calculator::Antiderivative(const std::string& expression, const std::string& variable) {
    return SymbolicCall("int(" + runner_.Preprocess(expression) + "," + variable + ")");
}

std::string Calculator::DefiniteIntegral(const std::string& expression, const std::string& variable,
                                         const std::string& a, const std::string& b) {
    return SymbolicCall("int(" + runner_.Preprocess(expression) + "," + variable + "," + a + "," +
                        b + ")");
}

}  // namespace engine
