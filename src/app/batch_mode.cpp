// The headless modes of zorvat: run a program and write pictures, show the compiled
// program, evaluate one expression, ask the symbolic library.
#include "app/batch_mode.h"

#include <QFile>
#include <QGuiApplication>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "app/batch_host.h"
#include "bigint/big_calculator.h"
#include "bigint/factorisation.h"
#include "engine/compiler.h"
#include "engine/flipbook_export.h"
#include "engine/gif_export.h"
#include "engine/outside_factoring.h"
#include "engine/rtf_reader.h"
#include "engine/runner.h"
#include "engine/text_file.h"
#include "expr/function_library.h"
#include "expr/list_text.h"
#include "expr/number_format.h"
#include "expr/parser.h"
#include "plot/plot_surface.h"
#include "plot/snapshot.h"
#include "symbolic.h"

namespace app {

namespace {

constexpr const char* kUsage =
    "Gebruik:\n"
    "  zorvat --batch PROGRAMMA [opties]   voert PROGRAMMA uit zonder vensters\n"
    "                          (een presentatie, .rtf: eerst de tekst, dan het programma)\n"
    "      --size BxH          tekenvlak in pixels (standaard 400x400)\n"
    "      --prefs BESTAND     leest eerst de voorkeuren uit BESTAND\n"
    "      --set SLEUTEL=WAARDE  instelregel voor die van het programma (herhaalbaar)\n"
    "      --field NAAM=TEKST  vult invoerveld user1/user2/user3 of F/G/H/I\n"
    "      --slider N=POSITIE  zet schuifbalk 1 of 2 op POSITIE (-100..100)\n"
    "      --answer TEKST      antwoord op het volgende invoerdialoog$ (herhaalbaar;\n"
    "                          zonder antwoord is het Annuleren)\n"
    "      --mouse X,Y         muispositie in wereldcoordinaten (muisx, muisy)\n"
    "      --drag NAAM         sleept het vrije punt NAAM naar de muispositie\n"
    "      --png BESTAND       schrijft het plaatje na de uitvoering\n"
    "      --eepic BESTAND     voert opnieuw uit en schrijft het plaatje als eepic (LaTeX)\n"
    "      --pdf BESTAND       voert opnieuw uit en schrijft het plaatje als PDF\n"
    "      --save-prefs BESTAND  schrijft de voorkeuren na de uitvoering\n"
    "      --gif BESTAND       schrijft het plaatje na de uitvoering als GIF\n"
    "      --animate BESTAND.gif [--delay MS]  een beeld per doorgang van elke film-lus,\n"
    "                          samen een geanimeerde GIF (standaard 100 ms per beeld)\n"
    "      --lists BESTAND     vult L1..L6 vooraf uit BESTAND (per regel een element,\n"
    "                          kolommen L1..L6 gescheiden door tabs)\n"
    "      --dump-lists BESTAND  schrijft L1..L6 na de uitvoering zo naar BESTAND\n"
    "      --bmp BESTAND       schrijft het plaatje na de uitvoering als bitmap (BMP)\n"
    "      --jpg BESTAND       schrijft het plaatje na de uitvoering als JPEG\n"
    "      --emf BESTAND       voert opnieuw uit en schrijft het plaatje als metafile (EMF)\n"
    "      --svg BESTAND       voert opnieuw uit en schrijft het plaatje als SVG\n"
    "      --tikz BESTAND      voert opnieuw uit en schrijft het plaatje als TikZ (LaTeX)\n"
    "      --flipbook MAP [--delay MS]  de beelden van de film-lussen als GIF's in MAP,\n"
    "                          met de webpagina mijnfilm.htm en film.js\n"
    "  zorvat --compile PROGRAMMA          toont het gecompileerde programma\n"
    "  zorvat --eval UITDRUKKING [--var NAAM=WAARDE]...   rekent de uitdrukking uit\n"
    "  zorvat --symbolic OPDRACHT          vraagt de symbolische bibliotheek\n"
    "  zorvat --bigcalc BEWERKING X [Y [Z]]  een knop van de rekenmachine voor grote getallen\n"
    "      (add sub mul div mod fac ncr npr pow powmod sqrt square root prime gcd inv factor)\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct BatchOptions {
    std::string program;
    int width = 400;
    int height = 400;
    std::string prefsFile;
    std::vector<std::string> settings;
    std::vector<std::pair<std::string, std::string>> fields;
    std::vector<std::pair<int, int>> sliders;  // number, position
    std::vector<std::string> answers;
    std::string pngFile;
    std::string eepicFile;
    std::string pdfFile;
    std::string savePrefsFile;
    // GIF output: the picture after the run, and the frames of the run as an animation.
    std::string gifFile;
    std::string animateFile;
    std::optional<int> delay;
    // The lists before and after the run.
    std::string listsFile;
    std::string dumpListsFile;
    std::optional<std::pair<long double, long double>> mouse;  // world coordinates
    std::string drag;                                          // a free point
    // More picture files: after the run (BMP, JPEG), by a re-run (EMF, SVG, TikZ), and the
    // frames of the run as a flip-book page.
    std::string bmpFile;
    std::string jpgFile;
    std::string emfFile;
    std::string svgFile;
    std::string tikzFile;
    std::string flipbookFolder;
};

// --bmp, --jpg, --emf, --svg, --tikz and --flipbook; false for any other option.
bool ParsePictureOption(const std::string& option, const std::string& value,
                        BatchOptions& options) {
    std::string* const targets[] = {&options.bmpFile, &options.jpgFile,  &options.emfFile,
                                    &options.svgFile, &options.tikzFile, &options.flipbookFolder};
    const char* const names[] = {"--bmp", "--jpg", "--emf", "--svg", "--tikz", "--flipbook"};
    for (size_t i = 0; i < std::size(names); ++i) {
        if (option == names[i]) {
            *targets[i] = value;
            return true;
        }
    }
    return false;
}

bool ReadInteger(const std::string& text, int& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const auto [stop, error] = std::from_chars(first, last, value);
    return error == std::errc() && stop == last && first != last;
}

// Larger delays do not fit the GIF's field of hundredths of a second.
constexpr int kMaxDelay = 655350;
constexpr int kDefaultDelay = 100;

// --gif, --animate and --delay; false for any other option.
bool ParseGifOption(const std::string& option, const std::string& value, BatchOptions& options) {
    if (option == "--gif") {
        options.gifFile = value;
    } else if (option == "--animate") {
        options.animateFile = value;
    } else if (option == "--delay") {
        size_t used = 0;
        int delay = -1;
        try {
            delay = std::stoi(value, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != value.size() || delay < 0 || delay > kMaxDelay) {
            throw UsageError("--delay verwacht een geheel aantal milliseconden (0 tot " +
                             std::to_string(kMaxDelay) + "), niet '" + value + "'");
        }
        options.delay = delay;
    } else {
        return false;
    }
    return true;
}

std::pair<std::string, std::string> SplitPair(const std::string& text, const std::string& option) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        throw UsageError(option + " verwacht NAAM=WAARDE, niet '" + text + "'");
    }
    return {text.substr(0, eq), text.substr(eq + 1)};
}

