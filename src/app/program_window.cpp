// The program window.
#include "app/program_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "app/calculator_panel.h"
#include "app/command_hints.h"
#include "app/data_files.h"
#include "app/gui_host.h"
#include "app/lists_window.h"
#include "app/program_editor.h"
#include "app/program_highlighter.h"
#include "app/swatch.h"
#include "app/symbolic_panel.h"
#include "engine/compiler.h"
#include "engine/runner.h"
#include "engine/text_file.h"
#include "export/whole_file.h"
#include "plot/drawing.h"

namespace app {

namespace {

constexpr const char* kProgramFilter = "tekstfiles (*.txt);;alle (*)";
constexpr int kBackupMilliseconds = 30000;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

const std::vector<ProgramWindow::Example>& ProgramWindow::Examples() {
    static const std::vector<Example> examples = {
        {"&Ruimtelijke figuren", "kubus/balk", "kubus_balk"},
        {"&Ruimtelijke figuren", "kubus met diagonalen", "kubus_diagonalen"},
        {"&Ruimtelijke figuren", "driezijdige piramide", "driezijdige_piramide"},
        {"&Ruimtelijke figuren", "vierzijdige piramide", "vierzijdige_piramide"},
        {"&Ruimtelijke figuren", "achtvlak", "achtvlak"},
        {"&Ruimtelijke figuren", "twaalfvlak", "twaalfvlak"},
        {"&Ruimtelijke figuren", "twintigvlak", "twintigvlak"},
        {"&Ruimtelijke figuren", "rhombisch twaalfvlak", "rhombisch_twaalfvlak"},
        {"&Driehoeken", "1 hzh", "driehoek_hzh"},
        {"&Driehoeken", "2 zhh", "driehoek_zhh"},
        {"&Driehoeken", "3 zhz", "driehoek_zhz"},
        {"&Driehoeken", "4 zzz", "driehoek_zzz"},
        {"&Assenstelsel", "stippelrooster", "stippelrooster"},
        {"&Assenstelsel", "streepjesrooster", "streepjesrooster"},
        {"&Assenstelsel", "logaritmisch papier", "logaritmisch_papier"},
        {"&Assenstelsel", "zaagtand", "zaagtand"},
        {"&Assenstelsel", "getallen y-as links", "getallen_y_as_links"},
        {"&Gonio", "sinus", "sinus"},
        {"&Gonio", "sinus/cosinus", "sinus_cosinus"},
        {"Grote ge&tallen", "fibonacci", "fibonacci"},
        {"Grote ge&tallen", "faculteit", "faculteit"},
        {"Grote ge&tallen", "100priem", "100priem"},
        {"Grote ge&tallen", "priemfactoren", "priemfactoren"},
        {"Grote ge&tallen", "factor", "factor"},
        {"Grote ge&tallen", "factor2", "factor2"},
        {"Grote ge&tallen", "fermat1", "fermat1"},
        {"Grote ge&tallen", "fermat2", "fermat2"},
        {"D&iversen", "pythagorasboom", "pythagorasboom"},
        {"D&iversen", "hanoi (tekst)", "hanoi_tekst"},
        {"D&iversen", "hanoi (grafisch)", "hanoi_grafisch"},
        {"D&iversen", "binomcdf", "binomcdf"},
    };
    return examples;
}

ProgramWindow::ProgramWindow(engine::Runner& runner, GuiHost& host, QWidget* parent)
    : QMainWindow(parent), runner_(runner), host_(host), listClipboard_(runner) {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 4);

