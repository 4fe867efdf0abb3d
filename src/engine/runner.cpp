// The run of a program: settings, world, axes, the line loop, then F..I.
#include "engine/runner.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "engine/run_limits.h"
#include "engine/string_commands.h"
#include "export/output_limit.h"
#include "expr/compiled_expression.h"
#include "expr/number_format.h"
#include "plot/axes.h"

namespace engine {

namespace {

constexpr const char* kParseErrorCause =
    "De oorzaak kan deze uitdrukking zelf zijn, maar ook een fout in een voorafgaande "
    "programmaregel.";

// A range box also takes the Dutch decimal comma: "-2,5" is -2.5.
Real ReadRange(std::string text) {
    if (text.find('.') == std::string::npos && std::count(text.begin(), text.end(), ',') == 1) {
        text[text.find(',')] = '.';
    }
    long double value = 0;
    if (!expr::ParseFixedNumber(text, value)) {
        throw ConversionError("'" + text + "' is geen geldig getal");
    }
    return value;
}

// An empty or reversed range would draw nothing at all; say which one it is.
void CheckRange(const char* low, Real lowValue, const char* high, Real highValue) {
    if (lowValue < highValue) return;
    throw RangeError(std::string(low) + " (" + expr::FormatGeneral(lowValue, 15) +
                     ") moet kleiner zijn dan " + high + " (" + expr::FormatGeneral(highValue, 15) +
                     "). Pas het venster aan.");
}

std::string WithoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

Runner::Runner(Host& host, plot::TPlotSurface& surface)
    : host_(host), surface_(surface), drawing_(surface) {
    functionContext_.lists = &lists_;
    functionContext_.showMessage = [this](const std::string& text) {
        ShowMessage(kAppCaption, text, MessageIcon::None);
    };
    for (size_t i = 0; i < parsers_.size(); ++i) {
        expr::RegisterExtraFunctions(parsers_[i], static_cast<int>(i + 1), functionContext_);
    }
    for (auto& parser : parsers_) {
        parser.AssignVariable("muisx", 0);
        parser.AssignVariable("muisy", 0);
        parser.AssignVariable("_toetscode", 0);
    }
    parsers_[3].AssignVariable("a", 0);
    parsers_[3].AssignVariable("b", 0);
    RegisterStatements(*this);
    RegisterProcedures(*this);
    RegisterStringCommands(*this);
    RegisterTextOutput(*this);
    RegisterDrawingCommands(*this);
    RegisterBigIntCommands(*this);
    RegisterNumericalCommands(*this);
    RegisterSymbolicCommands(*this);
    RegisterInteractiveCommands(*this);
    RegisterGifCommands(*this);
    RegisterAnalysisCommands(*this);
    RegisterSpaceCommands(*this);
    RegisterPictureCommands(*this);
}

expr::TParser& Runner::Parser(int number) {
    if (number == 2 || number == 3) SyncParsers();
    return parsers_.at(static_cast<size_t>(number - 1));
}

void Runner::SyncParsers() {
    if (pendingCopies_.empty()) return;
    for (const auto& cells : pendingCopies_) *cells[1] = *cells[2] = *cells[0];
    pendingCopies_.clear();
    ++copyEpoch_;
}

bigint::TInteger& Runner::Register(char letter) {
    const int index = std::tolower(static_cast<unsigned char>(letter)) - 'a';
    if (index < 0 || index >= 26) {
        throw std::runtime_error(std::string("Onbekend register #") + letter);
    }
    return registers_[static_cast<size_t>(index)];
}

const std::string& Runner::NextArgument() {
    return Line(cursor_++);
}

void Runner::RegisterCommand(const std::string& word, CommandHandler handler) {
    commands_[word] = handler;
}

void Runner::ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
    host_.ShowMessage(caption, text, icon);
}

void Runner::EndRunWithMessage(const std::string& text) {
    EndRunWithMessage(kAppCaption, text);
}

void Runner::EndRunWithMessage(const std::string& caption, const std::string& text) {
    ShowMessage(caption, text, MessageIcon::None);
    failed_ = true;
    failedStatement_ = statement_;
    cursor_ = program_.size();
}

void Runner::EndRunQuietly() {
    cursor_ = program_.size();
}

std::array<Real*, 3> Runner::SetNumeric(const std::string& name, Real value) {
    SyncParsers();  // a pending copy must not overwrite this value later
    std::array<Real*, 3> cells{};
    for (size_t i = 0; i < 3; ++i) cells[i] = parsers_[i].AssignVariable(name, value);
    return cells;
}

void Runner::AssignNumericLine(size_t index, Real value) {
    // Loops come here with the cells known: one test and the store.
    if (index < lineCache_.size()) [[likely]] {
        LineCache& cache = lineCache_[index];
        if (cache.cells[0] != nullptr) [[likely]] {
            StoreNumeric(cache.cells, cache.copyEpoch, value);
            return;
        }
    }
    AssignNumericLineFirst(index, value);
}

// The first assignment of a run through line `index` finds the cells, or
// handles a list element or preprocessed target every time.
[[gnu::noinline]] void Runner::AssignNumericLineFirst(size_t index, Real value) {
    if (index >= lineCache_.size() || !lineCache_[index].plain) {
        const std::string target = Preprocess(Line(index));
        if (target.find('(') != std::string::npos) {
            AssignListElement(target, value);
        } else {
            SetNumeric(target, value);
        }
        return;
    }
    if (lineCache_[index].listElement) {
        AssignListElement(program_[index], value);
        return;
    }
    LineCache& cache = lineCache_[index];
    if (cache.cells[0] == nullptr) {
        cache.cells = SetNumeric(program_[index], value);
        return;
    }
    StoreNumeric(cache.cells, cache.copyEpoch, value);
}

// Lk(i):=value. Errors are reported and the program goes on.
void Runner::AssignListElement(const std::string& target, Real value) {
    const size_t open = target.find('(');
    const size_t close = target.find(')', open);
    const std::string name = target.substr(0, open);
    const std::string indexText =
        target.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    const Real index = std::trunc(EvaluateNumeric(indexText));
    const bool inRange = index >= 1 && index <= expr::ListStore::kSize;
    if (inRange && !name.empty() && name[0] == 'L') {
        // The second character chooses the list.
        if (name.size() >= 2 && name[1] >= '1' && name[1] <= '0' + expr::ListStore::kLists) {
            lists_.Set(name[1] - '0', static_cast<long long>(index), value);
        } else {
            ShowMessage(kAppCaption, "Ongeldige lijst: L" + name.substr(1, 1), MessageIcon::None);
        }
        return;
    }
    ShowMessage(kAppCaption,
                "Ongeldige index: " + expr::FormatGeneral(index, 15) +
                    " of ongeldige lijst: " + name.substr(0, 1),
                MessageIcon::None);
}

void Runner::SetNumericAll(const std::string& name, Real value) {
    SyncParsers();
    for (auto& parser : parsers_) parser.AssignVariable(name, value);
}

// --- Arguments ---

std::string Runner::Preprocess(const std::string& text) {
    if (text.empty()) return text;
    if (text.front() == '?') return EvaluatePredicate(text);
    if (text.front() == '$') {
        if (Contains(text, "$gelijk$") || Contains(text, "$equivalent$")) {
            return EvaluatePredicate(text);
        }
        return strings_.Get(text);
    }
    return text;
}

bigint::TInteger& Runner::RegisterOperand(const std::string& operand) {
    const size_t hash = operand.find('#');
    if (hash == std::string::npos || hash + 1 >= operand.size()) {
        throw std::runtime_error("Geen register: " + operand);
    }
    return Register(operand[hash + 1]);
}

std::string Runner::EvaluatePredicate(const std::string& text) {
    const size_t open = text.find('(');
    const size_t close = text.rfind(')');
    const std::string inside =
        open != std::string::npos && close != std::string::npos && close > open
            ? text.substr(open + 1, close - open - 1)
            : std::string();
    const size_t comma = inside.find(',');
    const std::string first = inside.substr(0, comma);
    const std::string second = comma == std::string::npos ? "" : inside.substr(comma + 1);

    if (Contains(text, "?ispriem#")) {
        // Thousands of digits take long: Escape must still end the run.
        const auto keepGoing = [this] {
            ProcessEvents();
            return !StopRequested();
        };
        return RegisterOperand(first).IsProbablePrime(keepGoing) ? "1" : "0";
    }
    if (Contains(text, "?isoneven#")) return RegisterOperand(first).IsOdd() ? "1" : "0";
    if (Contains(text, "?ispositief#")) return RegisterOperand(first).Sign() > 0 ? "1" : "0";
    if (Contains(text, "gelijk$")) return EqualTextPredicate(*this, text);
    if (Contains(text, "equivalent$")) return EquivalentPredicate(*this, text);
    const bool equal = Contains(text, "?gelijk#");
    const bool greater = Contains(text, "?groter#");
    const bool less = Contains(text, "?kleiner#");
    const bool lessEqual = Contains(text, "?kleinergelijk#");
    const bool greaterEqual = Contains(text, "?grotergelijk#");
    if (equal || greater || less || lessEqual || greaterEqual) {
        const bigint::TInteger& left = RegisterOperand(first);
        bigint::TInteger right;
        if (!second.empty() && second.front() == '#') {
            right = RegisterOperand(second);
        } else {
            right.AssignText(Preprocess(second));
        }
        const int order = left.Compare(right);
        bool result;
        if (equal) {
            result = order == 0;
        } else if (greater) {
            result = order > 0;
        } else if (lessEqual) {
            result = order <= 0;
        } else if (less) {
            result = order < 0;
        } else {
            result = order >= 0;
        }
        return result ? "1" : "0";
    }
    return text;
}

void Runner::CompileExpression(expr::TParser& parser, const std::string& text) {
    try {
        // An empty argument is no number (the parser itself would give 0).
        if (text.empty()) throw expr::ESyntaxError("Error parsing expression:\r");
        parser.SetExpression(text);
    } catch (const expr::EMathParserError&) {
        std::string message = "Zorvat kan de uitdrukking: \n" + text + "\nniet verwerken.";
        if (&parser != &parsers_[3]) message += std::string("\n") + kParseErrorCause;
        ShowMessage(kErrorCaption, message, MessageIcon::Error);
        expressionErrorShown_ = true;
        throw;
    }
}

Real Runner::EvaluateCompiled(expr::TParser& parser, const std::string& argument) {
    try {
        return parser.Value();
    } catch (const expr::EMathError&) {
        ShowMessage(kErrorCaption, "Fout bij de evaluatie van " + argument, MessageIcon::Error);
        evaluationErrorShown_ = true;
        throw;
    }
}

Real Runner::EvaluateNumeric(const std::string& text) {
    CompileExpression(parsers_[0], Preprocess(text));
    return EvaluateCompiled(parsers_[0], text);
}

Real Runner::NumericLine(size_t index) {
    // Loops come here with the line compiled: two tests and the evaluation.
    if (index < lineCache_.size()) [[likely]] {
        const LineCache& cache = lineCache_[index];
        if (CompiledAndCurrent(cache)) [[likely]] {
            return EvaluateCachedLine(cache, index);
        }
    }
    return NumericLineFirst(index);
}

[[gnu::noinline, gnu::cold]] void Runner::ReportEvaluationError(size_t index) {
    ShowMessage(kErrorCaption, "Fout bij de evaluatie van " + Line(index), MessageIcon::Error);
    evaluationErrorShown_ = true;
}

// Compiles line `index` for the rest of the run (when it needs no
// preprocessing) and evaluates it.
[[gnu::noinline]] Real Runner::NumericLineFirst(size_t index) {
    if (index >= lineCache_.size() || !lineCache_[index].plain) return EvaluateNumeric(Line(index));
    const std::string& text = program_[index];
    LineCache& cache = lineCache_[index];
    expr::TParser& parser = parsers_[0];
    try {
        cache.compiled = parser.Compile(text);
        cache.compiledGeneration = parser.Generation();
    } catch (const expr::EMathParserError&) {
        CompileExpression(parser, text);  // reports it
        throw;
    }
    try {
        return cache.compiled->Evaluate();
    } catch (const expr::EMathError&) {
        ReportEvaluationError(index);
        throw;
    }
}

// --- The run ---

bool Runner::PrepareRun() {
    try {
        std::vector<std::string> settingLines = program_;
        settingLines.insert(settingLines.end(), extraSettingLines_.begin(),
                            extraSettingLines_.end());
        ApplyProgramSettings(settingLines, settings_);
        const Real xmin = ReadRange(settings_.xmin), xmax = ReadRange(settings_.xmax);
        const Real ymin = ReadRange(settings_.ymin), ymax = ReadRange(settings_.ymax);
        CheckRange("xmin", xmin, "xmax", xmax);
        CheckRange("ymin", ymin, "ymax", ymax);
        SetNumeric("xmax", xmax);
        SetNumeric("xmin", xmin);
        SetNumeric("ymax", ymax);
        SetNumeric("ymin", ymin);
        surface_.SetWorld(xmin, ymin, xmax, ymax);
    } catch (const RangeError& error) {
        ShowMessage(kErrorCaption, error.what(), MessageIcon::Error);
        return false;
    } catch (const std::exception&) {
        ShowMessage(kErrorCaption, kGeneralRunError, MessageIcon::Error);
        return false;
    }
    return true;
}

void Runner::Run() {
    if (paused_ || running_) return;
    failed_ = false;
    failedStatement_.reset();
    if (!PrepareRun()) {
        failed_ = true;
        return;
    }
    runWorld_ = plot::WorldBox::Of(surface_);
    ResetDrawingObjects();
    surface_.SetClipToWorld(false);
    surface_.Clear();
    DrawAxesUnrecorded();
    surface_.Clear();

    running_ = true;
    expressionErrorShown_ = false;
    evaluationErrorShown_ = false;
    try {
        ExecuteProgram();
    } catch (const std::length_error& error) {
        // A run limit: the program held or wrote too much; its message says what.
        SyncParsers();
        const bool ours = dynamic_cast<const RunLimitError*>(&error) != nullptr ||
                          dynamic_cast<const exporter::EOutputTooLarge*>(&error) != nullptr;
        ShowMessage(kErrorCaption, ours ? error.what() : kGeneralRunError, MessageIcon::Error);
        failed_ = true;
        failedStatement_ = statement_;
        ResetDrawingObjects();
    } catch (...) {
        SyncParsers();
        if (!expressionErrorShown_ && !evaluationErrorShown_) {
            ShowMessage(kErrorCaption, kGeneralRunError, MessageIcon::Error);
        }
        failed_ = true;
        failedStatement_ = statement_;
        ResetDrawingObjects();
    }
    running_ = false;
    lineCache_.clear();
    // The sliders' a and b, also after an error, so F..I can use them; not when the
    // program took slider 1 over.
    if (interface_.trackBarParameters) {
        parsers_[3].AssignVariable("a", interface_.sliders[0].position / 10.0L);
        parsers_[3].AssignVariable("b", interface_.sliders[1].position / 10.0L);
    }

    try {
        plot::DrawPlotAxes(drawing_, AxesOptions());
        DrawFunctionGraphs();
        drawing_.ForEachText([](auto& out) { out.Add(out.LineWidth(1)); });
    } catch (const exporter::EOutputTooLarge& error) {
        // The picture text is full: the export fails, the screen keeps what it has.
        if (!failed_) ShowMessage(kErrorCaption, error.what(), MessageIcon::Error);
        failed_ = true;
    }
}

// The first axes of a run only leave the axis state (clip and margins) behind; the
// picture is cleared after them, so they must not reach a file either.
void Runner::DrawAxesUnrecorded() {
    const bool eepic = drawing_.EepicOn(), pdf = drawing_.PdfOn(), tikz = drawing_.TikzOn();
    drawing_.SetEepicOn(false);
    drawing_.SetPdfOn(false);
    drawing_.SetTikzOn(false);
    plot::DrawPlotAxes(drawing_, AxesOptions());
    drawing_.SetEepicOn(eepic);
    drawing_.SetPdfOn(pdf);
    drawing_.SetTikzOn(tikz);
}

bool Runner::ExportEepic(const std::string& path) {
    exporter::EepicWriter& eepic = drawing_.Eepic();
    drawing_.SetEepicOn(true);
    eepic.BeginPicture(surface_.D2WorldX1(), surface_.D2WorldY1(), surface_.D2WorldXW(),
                       surface_.D2WorldYW());
    Run();
    drawing_.SetEepicOn(false);
    try {
        eepic.EndPicture();
    } catch (const exporter::EOutputTooLarge&) {
        return false;
    }
    return eepic.SaveToFile(path);
}

bool Runner::ExportPdf(const std::string& path) {
    exporter::TPdf& pdf = drawing_.Pdf();
    drawing_.SetPdfOn(true);
    pdf.Clear();
    pdf.BeginDoc(surface_.Width(), surface_.Height(), surface_.D2WorldX1(),
                 surface_.D2WorldX1() + surface_.D2WorldXW(), surface_.D2WorldY1(),
                 surface_.D2WorldY1() + surface_.D2WorldYW());
    Run();
    drawing_.SetPdfOn(false);
    bool saved = false;
    try {
        pdf.EndDoc();
        saved = pdf.SaveToFile(path);
    } catch (const exporter::EOutputTooLarge&) {
        saved = false;
    }
    pdf.Clear();
    return saved;
}

// ---- TikZ, metafile and SVG: the same re-run with another output ----

bool Runner::ExportTikz(const std::string& path) {
    exporter::TikzWriter& tikz = drawing_.Tikz();
    drawing_.SetTikzOn(true);
    // As wide as the eepic picture, as high as the screen's proportions ask.
    constexpr Real kWidthMm = 50;
    tikz.BeginPicture(surface_.D2WorldX1(), surface_.D2WorldY1(), surface_.D2WorldXW(),
                      surface_.D2WorldYW(), kWidthMm,
                      kWidthMm * surface_.Height() / surface_.Width());
    Run();
    drawing_.SetTikzOn(false);
    try {
        tikz.EndPicture();
    } catch (const exporter::EOutputTooLarge&) {
        return false;
    }
    return tikz.SaveToFile(path);
}

void Runner::ReportFullRecording() {
    if (surface_.RecordingFull()) {
        ShowMessage(kErrorCaption, "De tekening wordt groter dan 1 GB en wordt niet opgeslagen.",
                    MessageIcon::Error);
    }
}

bool Runner::ExportMetafile(const std::string& path, int scale) {
    surface_.SetRecordMetafile(true, scale);
    Run();
    ReportFullRecording();
    const bool saved = surface_.SaveMetafile(path);
    surface_.SetRecordMetafile(false);
    return saved;
}

bool Runner::ExportSvg(const std::string& path) {
    surface_.SetRecordSvg(true);
    Run();
    ReportFullRecording();
    const bool saved = surface_.SaveSvg(path);
    surface_.SetRecordSvg(false);
    return saved;
}

void Runner::ExecuteProgram() {
    for (auto& parser : parsers_) parser.AssignVariable("_toetscode", 0);
    for (size_t i = 0; i < interface_.sliders.size(); ++i) {
        Slider& slider = interface_.sliders[i];
        if (slider.variable.empty()) {
            slider.label = std::string(i == 0 ? "a=" : "b=") +
                           expr::FormatGeneral(slider.position / 10.0L, 15);
        }
    }
    host_.TakeStopRequest();
    stopRequest_ = false;
    repeatStack_.clear();
    loops_.clear();
    calls_.clear();
    pictureSaves_.StartRun();
    loopYieldDone_ = false;
    surface_.GetBrush().style = plot::BrushStyle::Clear;
    drawing_.BeginRun(windowFont_.color);
    panel_.CutBackToFixedPart();

    endMarker_ = 0;
    if (const auto it = std::find(program_.begin(), program_.end(), "eind"); it != program_.end()) {
        endMarker_ = static_cast<size_t>(it - program_.begin());
    }
    ResolveLines();
    SyncParsers();
    bool havePrevious = false;
    size_t previous = 0;
    size_t handlerOnlyAt = program_.size();  // a body step that needs its handler
    cursor_ = 0;
    while (cursor_ < program_.size()) {
        const size_t index = cursor_++;
        statement_ = index;
        // "_" repeats the previous command word with the lines that follow as arguments.
        const size_t word = havePrevious && lineCache_[index].isRepeat ? previous : index;
        const LineCache& cache = lineCache_[word];
        const bool handlerOnly = index == handlerOnlyAt;
        handlerOnlyAt = program_.size();
        if (cache.mayStartBody && word == index && !handlerOnly && !loops_.empty() &&
            loops_.back().bodyStart == index && loops_.back().kind == LoopKind::Counted) {
            LineCache& start = lineCache_[index];
            if (!start.bodyCompiled) {
                start.body = CompileLoopBody(index);
                start.bodyCompiled = true;
            }
            if (start.body != nullptr) {
                bool bailed = false;
                previous = RunLoopBody(*start.body, bailed);
                if (bailed) handlerOnlyAt = cursor_;
                havePrevious = true;
                continue;
            }
        }
        if (cache.handler != nullptr) {
            cache.handler(*this);
        } else if (cache.isEnd) {
            cursor_ = program_.size();
        }
        previous = word;
        havePrevious = true;
    }
    SyncParsers();
    ResetDrawingObjects();
    if (drawing_.State().lineWidth > 1) {
        drawing_.ForEachText([](auto& out) { out.Add(out.LineWidth(1)); });
    }
}

void Runner::ResolveLines() {
    lineCache_.assign(program_.size(), LineCache{});
    for (size_t i = 0; i < program_.size(); ++i) {
        const std::string& line = program_[i];
        LineCache& cache = lineCache_[i];
        const auto it = commands_.find(line);
        cache.handler = it == commands_.end() ? nullptr : it->second;
        cache.isEnd = line == "eind";
        cache.isRepeat = line == "_";
        cache.plain = !line.empty() && line.front() != '$' && line.front() != '?';
        cache.listElement = line.find('(') != std::string::npos;
    }
    // A counted loop's body starts after the command word and its four arguments.
    for (size_t i = 0; i + 5 < program_.size(); ++i) {
        if (program_[i] == "for" || program_[i] == "met") lineCache_[i + 5].mayStartBody = true;
    }
}

void Runner::ResetDrawingObjects() {
    surface_.GetPen() = plot::Pen{};
    surface_.GetBrush() = plot::Brush{};
    surface_.GetFont() = windowFont_;
}

plot::AxesOptions Runner::AxesOptions() const {
    plot::AxesOptions options;
    options.placement = !settings_.placement                           ? plot::AxesPlacement::None
                        : *settings_.placement == AxesPlacement::Sides ? plot::AxesPlacement::Sides
                        : *settings_.placement == AxesPlacement::Middle
                            ? plot::AxesPlacement::Middle
                            : plot::AxesPlacement::None;
    options.grid = settings_.grid;
    options.ticks = settings_.ticks;
    options.numbers = settings_.numbers;
    options.axesColour = settings_.axesColour.Effective();
    options.gridColour = settings_.gridColour.Effective();
    options.axesWidth = settings_.axesWidth.Effective();
    options.xLabel = settings_.showXLabel ? settings_.xLabel : "";
    options.yLabel = settings_.showYLabel ? settings_.yLabel : "";
    return options;
}

void Runner::DrawFunctionGraphs() {
    expr::TParser& parser = parsers_[3];
    const auto f = [&parser](Real x, Real& y) {
        parser.X() = x;
        try {
            y = parser.Value();
            return true;
        } catch (const expr::EMathError&) {
            return false;  // a pole or a point outside the domain: a gap
        }
    };
    for (size_t i = 0; i < settings_.functions.size(); ++i) {
        try {
            plot::Pen& pen = surface_.GetPen();
            pen.color = settings_.graphColours[i];
            const int width = settings_.graphWidths[i];
            if (width != pen.width) {
                pen.width = width;
                drawing_.ForEachText(
                    [&](auto& out) { out.Add(out.LineWidth(std::min(width, 3))); });
            }
            const std::string text = WithoutBlanks(settings_.functions[i]);
            if (text.empty()) continue;
            CompileExpression(parser, text);
            drawing_.Graph(f);
        } catch (...) {
            if (!expressionErrorShown_) {
                ShowMessage(kErrorCaption, kGeneralRunError, MessageIcon::Error);
            }
            failed_ = true;
        }
    }
    surface_.GetPen() = plot::Pen{};
}

}  // namespace engine
