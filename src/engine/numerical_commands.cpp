// The numerical commands: integraal, nulpunt, helling and iteratie on a function
// of x compiled into Parser1; the result goes to a variable of Parser1 .. Parser3.
#include <cmath>

#include "engine/runner.h"
#include "expr/numerical_methods.h"

namespace engine {

namespace {

// Compiles f(x) into Parser1 (after the numbers, which Parser1 evaluates too) and
// gives it as a function; a failing evaluation is reported with the text of f.
expr::RealFunction FunctionOfX(Runner& runner, const std::string& text) {
    expr::TParser& parser = runner.Parser(1);
    runner.CompileExpression(parser, runner.Preprocess(text));
    return [&runner, &parser, text](Real x) {
        parser.X() = x;
        return runner.EvaluateCompiled(parser, text);
    };
}

// integraal(f(x);a;b;tolerantie;methode;var uitkomst)
void Integral(Runner& runner) {
    const std::string function = runner.NextArgument();
    const Real a = runner.NumericArgument(), b = runner.NumericArgument();
    const Real tolerance = runner.NumericArgument();
    const std::string methodWord = runner.TextArgument();
    const std::string result = runner.TextArgument();
    const auto method = expr::IntegrationMethodNamed(methodWord);
    if (!method) {
        runner.EndRunWithMessage("Onbekende integratiemethode: " + methodWord +
                                 ". Kies trapezium, simpson, romberg, gauss of kronrod.");
        return;
    }
    const expr::RealFunction f = FunctionOfX(runner, function);
    runner.SetNumeric(result, expr::Integrate(*method, f, a, b, tolerance));
}

// nulpunt(f(x);xmin;xmax;start;tolerantie;var resultaat)
void Zero(Runner& runner) {
    const std::string function = runner.NextArgument();
    const Real xmin = runner.NumericArgument(), xmax = runner.NumericArgument();
    const Real start = runner.NumericArgument(), tolerance = runner.NumericArgument();
    const std::string result = runner.TextArgument();
    const expr::RealFunction f = FunctionOfX(runner, function);
    runner.SetNumeric(result, expr::FindZero(f, xmin, xmax, start, tolerance));
}

// helling(f(x);x;dx;var uitkomst)
void Slope(Runner& runner) {
    const std::string function = runner.NextArgument();
    const Real x = runner.NumericArgument(), dx = runner.NumericArgument();
    const std::string result = runner.TextArgument();
    const expr::RealFunction f = FunctionOfX(runner, function);
    runner.SetNumeric(result, expr::Slope(f, x, dx));
}

// iteratie(f(x);startwaarde;aantal;var resultaat)
void Iteration(Runner& runner) {
    const std::string function = runner.NextArgument();
    const Real start = runner.NumericArgument(), count = runner.NumericArgument();
    const std::string result = runner.TextArgument();
    const expr::RealFunction f = FunctionOfX(runner, function);
    runner.SetNumeric(result, expr::Iterate(f, start, count));
}

}  // namespace

void RegisterNumericalCommands(Runner& runner) {
    runner.RegisterCommand("integraal", Integral);
    runner.RegisterCommand("nulpunt", Zero);
    runner.RegisterCommand("helling", Slope);
    runner.RegisterCommand("iteratie", Iteration);
}

}  // namespace engine