    auto* buttons = new QHBoxLayout;
    compile_ = new QPushButton("Compile", central);
    compile_->setObjectName("compile");
    compileRun_ = new QPushButton("Compile+Run", central);
    compileRun_->setObjectName("compileRun");
    compileRun_->setToolTip("Ctrl+R");
    stop_ = new QPushButton("Stoppen", central);
    stop_->setObjectName("stoppen");
    stop_->setToolTip("Esc");
    stop_->setEnabled(false);
    connect(compile_, &QPushButton::clicked, this, [this] { Compile(); });
    connect(compileRun_, &QPushButton::clicked, this, &ProgramWindow::CompileAndRun);
    connect(stop_, &QPushButton::clicked, this, &ProgramWindow::StopRequested);
    auto* bigIntegers = new QPushButton("Grote getallen", central);
    bigIntegers->setObjectName("groteGetallen");
    bigIntegers->setToolTip("rekenmachine voor gehele getallen van elke lengte");
    connect(bigIntegers, &QPushButton::clicked, this, &ProgramWindow::BigIntegersRequested);
    buttons->addWidget(compile_);
    buttons->addWidget(compileRun_);
    buttons->addWidget(stop_);
    buttons->addWidget(bigIntegers);
    buttons->addSpacing(12);

    commands_ = new QComboBox(central);
    commands_->setObjectName("opdrachten");
    commands_->setPlaceholderText("Opdrachten");
    for (const auto& entry : CommandList()) commands_->addItem(Q(entry.word));
    commands_->setCurrentIndex(-1);
    commands_->setMaxVisibleItems(25);
    auto* appendWord = new QPushButton(">", central);
    appendWord->setObjectName("woordToevoegen");
    appendWord->setFixedWidth(28);
    appendWord->setToolTip("voeg de opdracht toe als laatste regel");
    // Long hints wrap onto more lines instead of being cut off.
    hint_ = new QLabel(central);
    hint_->setObjectName("hint");
    hint_->setMinimumWidth(150);
    hint_->setWordWrap(true);
    hint_->setTextFormat(Qt::PlainText);
    hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(commands_, &QComboBox::currentTextChanged, this,
            [this](const QString& word) { ShowHint(word.toStdString()); });
    connect(appendWord, &QPushButton::clicked, this, [this] {
        if (commands_->currentIndex() < 0) return;
        QTextCursor cursor(editor_->document());
        cursor.movePosition(QTextCursor::End);
        if (!editor_->document()->isEmpty()) cursor.insertText("\n");
        cursor.insertText(commands_->currentText());
        editor_->setTextCursor(cursor);
    });
    buttons->addWidget(commands_);
    buttons->addWidget(appendWord);
    buttons->addWidget(hint_, 1);
    column->addLayout(buttons);

    auto* middle = new QHBoxLayout;
    editor_ = new ProgramEditor(central);
    editor_->setObjectName("editor");
    new ProgramHighlighter(editor_->document());
    middle->addWidget(editor_, 1);
    auto* tools = new QGroupBox("Gereedschappen", central);
    BuildTools(tools);
    // The editor gets the room; the tools keep their own width.
    tools->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    middle->addWidget(tools, 0, Qt::AlignTop);
    column->addLayout(middle, 1);
    setCentralWidget(central);

    backupTimer_ = new QTimer(this);
    backupTimer_->setInterval(kBackupMilliseconds);
    connect(backupTimer_, &QTimer::timeout, this, &ProgramWindow::SaveBackup);
    backupTimer_->start();
    connect(editor_->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        if (!modified) RemoveBackup();
    });
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            &QWidget::setWindowModified);
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &ProgramWindow::ShowHintAtCaret);
    BuildMenus();
    statusBar()->showMessage("");
    UpdateTitle();
    resize(760, 520);
}

