// Statements of the language: assignments, conditionals, loops, pauses, snapshots.
#include <cmath>

#include "engine/runner.h"
#include "expr/number_format.h"

namespace engine {

namespace {

constexpr const char* kLoopCaption = "foutje";

// --- Assignments ---

// maak(variabele;waarde): the value is evaluated before the target is read.
void Assign(Runner& runner) {
    const size_t target = runner.Cursor();
    runner.SetCursor(target + 1);
    runner.AssignNumericLine(target, runner.NumericArgument());
}

// inc(variabele;getal): the amount is a plain decimal number, not an expression.
void Increment(Runner& runner) {
    const std::string name = runner.TextArgument();
    const std::string& amountLine = runner.NextArgument();
    long double amount = 0;
    if (!expr::ParseFixedNumber(amountLine, amount)) {
        throw ConversionError("'" + amountLine + "' is geen getal");
    }
    runner.SetNumeric(name, runner.Parser(1).ReadVariable(name) + amount);
}

// --- Conditionals ---

// als(voorwaarde): when false, skip to after the matching anders or eindals.
void If(Runner& runner) {
    const size_t conditionLine = runner.Cursor();
    if (runner.NumericArgument() == 0) runner.SetCursor(runner.AfterFalseCondition(conditionLine));
}

// anders: the true branch ends here; skip to after the matching eindals.
void Else(Runner& runner) {
    runner.SetCursor(runner.AfterTrueBranch(runner.Cursor()));
}

// --- herhaal ... totdat ---

void Repeat(Runner& runner) {
    if (runner.RepeatStack().size() >= kMaxOpenRepeats) {
        runner.EndRunWithMessage("Er kunnen hoogstens 100 herhaal-lussen tegelijk open zijn.");
        return;
    }
    runner.RepeatStack().push_back(runner.Cursor());
    runner.ClearLoopYield();
}

void Until(Runner& runner) {
    if (runner.RepeatStack().empty()) {
        runner.EndRunWithMessage("totdat zonder herhaal");
        return;
    }
    runner.LoopYield(false);
    const Real condition = runner.NumericArgument();
    if (condition == 0 && !runner.StopRequested()) {
        runner.SetCursor(runner.RepeatStack().back());
        runner.ClearLoopYield();
    } else {
        runner.RepeatStack().pop_back();
    }
}

// --- Loops ---

bool OpenLoop(Runner& runner, LoopRecord record) {
    if (runner.Loops().size() >= kMaxOpenLoops) {
        runner.EndRunWithMessage("Er kunnen hoogstens 20 lussen tegelijk open zijn.");
        return false;
    }
    runner.Loops().push_back(std::move(record));
    runner.ClearLoopYield();
    return true;
}

void CountedLoop(Runner& runner, LoopKind kind) {
    LoopRecord record;
    record.kind = kind;
    record.variable = runner.TextArgument();
    const Real start = runner.NumericArgument();
    record.cells = runner.SetNumeric(record.variable, start);
    const Real end = runner.NumericArgument();
    record.SetRange(start, end, runner.NumericArgument());
    record.bodyStart = runner.Cursor();
    if (kind == LoopKind::Animation) runner.SnapshotPicture().Take(runner.Surface());
    OpenLoop(runner, std::move(record));
}

void For(Runner& runner) {
    CountedLoop(runner, LoopKind::Counted);
}
void Film(Runner& runner) {
    CountedLoop(runner, LoopKind::Animation);
}

// Moves the cursor past the volgende/next that closes the loop starting here.
void SkipLoopBody(Runner& runner) {
    int depth = 1;
    for (size_t i = runner.Cursor(); i < runner.LineCount(); ++i) {
        const std::string& line = runner.Line(i);
        if (line == "for" || line == "met" || line == "film" || line == "voorelke") ++depth;
        if ((line == "volgende" || line == "next") && --depth == 0) {
            runner.SetCursor(i + 1);
            return;
        }
    }
    runner.SetCursor(runner.LineCount());
}

// Takes the next value of a list loop and assigns it.
void TakeListValue(Runner& runner, LoopRecord& record) {
    const size_t comma = record.remaining.find(',');
    const std::string value = record.remaining.substr(0, comma);
    record.hasRemaining = comma != std::string::npos;
    record.remaining = record.hasRemaining ? record.remaining.substr(comma + 1) : "";
    record.cells = runner.SetNumeric(record.variable, runner.EvaluateNumeric(value));
}

// voorelke(variabele;waarde1,waarde2,...)
void ForEach(Runner& runner) {
    LoopRecord record;
    record.kind = LoopKind::List;
    record.variable = runner.TextArgument();
    const std::string& listLine = runner.NextArgument();
    record.remaining = runner.Preprocess(listLine);
    record.bodyStart = runner.Cursor();
    if (record.remaining.empty()) {
        runner.ShowMessage(kAppCaption, "Ongeldige expressie: " + listLine, MessageIcon::None);
        SkipLoopBody(runner);
        return;
    }
    if (!OpenLoop(runner, record)) return;
    TakeListValue(runner, runner.Loops().back());
}

// volgende / next: end of the innermost loop's body.
void Next(Runner& runner) {
    if (runner.Loops().empty()) {
        runner.EndRunWithMessage("volgende zonder for, met, film of voorelke");
        return;
    }
    LoopRecord& record = runner.Loops().back();
    if (record.kind == LoopKind::Animation) runner.SavedPictures().FilmPassEnded(runner.Surface());
    runner.LoopYield(record.kind == LoopKind::Animation);
    if (runner.StopRequested()) {
        runner.Loops().pop_back();
        return;
    }
    if (record.kind == LoopKind::List) {
        if (!record.hasRemaining) {
            runner.Loops().pop_back();
            return;
        }
        runner.SetCursor(record.bodyStart);
        runner.ClearLoopYield();
        TakeListValue(runner, record);
        return;
    }
    runner.StepCountedLoop(record);
}

// --- Pauses and snapshots ---

// pauze(milliseconden)
void Pause(Runner& runner) {
    const Real milliseconds = runner.NumericArgument();
    if (!(milliseconds >= 0)) return;
    runner.SetPaused(true);
    runner.ProcessEvents();
    runner.GetHost().Sleep(static_cast<int>(std::min(std::nearbyint(milliseconds), 2.0e9L)));
    runner.ProcessEvents();
    runner.SetPaused(false);
    runner.MarkLoopYieldDone();
    // A loop ends at its own end on a stop request; outside loops (procedures that
    // recurse and pause) no loop end would ever see it, so the run ends here.
    if (runner.StopRequested() && runner.Loops().empty() && runner.RepeatStack().empty()) {
        runner.EndRunQuietly();
    }
}

void TakeSnapshot(Runner& runner) {
    runner.SnapshotPicture().Take(runner.Surface());
}

void ShowSnapshot(Runner& runner) {
    runner.SnapshotPicture().ShowOn(runner.Surface());
    runner.ProcessEvents();
    runner.MarkLoopYieldDone();
}

}  // namespace

void RegisterStatements(Runner& runner) {
    runner.RegisterCommand("maak", Assign);
    runner.RegisterCommand("inc", Increment);
    runner.RegisterCommand("als", If);
    runner.RegisterCommand("anders", Else);
    runner.RegisterCommand("herhaal", Repeat);
    runner.RegisterCommand("totdat", Until);
    runner.RegisterCommand("for", For);
    runner.RegisterCommand("met", For);
    runner.RegisterCommand("film", Film);
    runner.RegisterCommand("voorelke", ForEach);
    runner.RegisterCommand("volgende", Next);
    runner.RegisterCommand("next", Next);
    runner.RegisterCommand("pauze", Pause);
    runner.RegisterCommand("snapshot", TakeSnapshot);
    runner.RegisterCommand("toonsnapshot", ShowSnapshot);
}

}  // namespace engine
