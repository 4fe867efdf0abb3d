// The commands that ask the symbolic library (symb$, diff$, diffn$, int$, subst$)
// and impliciet3, which traces a curve with the library's partial derivatives.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/runner.h"
#include "symbolic.h"

namespace engine {

std::string SymbolicCall(const std::string& request) {
    constexpr int kBufferSize = 1000;
    std::vector<char> buffer(kBufferSize, '\0');
    const int answer = symbolic_calculate(request.c_str(), buffer.data(), kBufferSize);
    // The sign only tells an error from a result; both are shown as the answer.
    const size_t length = static_cast<size_t>(std::abs(answer));
    const size_t written = std::char_traits<char>::length(buffer.data());
    return std::string(buffer.data(), std::min({length, written, size_t{kBufferSize - 1}}));
}

namespace {

// symb$($var;opdracht)
void Symbolic(Runner& runner) {
    const std::string name = runner.NextArgument();
    runner.Strings().Set(name, SymbolicCall(runner.TextArgument()));
}

// diff$($var;expressie;variabele)
void Derivative(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string expression = runner.TextArgument();
    const std::string variable = runner.TextArgument();
    runner.Strings().Set(name, SymbolicCall("diff(" + expression + "," + variable + ")"));
}

// diffn$($var;expressie;variabele;n)
void NthDerivative(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string expression = runner.TextArgument();
    const std::string variable = runner.TextArgument();
    const std::string order = runner.TextArgument();
    runner.Strings().Set(name,
                         SymbolicCall("diff(" + expression + "," + variable + "," + order + ")"));
}

// int$($var;expressie;variabele)
void Antiderivative(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string expression = runner.TextArgument();
    const std::string variable = runner.TextArgument();
    runner.Strings().Set(name, SymbolicCall("int(" + expression + "," + variable + ")"));
}

// subst$($var;expressie;zoekexp;vervexpr)
void Substitute(Runner& runner) {
    const std::string name = runner.NextArgument();
    const std::string expression = runner.TextArgument();
    const std::string search = runner.TextArgument();
    const std::string replacement = runner.TextArgument();
    runner.Strings().Set(
        name, SymbolicCall("subst(" + expression + "," + search + "," + replacement + ")"));
}

bool ValueAt(expr::TParser& parser, Real x, Real y, Real& value) {
    parser.X() = x;
    parser.Y() = y;
    try {
        value = parser.Value();
        return true;
    } catch (const expr::EMathError&) {
        return false;
    }
}

// A partial derivative: the library's answer compiled into `parser`, or, when that
// does not compile, the forward difference of f.
plot::Drawing::Function2 PartialDerivative(expr::TParser& parser, expr::TParser& f,
                                           const std::string& request, bool alongX) {
    bool compiled = true;
    try {
        parser.SetExpression(SymbolicCall(request));
    } catch (const expr::EMathParserError&) {
        compiled = false;
    }
    if (parser.Expression().empty()) compiled = false;
    if (compiled) {
        return [&parser](Real x, Real y, Real& value) { return ValueAt(parser, x, y, value); };
    }
    return [&f, alongX](Real x, Real y, Real& value) {
        constexpr Real h = 0.00001L;
        Real here, there;
        if (!ValueAt(f, x, y, here)) return false;
        if (!ValueAt(f, alongX ? x + h : x, alongX ? y : y + h, there)) return false;
        value = (there - here) * 100000;
        return true;
    };
}

// impliciet3(f(x,y);x0;y0;step;maxstep)
void ImplicitTrace(Runner& runner) {
    const std::string text = runner.Preprocess(runner.NextArgument());
    const Real x0 = runner.NumericArgument(), y0 = runner.NumericArgument();
    const Real step = runner.NumericArgument(), maxSteps = runner.NumericArgument();
    expr::TParser& f = runner.Parser(1);
    runner.CompileExpression(f, text);
    const auto fx = PartialDerivative(runner.Parser(2), f, "diff(" + text + ",x)", true);
    const auto fy = PartialDerivative(runner.Parser(3), f, "diff(" + text + ",y)", false);
    const auto function = [&f](Real x, Real y, Real& value) { return ValueAt(f, x, y, value); };
    runner.Draw().ImplicitTrace(function, fx, fy, x0, y0, step, maxSteps);
}

}  // namespace

void RegisterSymbolicCommands(Runner& runner) {
    runner.RegisterCommand("symb$", Symbolic);
    runner.RegisterCommand("diff$", Derivative);
    runner.RegisterCommand("diffn$", NthDerivative);
    runner.RegisterCommand("int$", Antiderivative);
    runner.RegisterCommand("subst$", Substitute);
    runner.RegisterCommand("impliciet3", ImplicitTrace);
}

}  // namespace engine