void ProgramWindow::BuildTools(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    auto* row = new QHBoxLayout;
    colourTool_ = new Swatch(panel);
    colourTool_->setObjectName("kleur");
    colourTool_->setToolTip("Kleur");
    fillTool_ = new Swatch(panel);
    fillTool_->setObjectName("vulstijl");
    fillTool_->setToolTip("Vulstijl");
    fillTool_->SetPattern(plot::BrushStyleOf(fillStyle_));
    row->addWidget(new QLabel("Kleur", panel));
    row->addWidget(colourTool_);
    row->addWidget(new QLabel("Vulstijl", panel));
    row->addWidget(fillTool_);
    layout->addLayout(row);
    auto* valueRow = new QHBoxLayout;
    toolValue_ = new QLineEdit(panel);
    toolValue_->setObjectName("waarde");
    toolValue_->setFixedWidth(100);
    auto* insert = new QPushButton(">", panel);
    insert->setObjectName("waardeInvoegen");
    insert->setFixedWidth(28);
    insert->setToolTip("zet de waarde in het programma, bij de cursor");
    valueRow->addWidget(toolValue_);
    valueRow->addWidget(insert);
    layout->addLayout(valueRow);

    connect(colourTool_, &Swatch::LeftClicked, this, [this] {
        const auto colour = host_.ChooseColour(colourTool_->Colour());
        if (!colour) return;
        colourTool_->SetColour(*colour);
        toolValue_->setText(QString::number(FromQColor(*colour)));
    });
    connect(fillTool_, &Swatch::LeftClicked, this, [this] {
        fillStyle_ = (fillStyle_ + 1) % 8;
        fillTool_->SetPattern(plot::BrushStyleOf(fillStyle_));
        toolValue_->setText(QString::number(fillStyle_));
    });
    connect(insert, &QPushButton::clicked, this,
            [this] { editor_->textCursor().insertText(toolValue_->text()); });

    // The calculator and symbolic groups write into the same result field, so ">"
    // puts a computed number into the program.
    calculator_ = new CalculatorPanel(runner_, host_, *toolValue_, panel);
    layout->addWidget(calculator_);
    symbolic_ = new SymbolicPanel(runner_, host_, *calculator_, *toolValue_, panel);
    symbolic_->hide();
    layout->addWidget(symbolic_);
    listsWindow_ = new ListsWindow(runner_, host_, this);
}

void ProgramWindow::ShowSymbolicTools() {
    symbolic_->show();
    for (const char* word : {"diff$", "int$", "subst$", "symb$", "diffn$", "opslaangif"}) {
        if (commands_->findText(word) < 0) commands_->addItem(word);
    }
}

void ProgramWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&Bestand");
    file->addAction("Programma &Openen", this, &ProgramWindow::OpenClicked)
        ->setShortcut(QKeySequence::Open);
    file->addAction("Programma O&pslaan", this, &ProgramWindow::SaveClicked)
        ->setShortcut(QKeySequence::Save);
    file->addAction("Ge&compileerd opslaan", this, &ProgramWindow::SaveCompiledClicked);

    QMenu* library = menuBar()->addMenu("&Programmabibliotheek");
    QMenu* submenu = nullptr;
    for (const auto& example : Examples()) {
        if (submenu == nullptr || submenu->title() != example.menu) {
            submenu = library->addMenu(example.menu);
        }
        const QString resource = ":/examples/bibliotheek/" + example.resource + ".txt";
        submenu->addAction(example.title, this, [this, resource] { LoadExample(resource); });
    }

    QMenu* documents = menuBar()->addMenu("&Documenten");
    documents->addAction("&Introductie programmeren", this,
                         [this] { OpenDocument("introductie.html"); });
    documents->addAction("&Voorbeelden", this, [this] { OpenDocument("voorbeelden.html"); });

    QMenu* lists = menuBar()->addMenu("&Lijsten");
    lists->addAction("Lijst &exporteren naar klembord", this, [this] {
        listClipboard_.Export(QLocale::system().decimalPoint().at(0).toLatin1());
    });
    lists->addAction("Lijst &importeren van klembord", this, [this] {
        listClipboard_.Import();
        listsWindow_->Refresh();
    });
    lists->addAction("Lijsten &tonen", this, [this] {
        listsWindow_->Refresh();
        listsWindow_->show();
        listsWindow_->raise();
    });
}

