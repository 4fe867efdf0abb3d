// Runner: runs a compiled program line by line and then draws the axes and the
// graphs of F, G, H and I. Owns the value stores that live from run to run.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "bigint/integer.h"
#include "engine/compiler.h"
#include "engine/host.h"
#include "engine/picture_saves.h"
#include "engine/plot_settings.h"
#include "engine/pointer_state.h"
#include "engine/program_interface.h"
#include "engine/string_store.h"
#include "engine/text_output.h"
#include "expr/compiled_expression.h"
#include "expr/function_library.h"
#include "expr/list_store.h"
#include "expr/parser.h"
#include "plot/axes.h"
#include "plot/drawing.h"
#include "plot/picture_slots.h"
#include "plot/plot_surface.h"
#include "plot/snapshot.h"

namespace engine {

using expr::Real;

class Runner;

enum class LoopKind { Counted, List, Animation };

// One open for/met/film/voorelke loop.
struct LoopRecord {
    LoopKind kind = LoopKind::Counted;
    std::string variable;
    std::array<Real*, 3> cells{};  // the variable in Parser1 .. Parser3
    uint64_t copyEpoch = ~0ULL;    // see Runner::StoreNumeric
    Real lastWritten = 0;
    size_t bodyStart = 0;
    Real end = 0;
    Real step = 0;
    // Counted loops keep what a pass needs in formats that are cheap to load:
    // the sign of the step, the end as a double where one holds it, and, while
    // start and step are whole numbers and the values stay far below 2^63, the
    // value, step and end as integers: such a pass adds, compares and writes the
    // variable's 80 bits in integer registers, each value exact.
    int direction = 0;
    bool narrowEnd = false;
    double endAsDouble = 0;
    bool counting = false;
    int64_t count = 0, countStep = 0;
    int64_t countEnd = 0;  // the last value a pass may take

    // Sets start (written to the variable), end and step of a counted loop.
    void SetRange(Real start, Real endValue, Real stepValue);
    std::string remaining;  // list loops: the values not used yet
    bool hasRemaining = false;
};

// A name bound by a procedure call: parameter (w value, v variable) or local (l).
struct BoundName {
    std::string name;
    Real saved = 0;
    char kind = 'w';
    std::string callerVariable;
};

struct CallRecord {
    size_t returnIndex = 0;
    std::vector<BoundName> names;
};

// Limits of the run-time tables.
inline constexpr size_t kMaxOpenLoops = 20;
inline constexpr size_t kMaxOpenRepeats = 100;
inline constexpr size_t kMaxBoundNames = 16;
inline constexpr size_t kMaxCallDepth = 100;

// A command handler reads its argument lines at the cursor and advances past them.
using CommandHandler = void (*)(Runner& runner);

inline constexpr const char* kErrorCaption = "Oeps";
inline constexpr const char* kGeneralRunError =
    "Hier heb ik het moeilijk mee! Controleer even of alles wel klopt.";

class Runner {
public:
    Runner(Host& host, plot::TPlotSurface& surface);
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // The value stores, kept between runs. Parser2 and Parser3 are brought up to
    // date with Parser1 first (see StoreNumeric).
    expr::TParser& Parser(int number);  // 1 .. 4
    StringStore& Strings() { return strings_; }
    // Register "#a" .. "#z"; `letter` without regard to case.
    bigint::TInteger& Register(char letter);
    PlotSettings& Settings() { return settings_; }
    CompiledProgram& Program() { return program_; }
    // Setting lines applied as if they stood after the program's own.
    std::vector<std::string>& ExtraSettingLines() { return extraSettingLines_; }
    plot::TPlotSurface& Surface() { return surface_; }
    // The figures of drawing commands, on the surface and in the eepic and PDF outputs.
    plot::Drawing& Draw() { return drawing_; }
    expr::ListStore& Lists() { return lists_; }
    // The axes as the settings ask for them.
    plot::AxesOptions AxesOptions() const;
    Host& GetHost() { return host_; }
    // Sliders, text fields, selection box and "Verder" button, kept from run to run.
    ProgramInterface& Interface() { return interface_; }
    plot::PictureSlots& Pictures() { return pictures_; }
    // Folder of the program file, where pictures are looked for too.
    const std::string& ProgramFolder() const { return programFolder_; }
    void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
    plot::Font& WindowFont() { return windowFont_; }
    // The mouse as the window reports it, for the free points; kept between runs.
    PointerState& Pointer() { return pointer_; }
    TextPanel& Panel() { return panel_; }
    OutputWindow& Output() { return output_; }