void ParseSize(const std::string& text, BatchOptions& options) {
    const size_t x = text.find('x');
    try {
        if (x == std::string::npos) throw std::invalid_argument(text);
        size_t used = 0;
        options.width = std::stoi(text.substr(0, x), &used);
        if (used != x) throw std::invalid_argument(text);
        const std::string height = text.substr(x + 1);
        options.height = std::stoi(height, &used);
        if (used != height.size()) throw std::invalid_argument(text);
    } catch (const std::exception&) {
        throw UsageError("--size verwacht BREEDTExHOOGTE, niet '" + text + "'");
    }
    if (options.width < 2 || options.height < 2 || options.width > 10000 ||
        options.height > 10000) {
        throw UsageError("--size: breedte en hoogte moeten tussen 2 en 10000 liggen");
    }
}

// --mouse X,Y: two numbers in the fixed format.
std::pair<long double, long double> ParseMouse(const std::string& text) {
    const size_t comma = text.find(',');
    long double x = 0, y = 0;
    if (comma == std::string::npos || !expr::ParseFixedNumber(text.substr(0, comma), x) ||
        !expr::ParseFixedNumber(text.substr(comma + 1), y)) {
        throw UsageError("--mouse verwacht X,Y in wereldcoordinaten, niet '" + text + "'");
    }
    return {x, y};
}

