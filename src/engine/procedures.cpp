// Procedures: proc, defproc, eindproc/endproc and local, with value and
// variable ("^") parameters bound through all four parsers.
#include "engine/runner.h"

namespace engine {

namespace {

// The index of the definition's name line, or 0 when there is none.
size_t FindDefinition(const Runner& runner, const std::string& name) {
    for (size_t i = runner.EndMarker() + 1; i + 1 < runner.LineCount(); ++i) {
        const std::string& line = runner.Line(i);
        if (line.empty()) break;
        if (line == "defproc" && runner.Line(i + 1) == name) return i + 1;
    }
    return 0;
}

Real ValueOrZero(Runner& runner, const std::string& name) {
    return runner.Parser(1).ReadVariable(name);
}

// proc(naam;argumenten...;#)
void Call(Runner& runner) {
    if (runner.EndMarker() == 0) {
        runner.EndRunWithMessage("eind niet gevonden");
        return;
    }
    if (runner.Calls().size() + 1 >= kMaxCallDepth) {
        runner.EndRunWithMessage("Het aantal geneste procedures is beperkt tot 100");
        return;
    }
    const std::string name = runner.NextArgument();
    const size_t definition = FindDefinition(runner, name);
    if (definition == 0) {
        runner.EndRunWithMessage("proc " + name + " niet gevonden.");
        return;
    }

    // Values first, all in the caller's context; then bind.
    struct Binding {
        BoundName bound;
        Real value;
    };
    std::vector<Binding> bindings;
    size_t actual = runner.Cursor();
    size_t formal = definition + 1;
    while (runner.Line(actual) != "#" && runner.Line(formal) != "#" &&
           actual < runner.LineCount() && formal < runner.LineCount()) {
        if (bindings.size() >= kMaxBoundNames) {
            runner.EndRunWithMessage(
                "Een procedure kan hoogstens 16 parameters en lokale "
                "variabelen hebben.");
            return;
        }
        const std::string& formalLine = runner.Line(formal);
        const std::string& actualLine = runner.Line(actual);
        if (!formalLine.empty() && formalLine.front() == '^') {
            const std::string formalName = formalLine.substr(1);
            const std::string callerVariable = runner.Preprocess(actualLine);
            if (callerVariable != formalName) {
                bindings.push_back(
                    {{formalName, 0, 'v', callerVariable}, ValueOrZero(runner, callerVariable)});
            }
        } else {
            bindings.push_back({{formalLine, 0, 'w', {}}, runner.NumericLine(actual)});
        }
        ++actual;
        ++formal;
    }
    // Return to the call's closing "#", also when it has more arguments than the
    // definition has parameters.
    while (actual < runner.LineCount() && runner.Line(actual) != "#") ++actual;
    while (formal < runner.LineCount() && runner.Line(formal) != "#") ++formal;

    CallRecord record;
    record.returnIndex = actual;
    for (auto& binding : bindings) {
        binding.bound.saved = ValueOrZero(runner, binding.bound.name);
        runner.SetNumericAll(binding.bound.name, binding.value);
        record.names.push_back(std::move(binding.bound));
    }
    runner.Calls().push_back(std::move(record));
    runner.SetCursor(formal + 1);
}

// local(namen...;#): numeric variables that the procedure's end restores.
void Local(Runner& runner) {
    while (runner.Cursor() < runner.LineCount() && runner.Line(runner.Cursor()) != "#") {
        const std::string name = runner.TextArgument();
        if (runner.Calls().empty()) continue;  // outside a procedure: nothing to restore
        auto& names = runner.Calls().back().names;
        if (names.size() >= kMaxBoundNames) {
            runner.EndRunWithMessage(
                "Een procedure kan hoogstens 16 parameters en lokale "
                "variabelen hebben.");
            return;
        }
        names.push_back({name, ValueOrZero(runner, name), 'l', {}});
        runner.SyncParsers();  // only Parser1 gets the 0
        runner.Parser(1).AssignVariable(name, 0);
    }
    runner.NextArgument();  // the closing "#"
}

// eindproc / endproc
void Return(Runner& runner) {
    if (runner.Calls().empty()) {
        runner.EndRunWithMessage("eindproc zonder aanroep met proc");
        return;
    }
    CallRecord record = std::move(runner.Calls().back());
    runner.Calls().pop_back();
    std::vector<Real> finals;
    finals.reserve(record.names.size());
    for (const auto& bound : record.names) finals.push_back(ValueOrZero(runner, bound.name));
    // Latest binding first, so a local that shadows a parameter restores correctly.
    for (auto it = record.names.rbegin(); it != record.names.rend(); ++it) {
        runner.SetNumericAll(it->name, it->saved);
    }
    for (size_t i = 0; i < record.names.size(); ++i) {
        if (record.names[i].kind == 'v') {
            runner.SetNumericAll(record.names[i].callerVariable, finals[i]);
        }
    }
    runner.SetCursor(record.returnIndex);
}

}  // namespace

void RegisterProcedures(Runner& runner) {
    runner.RegisterCommand("proc", Call);
    runner.RegisterCommand("local", Local);
    runner.RegisterCommand("eindproc", Return);
    runner.RegisterCommand("endproc", Return);
}

}  // namespace engine