    // "Weer Tekenen": one complete picture. Ignored while a run is in progress or paused.
    void Run();
    bool Running() const { return running_; }
    bool Paused() const { return paused_; }
    // True when the last run ended with an error message.
    bool LastRunFailed() const { return failed_; }
    // The compiled line of the statement that was running when the last run failed;
    // empty when the failure was not in a statement (settings, F..I).
    std::optional<size_t> FailedStatement() const { return failedStatement_; }
    // Runs the program once more with the eepic or PDF output on and writes the
    // file; false when it cannot be written. The picture on the surface is that
    // of the export run.
    bool ExportEepic(const std::string& path);
    bool ExportPdf(const std::string& path);
    // The same for a TikZ picture, an Enhanced Metafile recorded at `scale` (1 or 2)
    // times the picture's size, and an SVG picture.
    bool ExportTikz(const std::string& path);
    bool ExportMetafile(const std::string& path, int scale);
    bool ExportSvg(const std::string& path);
    void RequestStop() { stopRequest_ = true; }
    bool StopRequested() const { return stopRequest_; }

    // --- For command handlers ---
    size_t Cursor() const { return cursor_; }
    void SetCursor(size_t index) { cursor_ = index; }
    size_t LineCount() const { return program_.size(); }
    const std::string& Line(size_t index) const {
        static const std::string empty;
        return index < program_.size() ? program_[index] : empty;
    }
    // The line at the cursor; the cursor moves past it.
    const std::string& NextArgument();
    // Index of the first line "eind", 0 when there is none.
    size_t EndMarker() const { return endMarker_; }

    // Replaces a "$" argument by its string value and a "?" predicate by "1"/"0".
    std::string Preprocess(const std::string& text);
    // Preprocesses and evaluates with Parser1; reports and rethrows on failure.
    Real EvaluateNumeric(const std::string& text);
    // The next argument line as a number (EvaluateNumeric, compiled once per run
    // for lines that need no preprocessing).
    Real NumericArgument() { return NumericLine(cursor_++); }
    // Program line `index` as a number, the same way.
    Real NumericLine(size_t index);
    // The next argument line, preprocessed.
    std::string TextArgument() { return Preprocess(NextArgument()); }
    // Assigns to the variable named on program line `index` (Parser1 .. Parser3).
    void AssignNumericLine(size_t index, Real value);
    // Compiles `text` into `parser`, reporting a parse error with the expression.
    // An empty text is a parse error here.
    void CompileExpression(expr::TParser& parser, const std::string& text);
    // Evaluates what `parser` holds, reporting an evaluation error for `argument`.
    Real EvaluateCompiled(expr::TParser& parser, const std::string& argument);
    // Writes a numeric variable into Parser1, Parser2 and Parser3; returns its cells.
    std::array<Real*, 3> SetNumeric(const std::string& name, Real value);
    // Shows `text` and ends the run: the cursor moves past the last line.
    void EndRunWithMessage(const std::string& text);
    void EndRunWithMessage(const std::string& caption, const std::string& text);
    // Ends the run without a message, as the user asked.
    void EndRunQuietly();
    void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon);
    // The world rectangle at the start of the run.
    const plot::WorldBox& RunWorld() const { return runWorld_; }

    void RegisterCommand(const std::string& word, CommandHandler handler);