std::string ProgramWindow::SourceText() const {
    // The raw text keeps non-breaking spaces, which the plain text turns into blanks.
    QString text = editor_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, '\n');
    return text.toStdString();
}

void ProgramWindow::UpdateTitle() {
    const QString name =
        file_.Path().empty() ? QString("(nieuw)") : QFileInfo(Q(file_.Path())).fileName();
    setWindowTitle("Meer " + name + "[*]");
    setWindowModified(editor_->document()->isModified());
}

bool ProgramWindow::LoadFile(const QString& path) {
    ProgramFile file;
    const std::string problem = file.Load(path.toStdString());
    if (!problem.empty()) {
        host_.ShowMessage(engine::kAppCaption, problem, engine::MessageIcon::Error);
        return false;
    }
    file_ = std::move(file);
    textFolder_.clear();
    editor_->setPlainText(Q(file_.Text()));
    editor_->document()->setModified(false);
    UpdateTitle();
    return true;
}

bool ProgramWindow::SaveFile(const QString& path) {
    if (!file_.Save(path.toStdString(), SourceText())) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + path.toStdString() + " niet opslaan",
                          engine::MessageIcon::Error);
        return false;
    }
    editor_->document()->setModified(false);
    UpdateTitle();
    return true;
}

void ProgramWindow::SetProgramText(const std::string& text, const std::string& folder) {
    editor_->setPlainText(Q(text));
    file_ = ProgramFile();
    textFolder_ = folder;
    editor_->document()->setModified(false);
    editor_->moveCursor(QTextCursor::Start);
    UpdateTitle();
}

bool ProgramWindow::LoadExample(const QString& resource) {
    if (!ConfirmDiscard()) return false;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return false;
    editor_->setPlainText(QString::fromUtf8(file.readAll()).remove('\r'));
    // A library program is new text: saving asks for a name.
    file_ = ProgramFile();
    textFolder_.clear();
    editor_->document()->setModified(false);
    editor_->moveCursor(QTextCursor::Start);
    editor_->ensureCursorVisible();
    UpdateTitle();
    emit ExampleLoaded();
    return true;
}

bool ProgramWindow::ConfirmDiscard() {
    if (!editor_->document()->isModified()) return true;
    switch (host_.AskYesNoCancel(engine::kAppCaption,
                                 "Het programma is gewijzigd. Wijzigingen opslaan?")) {
        case YesNoCancel::Yes:
            return SaveClicked();
        case YesNoCancel::No:
            return true;
        case YesNoCancel::Cancel:
            return false;
    }
    return false;
}

QString ProgramWindow::BackupPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath("programma_autobewaard.txt");
}

void ProgramWindow::SaveBackup() {
    const QString path = BackupPath();
    if (path.isEmpty() || !editor_->document()->isModified()) return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    exporter::WriteWholeFile(path.toStdString(), SourceText());
}

void ProgramWindow::RemoveBackup() {
    const QString path = BackupPath();
    if (!path.isEmpty()) QFile::remove(path);
}

bool ProgramWindow::OfferBackup() {
    const QString path = BackupPath();
    if (path.isEmpty() || !QFileInfo::exists(path)) return false;
    const auto text = engine::ReadFileBytes(path.toStdString());
    if (!text || !host_.AskYesNo(engine::kAppCaption,
                                 "Zorvat is de vorige keer niet normaal afgesloten. Er is een "
                                 "automatisch bewaarde kopie van het programma dat toen niet was "
                                 "opgeslagen. Wilt u die terugzetten?",
                                 true)) {
        RemoveBackup();
        return false;
    }
    editor_->setPlainText(Q(engine::DecodeText(*text).text));
    file_ = ProgramFile();
    textFolder_.clear();
    editor_->document()->setModified(true);
    UpdateTitle();
    return true;
}