// --drag NAME: after the first run the left button goes down with NAME taken, the
// program runs once more, and the button comes up, as a drag in the window does.
void DragFreePoint(engine::Runner& runner, const std::string& name) {
    if (!runner.Parser(1).HasVariable(name + "1") || !runner.Parser(1).HasVariable(name + "2")) {
        throw UsageError("--drag: het programma heeft geen punt " + name);
    }
    engine::PointerState& pointer = runner.Pointer();
    pointer.buttonDown = true;
    pointer.dragged = name;
    runner.Run();
    pointer.buttonDown = false;
    pointer.dragged.clear();
}

BatchOptions ParseBatchOptions(const std::vector<std::string>& args) {
    BatchOptions options;
    if (args.size() < 2) throw UsageError("--batch verwacht een programmabestand");
    options.program = args[1];
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) throw UsageError(option + " verwacht een waarde");
        const std::string& value = args[++i];
        if (option == "--size") {
            ParseSize(value, options);
        } else if (option == "--prefs") {
            options.prefsFile = value;
        } else if (option == "--set") {
            SplitPair(value, option);
            options.settings.push_back(value);
        } else if (option == "--field") {
            auto field = SplitPair(value, option);
            static const char* const known[] = {"user1", "user2", "user3", "F", "G", "H", "I"};
            if (std::find(std::begin(known), std::end(known), field.first) == std::end(known)) {
                throw UsageError("--field kent geen veld '" + field.first + "'");
            }
            options.fields.push_back(std::move(field));
        } else if (option == "--slider") {
            const auto [number, position] = SplitPair(value, option);
            int at = 0;
            if ((number != "1" && number != "2") || !ReadInteger(position, at) ||
                at < engine::Slider::kMinimum || at > engine::Slider::kMaximum) {
                throw UsageError(
                    "--slider verwacht 1=POSITIE of 2=POSITIE met POSITIE van "
                    "-100 tot 100, niet '" +
                    value + "'");
            }
            options.sliders.emplace_back(number == "1" ? 1 : 2, at);
        } else if (option == "--answer") {
            options.answers.push_back(value);
        } else if (option == "--png") {
            options.pngFile = value;
        } else if (option == "--eepic") {
            options.eepicFile = value;
        } else if (option == "--pdf") {
            options.pdfFile = value;
        } else if (option == "--save-prefs") {
            options.savePrefsFile = value;
        } else if (option == "--lists") {
            options.listsFile = value;
        } else if (option == "--dump-lists") {
            options.dumpListsFile = value;
        } else if (option == "--mouse") {
            options.mouse = ParseMouse(value);
        } else if (option == "--drag") {
            options.drag = value;
        } else if (!ParseGifOption(option, value, options) &&
                   !ParsePictureOption(option, value, options)) {
            throw UsageError("onbekende optie " + option);
        }
    }
    if (options.delay && options.animateFile.empty() && options.flipbookFolder.empty()) {
        throw UsageError("--delay hoort bij --animate of --flipbook");
    }
    if (!options.drag.empty() && !options.mouse) {
        throw UsageError("--drag verwacht ook --mouse X,Y: waarheen het punt gaat");
    }
    return options;
}

// Qt's own notes (for example about XDG_RUNTIME_DIR) would mix with the message
// lines on stderr; only its serious errors get through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        fprintf(stderr, "Qt: %s\n", message.toLocal8Bit().constData());
    }
}

// Fonts and painting need a QGuiApplication; batch mode needs no display.
std::unique_ptr<QGuiApplication> MakeHeadlessApplication() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    qInstallMessageHandler(QuietQtMessages);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "zorvat";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

bool IsPresentation(const std::string& path) {
    const std::string extension = std::filesystem::path(path).extension().string();
    return extension.size() == 4 && (extension[1] | 0x20) == 'r' && (extension[2] | 0x20) == 't' &&
           (extension[3] | 0x20) == 'f';
}

std::vector<std::string> ReadProgram(const std::string& path) {
    std::string problem;
    auto lines = engine::ReadTextLines(path, &problem);
    if (!lines)
        throw UsageError(engine::WithProblem("kan programma '" + path + "' niet lezen", problem));
    return *lines;
}

