// Statements of the language: assignments.
#include "engine/runner.h"

namespace engine {

namespace {

// maak(variabele;waarde): the value is evaluated before the target is read.
void Assign(Runner& runner) {
    const std::string& targetLine = runner.NextArgument();
    const std::string& valueLine = runner.NextArgument();
    const Real value = runner.EvaluateNumeric(valueLine);
    runner.SetNumeric(runner.Preprocess(targetLine), value);
}

// maak$($var;tekst)
void AssignString(Runner& runner) {
    const std::string& name = runner.NextArgument();
    const std::string& text = runner.NextArgument();
    runner.Strings().Set(name, runner.Preprocess(text));
}

}  // namespace

void RegisterStatements(Runner& runner) {
    runner.RegisterCommand("maak", Assign);
    runner.RegisterCommand("maak$", AssignString);
}

}  // namespace engine