void ProgramWindow::OpenClicked() {
    if (!ConfirmDiscard()) return;
    const auto path = host_.OpenFileName("Programma openen", kProgramFilter);
    if (path) LoadFile(Q(*path));
}

bool ProgramWindow::SaveClicked() {
    const std::string suggested = file_.Path().empty() ? "programma.txt" : file_.Path();
    const auto path = host_.SaveFileName("Programma opslaan", suggested, kProgramFilter);
    if (!path) return false;
    QString name = Q(*path);
    if (QFileInfo(name).suffix().isEmpty()) name += ".txt";
    return SaveFile(name);
}

void ProgramWindow::SaveCompiledClicked() {
    if (!runner_.Running()) Compile();
    const auto path =
        host_.SaveFileName("Gecompileerd opslaan", "programma_gecompileerd.txt", kProgramFilter);
    if (!path) return;
    if (!engine::WriteTextLines(*path, runner_.Program(), "\r\n")) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + *path + " niet opslaan",
                          engine::MessageIcon::Error);
    }
}

bool ProgramWindow::Compile() {
    // The running program reads its lines as it goes; they must not change under it.
    if (runner_.Running()) {
        statusBar()->showMessage("Er loopt nog een programma; Esc of Stoppen stopt het", 5000);
        return false;
    }
    std::vector<std::string> lines;
    const std::string text = SourceText();
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    engine::CompileOptions options;
    options.programFolder = !file_.Path().empty()
                                ? std::filesystem::path(file_.Path()).parent_path().string()
                            : textFolder_.empty() ? "."
                                                  : textFolder_;
    options.host = &host_;
    sourceLines_.clear();
    runner_.Program() = engine::CompileProgram(lines, options, &sourceLines_);
    runner_.SetProgramFolder(options.programFolder);
    editor_->ClearErrorLine();
    statusBar()->showMessage(QString("Gecompileerd: %1 programmaregels, %2 gecompileerde regels")
                                 .arg(lines.size())
                                 .arg(runner_.Program().size()));
    return true;
}

void ProgramWindow::CompileAndRun() {
    if (Compile()) emit RunRequested();
}

void ProgramWindow::SetBusy(bool busy) {
    compile_->setEnabled(!busy);
    compileRun_->setEnabled(!busy);
    stop_->setEnabled(busy);
    if (!busy) listsWindow_->Refresh();  // what the run left in the lists
    if (busy) {
        statusBar()->showMessage("Het programma loopt; Esc of Stoppen stopt het");
    } else if (statusBar()->currentMessage().startsWith("Het programma loopt")) {
        statusBar()->clearMessage();
    }
}

void ProgramWindow::ShowFailedStatement(size_t index) {
    // The mark is only sure when the program that ran is the one compiled here.
    if (index >= sourceLines_.size() || sourceLines_.size() != runner_.Program().size()) return;
    const int line = static_cast<int>(sourceLines_[index]);
    show();
    editor_->MarkErrorLine(line);
    statusBar()->showMessage(QString("Fout in regel %1").arg(line + 1));
}

void ProgramWindow::ShowHintAtCaret() {
    const std::string word = CommandWordOf(editor_->textCursor().block().text().toStdString());
    if (word.empty() || !IsCommandWord(word)) return;
    ShowHint(word);
}

void ProgramWindow::ShowHint(const std::string& word) {
    // The hint keeps its own line breaks; the tooltip has the whole text too.
    const QString text = Q(word + " " + HintOf(word));
    hint_->setText(text);
    hint_->setToolTip(text);
}

void ProgramWindow::OpenDocument(const QString& name) {
    const QString path = DataFilePath(name);
    if (path.isEmpty() || !host_.OpenUrl(DataFileUrl(path, ""))) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + name.toStdString() + " niet vinden",
                          engine::MessageIcon::Warning);
    }
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; the program stays in the editor.
    hide();
    event->ignore();
}

}  // namespace app