// --lists: the whole file or nothing, so a bad value never leaves half-filled lists.
void LoadLists(const std::string& path, expr::ListStore& lists) {
    std::string problem;
    const auto lines = engine::ReadTextLines(path, &problem);
    if (!lines)
        throw UsageError(engine::WithProblem("kan lijsten '" + path + "' niet lezen", problem));
    std::string text;
    for (const auto& line : *lines) text += line + "\n";
    expr::ListStore read = lists;
    try {
        expr::ReadListTable(text, read);
    } catch (const expr::EAnalysisError& error) {
        throw UsageError("--lists " + path + ": " + error.what());
    }
    lists = read;
}

std::vector<std::string> ListLines(const expr::ListStore& lists) {
    std::vector<std::string> lines;
    const std::string text = expr::ListTableText(lists, 18);
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

int RunProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const BatchOptions options = ParseBatchOptions(args);
    BatchHost::InstallInterruptHandler();
    // A presentation page: its text goes first, its program runs.
    std::optional<engine::Presentation> page;
    if (IsPresentation(options.program)) {
        try {
            page = engine::ReadPresentation(options.program);
        } catch (const engine::RtfError& error) {
            throw UsageError(error.what());
        }
    }
    const auto source = page ? page->program : ReadProgram(options.program);
    auto application = MakeHeadlessApplication();

    BatchHost host(err);
    plot::TPlotSurface surface(options.width, options.height);
    engine::Runner runner(host, surface);
    if (!options.prefsFile.empty()) {
        std::string problem;
        const auto prefs = engine::ReadTextLines(options.prefsFile, &problem);
        if (!prefs) {
            throw UsageError(engine::WithProblem(
                "kan voorkeuren '" + options.prefsFile + "' niet lezen", problem));
        }
        for (const auto& problem : engine::ApplyPreferences(*prefs, runner.Settings())) {
            err << MessageLine(engine::kAppCaption,
                               "voorkeuren " + options.prefsFile + ": " + problem)
                << std::endl;
        }
    }
    for (const auto& [name, text] : options.fields) {
        static const std::string functionNames = "FGHI";
        if (name.size() == 1) {
            runner.Settings().functions[functionNames.find(name[0])] = text;
        } else {
            runner.Interface().fields[static_cast<size_t>(name.back() - '1')].text = text;
        }
    }
    runner.ExtraSettingLines() = options.settings;
    for (const auto& [number, position] : options.sliders) {
        runner.Interface().sliders[static_cast<size_t>(number - 1)].position = position;
    }
    if (!options.sliders.empty()) engine::UpdateSliderValues(runner);
    host.SetAnswers(options.answers);
    if (!options.listsFile.empty()) LoadLists(options.listsFile, runner.Lists());

    engine::CompileOptions compileOptions;
    compileOptions.programFolder = std::filesystem::path(options.program).parent_path().string();
    compileOptions.host = &host;
    runner.Program() = engine::CompileProgram(source, compileOptions);
    runner.SetProgramFolder(compileOptions.programFolder);
    if (page) {
        runner.Panel().SetFixedText(page->page.PlainText());
        out << page->page.PlainText() << '\n';
    }
    if (options.mouse) {
        runner.Pointer().x = options.mouse->first;
        runner.Pointer().y = options.mouse->second;
        runner.SetNumericAll("muisx", options.mouse->first);
        runner.SetNumericAll("muisy", options.mouse->second);
    }
    // --animate records the first run only; the export runs would repeat its frames.
    engine::AnimationRecorder animation;
    engine::FlipbookRecorder flipbook;
    const bool animate = !options.animateFile.empty(), flip = !options.flipbookFolder.empty();
    if (animate || flip) {
        const bool transparent = runner.Settings().transparentGifs;
        // `transparent` ends with this block; the recorder lives on: a copy.
        runner.SavedPictures().SetFrameRecorder(
            [&, transparent](const plot::TPlotSurface& picture) {
                if (animate) animation.Record(picture);
                if (flip) flipbook.Record(picture, transparent);
            });
    }
    runner.Run();
    runner.SavedPictures().SetFrameRecorder(nullptr);
    if (!options.drag.empty() && !runner.LastRunFailed()) DragFreePoint(runner, options.drag);
    for (const auto& line : runner.Output().Lines()) out << line << '\n';
    for (const auto& line : runner.Panel().ProgramLines()) out << line << '\n';
    out.flush();

    int status = runner.LastRunFailed() ? kExitRunError : kExitOk;
    const auto cannotWrite = [&](const std::string& file) {
        err << MessageLine(engine::kAppCaption, "kan " + file + " niet schrijven") << std::endl;
        status = kExitUsage;
    };
    // The lists as this run left them; export runs below may change them again.
    if (!options.dumpListsFile.empty() &&
        !engine::WriteTextLines(options.dumpListsFile, ListLines(runner.Lists()), "\n")) {
        cannotWrite(options.dumpListsFile);
    }
    // The exports run the program again; the picture stays that of the first run.
    plot::Snapshot picture;
    picture.Take(surface);
    if (!options.eepicFile.empty()) {
        host.SetAnswers(options.answers);  // every run gets the same answers
        if (!runner.ExportEepic(options.eepicFile)) cannotWrite(options.eepicFile);
        if (runner.LastRunFailed() && status == kExitOk) status = kExitRunError;
    }
    if (!options.pdfFile.empty()) {
        host.SetAnswers(options.answers);
        if (!runner.ExportPdf(options.pdfFile)) cannotWrite(options.pdfFile);
        if (runner.LastRunFailed() && status == kExitOk) status = kExitRunError;
    }
    // TikZ, metafile and SVG: a re-run each, as eepic and PDF.
    const auto reRun = [&](const std::string& file, const auto& exportTo) {
        if (file.empty()) return;
        host.SetAnswers(options.answers);
        if (!exportTo(file)) cannotWrite(file);
        if (runner.LastRunFailed() && status == kExitOk) status = kExitRunError;
    };
    reRun(options.tikzFile, [&](const std::string& file) { return runner.ExportTikz(file); });
    reRun(options.emfFile, [&](const std::string& file) { return runner.ExportMetafile(file, 2); });
    reRun(options.svgFile, [&](const std::string& file) { return runner.ExportSvg(file); });
    picture.ShowOn(surface);
    if (!options.pngFile.empty() && !surface.SavePng(options.pngFile)) {
        cannotWrite(options.pngFile);
    }
    if (!options.bmpFile.empty() && !surface.SaveImage(options.bmpFile, "BMP")) {
        cannotWrite(options.bmpFile);
    }
    if (!options.jpgFile.empty() && !surface.SaveImage(options.jpgFile, "JPG")) {
        cannotWrite(options.jpgFile);
    }
    // GIF output, after the picture of the first run is back on the surface.
    const auto gifFailed = [&](const std::string& message) {
        err << MessageLine(engine::kAppCaption, message) << std::endl;
        status = kExitUsage;
    };
    if (!options.gifFile.empty()) {
        if (const auto failure = engine::SavePictureAsGif(surface, options.gifFile,
                                                          runner.Settings().transparentGifs)) {
            gifFailed(*failure);
        }
    }
    if (!options.animateFile.empty()) {
        gif::AnimationSettings settings;
        settings.delay = options.delay.value_or(kDefaultDelay);
        settings.transparent = runner.Settings().transparentGifs;
        if (const auto failure = animation.Save(options.animateFile, settings)) {
            gifFailed(*failure);
        }
    }
    if (flip) {
        QFile script(":/flipzet/film.js");
        const std::string title = std::filesystem::path(options.program).stem().string();
        if (!script.open(QIODevice::ReadOnly)) {
            gifFailed("film.js ontbreekt in dit programma");
        } else if (const auto failure =
                       flipbook.Save(options.flipbookFolder, title, script.readAll().toStdString(),
                                     options.delay.value_or(kDefaultDelay))) {
            gifFailed(*failure);
        }
    }
    if (!options.savePrefsFile.empty() &&
        !engine::WriteTextLines(options.savePrefsFile, engine::PreferencesLines(runner.Settings()),
                                "\r\n")) {
        err << MessageLine(engine::kAppCaption, engine::kPreferencesNotSaved) << std::endl;
        status = kExitUsage;
    }
    return status;
}