    // Run-time tables of the statements; emptied at the start of every run.
    std::vector<size_t>& RepeatStack() { return repeatStack_; }
    std::vector<LoopRecord>& Loops() { return loops_; }
    std::vector<CallRecord>& Calls() { return calls_; }
    // Where running goes on after a false als(...) whose condition is on
    // `conditionLine`, and after an anders reached from its true branch when the
    // line after it is `next`: past the matching anders or eindals.
    size_t AfterFalseCondition(size_t conditionLine) const;
    size_t AfterTrueBranch(size_t next) const;
    // The end of a pass of a counted loop: the next value, or false when the loop
    // has ended (it is then closed).
    bool StepCountedLoop(LoopRecord& record);
    // The fast part of StepCountedLoop, for a loop that counts in integers.
    enum class CountedStep { Next, Ended, NotCounting };
    CountedStep StepCounting(LoopRecord& record);
    // Starts the next pass of the loop whose variable now holds its next value.
    bool NextPass(const LoopRecord& record);
    // Lets the window process its events once per loop pass (setting "checking").
    void LoopYield(bool always) {
        if (always || (!loopYieldDone_ && settings_.checking)) {
            ProcessEvents();
            loopYieldDone_ = true;
        }
    }
    void ClearLoopYield() { loopYieldDone_ = false; }
    void MarkLoopYieldDone() { loopYieldDone_ = true; }
    // Processes pending events and picks up a stop request. Inline: loops call
    // it on every pass.
    void ProcessEvents() {
        if (host_.ProcessEventsAndTakeStopRequest()) stopRequest_ = true;
    }
    void SetPaused(bool paused) { paused_ = paused; }
    plot::Snapshot& SnapshotPicture() { return snapshot_; }
    // Writes into Parser1 .. Parser4.
    void SetNumericAll(const std::string& name, Real value);
    // Writes a value into the cells of a variable of Parser1 .. Parser3. Loops
    // store many values that only Parser1 reads, so Parser2 and Parser3 get
    // theirs when someone asks for those parsers; `epoch` remembers that the
    // copy is already due.
    void StoreNumeric(const std::array<Real*, 3>& cells, uint64_t& epoch, Real value) {
        *cells[0] = value;
        NoteNumericWrite(cells, epoch);
    }
    // The copying part of StoreNumeric, for a value written into cells[0] directly.
    void NoteNumericWrite(const std::array<Real*, 3>& cells, uint64_t& epoch) {
        if (epoch != copyEpoch_) {
            pendingCopies_.push_back(cells);
            epoch = copyEpoch_;
        }
    }
    // Brings Parser2 and Parser3 up to date; needed before writing Parser1 alone.
    void SyncParsers();

    // The numbered pictures of this run and the frames an animation records.
    PictureSaves& SavedPictures() { return pictureSaves_; }

private:
    struct LineCache;
    // One statement of a counted loop's body that the run does without handlers:
    // an assignment, a condition, the jump of an anders, the volgende.
    struct BodyStep {
        enum class Kind : uint8_t { Assign, If, Jump, LoopEnd };
        Kind kind = Kind::LoopEnd;
        size_t line = 0;              // the command word
        size_t valueLine = 0;         // the value of an assignment, the condition of an als
        size_t jump = 0;              // the step after a false condition or an anders
        LineCache* value = nullptr;   // of valueLine
        LineCache* target = nullptr;  // of an assignment's target line
    };
    // What a run learns about one program line, so that loops do not redo it.
    // Variable cells stay valid for the whole run: nothing releases variables then.
    struct LineCache {
        bool isEnd = false;
        bool isRepeat = false;     // "_"
        bool plain = false;        // needs no preprocessing
        bool listElement = false;  // an assignment target such as L1(n)
        CommandHandler handler = nullptr;
        std::shared_ptr<expr::CompiledExpression> compiled;
        uint64_t compiledGeneration = 0;
        std::array<Real*, 3> cells{};
        uint64_t copyEpoch = ~0ULL;
        // The first line of a counted loop's body, and its steps once the loop has
        // run there (none for a body that needs handlers).
        bool mayStartBody = false;
        bool bodyCompiled = false;
        std::shared_ptr<const std::vector<BodyStep>> body;
    };
    void ResolveLines();
    std::shared_ptr<const std::vector<BodyStep>> CompileLoopBody(size_t start);
    bool CompiledAndCurrent(const LineCache& cache) const {
        return cache.compiled != nullptr && cache.compiledGeneration == parsers_[0].Generation();
    }
    // Evaluates the compiled line `index` whose cache is `cache`.
    Real EvaluateCachedLine(const LineCache& cache, size_t index) {
        try {
            return cache.compiled->Evaluate();
        } catch (const expr::EMathError&) {
            ReportEvaluationError(index);
            throw;
        }
    }
    // Runs passes of the innermost loop through its body steps; returns the
    // command word run last. `bailed` tells that the step at the cursor needs its
    // handler (a line not compiled yet).
    size_t RunLoopBody(const std::vector<BodyStep>& steps, bool& bailed);
    Real NumericLineFirst(size_t index);
    void AssignNumericLineFirst(size_t index, Real value);
    void ReportEvaluationError(size_t index);

    bool PrepareRun();
    void ExecuteProgram();
    void DrawAxesUnrecorded();
    // The message for a metafile or SVG recording that grew too large to be saved.
    void ReportFullRecording();
    void AssignListElement(const std::string& target, Real value);
    void DrawFunctionGraphs();
    void ResetDrawingObjects();
    std::string EvaluatePredicate(const std::string& text);
    bigint::TInteger& RegisterOperand(const std::string& operand);

    Host& host_;
    plot::TPlotSurface& surface_;
    plot::Drawing drawing_;
    expr::ListStore lists_;
    expr::FunctionContext functionContext_;  // before the parsers, which point at it
    std::array<expr::TParser, 4> parsers_;
    StringStore strings_;
    std::array<bigint::TInteger, 26> registers_;
    PlotSettings settings_;
    CompiledProgram program_;
    std::vector<std::string> extraSettingLines_;
    std::unordered_map<std::string, CommandHandler> commands_;
    std::vector<LineCache> lineCache_;
    ProgramInterface interface_;
    plot::PictureSlots pictures_;
    std::string programFolder_;
    TextPanel panel_;
    OutputWindow output_;
    plot::Snapshot snapshot_;
    std::vector<size_t> repeatStack_;
    std::vector<LoopRecord> loops_;
    std::vector<CallRecord> calls_;
    bool loopYieldDone_ = false;
    std::vector<std::array<Real*, 3>> pendingCopies_;
    uint64_t copyEpoch_ = 0;
    plot::Font windowFont_;
    PointerState pointer_;
    plot::WorldBox runWorld_;
    PictureSaves pictureSaves_;

    size_t cursor_ = 0;
    size_t statement_ = 0;  // the line of the command word being run
    std::optional<size_t> failedStatement_;
    size_t endMarker_ = 0;
    bool running_ = false;
    bool paused_ = false;
    bool stopRequest_ = false;
    bool expressionErrorShown_ = false;
    bool evaluationErrorShown_ = false;
    bool failed_ = false;
};

// Registers the statements of the language (assignments, control flow, ...).
void RegisterStatements(Runner& runner);
void RegisterProcedures(Runner& runner);
void RegisterStringCommands(Runner& runner);
void RegisterTextOutput(Runner& runner);
void RegisterDrawingCommands(Runner& runner);
void RegisterBigIntCommands(Runner& runner);
void RegisterNumericalCommands(Runner& runner);
void RegisterSymbolicCommands(Runner& runner);
void RegisterInteractiveCommands(Runner& runner);
void RegisterAnalysisCommands(Runner& runner);
// The 3D view and figures, and (through it) the geometric constructions.
void RegisterSpaceCommands(Runner& runner);
void RegisterConstructionCommands(Runner& runner);

// After a slider moved (or a program took one over): the variables the sliders
// drive, a and b of F..I for the others, and the labels.
void UpdateSliderValues(Runner& runner);
void RegisterGifCommands(Runner& runner);
void RegisterPictureCommands(Runner& runner);

// Asks the symbolic library; the answer (or its error text) as it came, at most 999
// characters.
std::string SymbolicCall(const std::string& request);

}  // namespace engine