int PrintCompiled(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) throw UsageError("--compile verwacht precies een programmabestand");
    BatchHost host(err);
    engine::CompileOptions options;
    options.programFolder = std::filesystem::path(args[1]).parent_path().string();
    options.host = &host;
    for (const auto& line : engine::CompileProgram(ReadProgram(args[1]), options)) {
        out << line << '\n';
    }
    return kExitOk;
}

int Evaluate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2) throw UsageError("--eval verwacht een uitdrukking");
    expr::TParser parser;
    // The functions of the program's parser, without lists (they read as 0).
    expr::FunctionContext context;
    context.showMessage = [&err](const std::string& text) {
        err << MessageLine(engine::kAppCaption, text) << std::endl;
    };
    expr::RegisterExtraFunctions(parser, 1, context);
    for (size_t i = 2; i < args.size(); i += 2) {
        if (args[i] != "--var" || i + 1 >= args.size()) {
            throw UsageError("na --eval UITDRUKKING komen alleen --var NAAM=WAARDE");
        }
        const auto [name, text] = SplitPair(args[i + 1], "--var");
        long double value = 0;
        if (!expr::ParseFixedNumber(text, value)) {
            throw UsageError("--var " + name + ": '" + text + "' is geen getal");
        }
        try {
            parser.AssignVariable(name, value);
        } catch (const expr::EMathParserError& error) {
            throw UsageError(std::string("--var: ongeldige naam ") + error.what());
        }
    }
    try {
        parser.SetExpression(args[1]);
        out << expr::FormatGeneral(parser.Value(), 18) << '\n';
        return kExitOk;
    } catch (const std::exception& error) {
        std::string message = error.what();
        for (char& c : message) {
            if (c == '\r') c = '\n';
        }
        err << message << '\n';
        return kExitRunError;
    }
}

// One button of the big-integer calculator: the answer as the window shows it, or the
// lines the factorisation writes in the window's memo.
int CalculateBig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 3 || args.size() > 5) {
        throw UsageError("--bigcalc verwacht een bewerking en een tot drie getallen");
    }
    const std::string x = args[2];
    const std::string y = args.size() > 3 ? args[3] : "";
    const std::string z = args.size() > 4 ? args[4] : "";
    if (args[1] == "factor") {
        BatchHost::InstallInterruptHandler();
        bigint::TInteger number;
        number.AssignText(x);
        BatchHost host(err);
        const auto keepGoing = [&host] { return !host.TakeStopRequest(); };
        bigint::Factorisation work(
            [&out](const std::string& line) { out << line << std::endl; },
            [&keepGoing](const bigint::TInteger& n) { return engine::FactorWithGp(n, keepGoing); },
            keepGoing);
        work.Run(number);
        return kExitOk;
    }
    const auto operation = bigint::OperationNamed(args[1]);
    if (!operation) throw UsageError("--bigcalc kent geen bewerking '" + args[1] + "'");
    const bigint::CalculatorAnswer answer = bigint::Calculate(*operation, x, y, z);
    if (!answer.message.empty()) err << MessageLine(engine::kAppCaption, answer.message) << '\n';
    if (answer.refused) return kExitRunError;
    out << answer.answer << '\n';
    return kExitOk;
}

int AskSymbolic(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) throw UsageError("--symbolic verwacht precies een opdracht");
    std::vector<char> buffer(1000);
    const int length =
        symbolic_calculate(args[1].c_str(), buffer.data(), static_cast<int>(buffer.size()));
    (length < 0 ? err : out) << buffer.data() << '\n';
    return length < 0 ? kExitRunError : kExitOk;
}

}  // namespace

bool IsBatchCommand(const std::vector<std::string>& args) {
    if (args.empty()) return false;
    const std::string& mode = args[0];
    return mode == "--batch" || mode == "--compile" || mode == "--eval" || mode == "--symbolic" ||
           mode == "--bigcalc" || mode == "--help";
}

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        const std::string& mode = args.at(0);
        if (mode == "--batch") return RunProgram(args, out, err);
        if (mode == "--compile") return PrintCompiled(args, out, err);
        if (mode == "--eval") return Evaluate(args, out, err);
        if (mode == "--symbolic") return AskSymbolic(args, out, err);
        if (mode == "--bigcalc") return CalculateBig(args, out, err);
        out << kUsage;
        return kExitOk;
    } catch (const UsageError& error) {
        err << "zorvat: " << error.what() << '\n' << kUsage;
        return kExitUsage;
    }
}

}  // namespace app
