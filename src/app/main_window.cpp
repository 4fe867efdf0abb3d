// The main window.
#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "app/bigint_window.h"
#include "app/data_files.h"
#include "app/flipbook_window.h"
#include "app/gif_maker_window.h"
#include "app/interface_panel.h"
#include "app/key_codes.h"
#include "app/output_view.h"
#include "app/plot_widget.h"
#include "app/program_window.h"
#include "app/rich_text_document.h"
#include "app/swatch.h"
#include "app/window_placement.h"
#include "engine/gif_export.h"
#include "engine/rtf_reader.h"
#include "engine/text_file.h"
#include "expr/number_format.h"

namespace app {

namespace {

constexpr const char* kCaption = "Zorvat 2.1";
constexpr const char* kWebsite = "https://zorvat.example.org/";
constexpr const char* kFaqPage = "https://zorvat.example.org/vragen.html";
constexpr const char* kMailAddress = "mailto:info@zorvat.example.org?subject=Zorvat";
constexpr const char* kGraphHint = "Linkermuisknop:Kleur; Rechtermuisknop: dikte";
constexpr const char* kFunctionNames[] = {"F", "G", "H", "I"};
// Window sizes from a preferences file are kept within what a screen can show.
constexpr int kMinFormSize = 300;
constexpr int kMaxFormSize = 4000;

constexpr plot::BrushStyle kFillCycle[] = {
    plot::BrushStyle::Solid,
    plot::BrushStyle::Horizontal,
    plot::BrushStyle::Vertical,
    plot::BrushStyle::ForwardDiagonal,
    plot::BrushStyle::BackwardDiagonal,
    plot::BrushStyle::Cross,
    plot::BrushStyle::DiagonalCross,
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void SetTextIfChanged(QLineEdit* edit, const std::string& text) {
    const QString value = Q(text);
    if (edit->text() == value) return;
    const QSignalBlocker block(edit);
    edit->setText(value);
}

void SetChecked(QAbstractButton* button, bool checked) {
    const QSignalBlocker block(button);
    button->setChecked(checked);
}

// A whole number as the user typed it, blanks around it allowed.
std::optional<long long> ReadWholeNumber(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) return std::nullopt;
    if (text[begin] == '+') ++begin;
    long long value = 0;
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (error != std::errc() || stop != last) return std::nullopt;
    return value;
}

}  // namespace

QString PageLinkIn(const QString& line) {
    static const QRegularExpression word(R"(([^\s"'<>|]+\.rtf)\b)",
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = word.match(line);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString PlotSizeText(const QString& word, int pixels) {
    const long long millimetres = std::llround(pixels / 96.0L * 25.4L);
    const std::string cm = expr::FormatGeneral(millimetres / 10.0L, 15);
    return word + Q(cm) + " cm (" + QString::number(pixels) + " pix)";
}

MainWindow::MainWindow(GuiHost& host, QWidget* parent)
    : QMainWindow(parent), host_(host), surface_(400, 400), startUpFolder_(QDir::currentPath()) {
    setWindowTitle(kCaption);
    host_.SetParentWindow(this);
    // During a run the window shows the picture and the program's controls so far.
    host_.SetBeforeEvents([this] {
        if (plot_ != nullptr) plot_->update();
        if (interfacePanel_ != nullptr) interfacePanel_->Show(runner_->Interface());
    });
    runner_ = std::make_unique<engine::Runner>(host_, surface_);
    // opslaanbmp fills the animated-GIF maker's list, afresh with each run's first picture.
    runner_->SavedPictures().SetBitmapListener([this](const std::string& file, bool firstOfRun) {
        if (firstOfRun) GifMaker().ClearInputFiles();
        GifMaker().AddInputFile(QString::fromStdString(file));
    });

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* plotColumn = new QVBoxLayout;
    plotColumn->setContentsMargins(0, 0, 0, 0);
    plotColumn->setSpacing(0);
    plot_ = new PlotWidget(surface_, central);
    plot_->setObjectName("plot");
    plotColumn->addWidget(plot_, 1);
    interfacePanel_ = new InterfacePanel(central);
    interfacePanel_->hide();
    plotColumn->addWidget(interfacePanel_);
    layout->addLayout(plotColumn, 1);
    textPanel_ = new QTextEdit(central);
    textPanel_->setObjectName("tekstpaneel");
    textPanel_->setReadOnly(true);
    textPanel_->setFixedWidth(229);
    textPanel_->hide();
    // A click on a line that names another page opens it (seen by the event filter
    // that the window installs on the application).
    textPanel_->viewport()->setMouseTracking(true);
    layout->addWidget(textPanel_);
    auto* panel = new QWidget(central);
    panel->setObjectName("paneel");
    layout->addWidget(panel);
    setCentralWidget(central);

    programWindow_ = std::make_unique<ProgramWindow>(*runner_, host_);
    outputView_ = std::make_unique<OutputView>(runner_->Output(), host_);
    bigIntegerWindow_ = std::make_unique<BigIntegerWindow>();
    connect(programWindow_.get(), &ProgramWindow::BigIntegersRequested, this, [this] {
        if (!bigIntegerWindow_->isVisible()) PlaceBeside(*bigIntegerWindow_, *programWindow_);
        bigIntegerWindow_->show();
        bigIntegerWindow_->raise();
    });
    connect(programWindow_.get(), &ProgramWindow::RunRequested, this, [this] {
        raise();
        activateWindow();
        Redraw();
    });
    connect(programWindow_.get(), &ProgramWindow::StopRequested, this,
            [this] { host_.RequestStop(); });
    connect(programWindow_.get(), &ProgramWindow::ExampleLoaded, this,
            &MainWindow::ResetForExample);

    BuildPanel();
    BuildMenus();
    ConnectEdits();
    ConnectInterface();

    connect(plot_, &PlotWidget::Resized, this, &MainWindow::OnPlotResized);
    connect(plot_, &PlotWidget::LeftDragged, this, &MainWindow::OnLeftDragged);
    connect(plot_, &PlotWidget::LeftPressed, this, &MainWindow::OnLeftPressed);
    connect(plot_, &PlotWidget::LeftReleased, this, &MainWindow::OnLeftReleased);
    connect(plot_, &PlotWidget::RightReleased, this, &MainWindow::OnRightReleased);
    connect(plot_, &PlotWidget::CornerClicked, this, &MainWindow::RequestRun);

    qApp->installEventFilter(this);
    StartUp();
    ShowSettings();
    resize(runner_->Settings().formWidth, runner_->Settings().formHeight);
    FitOnScreen(*this);
    acceptedSize_ = size();
    UpdateSizeLabels();
    ready_ = true;
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    host_.SetBeforeEvents(nullptr);
    host_.SetParentWindow(nullptr);
}

// Preferences as they were saved; a first start writes them instead.
void MainWindow::StartUp() {
    if (QFileInfo::exists(PreferencesPath())) {
        LoadPreferences();
    } else {
        SavePreferences();
    }
}

QString MainWindow::PreferencesPath() const {
    const QString local = QDir(startUpFolder_).filePath(engine::kPreferencesFile);
    if (QFileInfo::exists(local)) return local;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty()) return local;
    return QDir(folder).filePath(engine::kPreferencesFile);
}

void MainWindow::BuildPanel() {
    auto* panel = centralWidget()->findChild<QWidget*>("paneel");
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);

    auto* rangeGrid = new QGridLayout;
    const char* rangeNames[] = {"xmin", "xmax", "ymin", "ymax"};
    for (int i = 0; i < 4; ++i) {
        ranges_[i] = new QLineEdit(panel);
        ranges_[i]->setObjectName(rangeNames[i]);
        ranges_[i]->setFixedWidth(70);
        rangeGrid->addWidget(new QLabel(rangeNames[i], panel), i / 2, (i % 2) * 2);
        rangeGrid->addWidget(ranges_[i], i / 2, (i % 2) * 2 + 1);
    }
    column->addLayout(rangeGrid);

    auto* functionGrid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        functions_[i] = new QLineEdit(panel);
        functions_[i]->setObjectName(kFunctionNames[i]);
        if (i == 0) functions_[i]->setToolTip("B.v. 3*x^2 (zonder y=)");
        graphSwatches_[i] = new Swatch(panel);
        graphSwatches_[i]->setObjectName(QString(kFunctionNames[i]) + "kleur");
        graphSwatches_[i]->setToolTip(kGraphHint);
        functionGrid->addWidget(new QLabel(QString(kFunctionNames[i]) + "(x)=", panel), i, 0);
        functionGrid->addWidget(functions_[i], i, 1);
        functionGrid->addWidget(graphSwatches_[i], i, 2);
        connect(graphSwatches_[i], &Swatch::LeftClicked, this, [this, i] { ChooseGraphColour(i); });
        connect(graphSwatches_[i], &Swatch::RightClicked, this, [this, i] { AskGraphWidth(i); });
    }
    column->addLayout(functionGrid);

    auto* buttons = new QHBoxLayout;
    fillSwatch_ = new Swatch(panel);
    fillSwatch_->setObjectName("vulkleur");
    fillSwatch_->setToolTip("Linker muisknop:Vulpatroon; rechtermuisknop:kleur");
    fillSwatch_->SetColour(ToQColor(fillBrush_.color));
    fillSwatch_->SetPattern(fillBrush_.style);
    connect(fillSwatch_, &Swatch::LeftClicked, this, &MainWindow::StepFillPattern);
    connect(fillSwatch_, &Swatch::RightClicked, this, &MainWindow::ChooseFillColour);
    redraw_ = new QPushButton("Weer Tekenen", panel);
    redraw_->setObjectName("weerTekenen");
    redraw_->setToolTip("F5");
    connect(redraw_, &QPushButton::clicked, this, &MainWindow::Redraw);
    auto* font = new QPushButton("font", panel);
    font->setObjectName("font");
    connect(font, &QPushButton::clicked, this, &MainWindow::ChoosePlotFont);
    buttons->addWidget(fillSwatch_);
    buttons->addWidget(redraw_, 1);
    buttons->addWidget(font);
    column->addLayout(buttons);
    stop_ = new QPushButton("Stoppen", panel);
    stop_->setObjectName("stoppen");
    stop_->setToolTip("Esc");
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, [this] { host_.RequestStop(); });
    column->addWidget(stop_);

    auto* axes = new QGroupBox("Assen", panel);
    auto* axesLayout = new QGridLayout(axes);
    sides_ = new QRadioButton("aan de zijden", axes);
    middle_ = new QRadioButton("in het midden", axes);
    noAxes_ = new QRadioButton("geen", axes);
    sides_->setObjectName("aanDeZijden");
    middle_->setObjectName("inHetMidden");
    noAxes_->setObjectName("geen");
    grid_ = new QCheckBox("rooster", axes);
    ticks_ = new QCheckBox("streepjes", axes);
    numbers_ = new QCheckBox("getallen", axes);
    grid_->setObjectName("rooster");
    ticks_->setObjectName("streepjes");
    numbers_->setObjectName("getallen");
    axesSwatch_ = new Swatch(axes);
    axesSwatch_->setObjectName("askleur");
    axesSwatch_->setToolTip("askleur/dikte");
    gridSwatch_ = new Swatch(axes);
    gridSwatch_->setObjectName("roosterkleur");
    gridSwatch_->setToolTip("roosterkleur");
    axesLayout->addWidget(sides_, 0, 0);
    axesLayout->addWidget(middle_, 1, 0);
    axesLayout->addWidget(noAxes_, 2, 0);
    axesLayout->addWidget(grid_, 0, 1);
    axesLayout->addWidget(ticks_, 1, 1);
    axesLayout->addWidget(numbers_, 2, 1);
    axesLayout->addWidget(new QLabel("askleur/dikte", axes), 3, 0);
    axesLayout->addWidget(axesSwatch_, 3, 1);
    axesLayout->addWidget(new QLabel("roosterkleur", axes), 4, 0);
    axesLayout->addWidget(gridSwatch_, 4, 1);
    connect(axesSwatch_, &Swatch::LeftClicked, this, &MainWindow::ChooseAxesColour);
    connect(axesSwatch_, &Swatch::RightClicked, this, &MainWindow::AskAxesWidth);
    // The grid swatch has only a colour: its right button does nothing.
    connect(gridSwatch_, &Swatch::LeftClicked, this, &MainWindow::ChooseGridColour);
    column->addWidget(axes);

    auto* labels = new QGridLayout;
    xLabel_ = new QLineEdit(panel);
    yLabel_ = new QLineEdit(panel);
    xLabel_->setObjectName("xlabel");
    yLabel_->setObjectName("ylabel");
    showXLabel_ = new QCheckBox("toon xlabel", panel);
    showYLabel_ = new QCheckBox("toon ylabel", panel);
    showXLabel_->setObjectName("toonxlabel");
    showYLabel_->setObjectName("toonylabel");
    labels->addWidget(xLabel_, 0, 0);
    labels->addWidget(showXLabel_, 0, 1);
    labels->addWidget(yLabel_, 1, 0);
    labels->addWidget(showYLabel_, 1, 1);
    column->addLayout(labels);

    widthLabel_ = new QLabel(panel);
    heightLabel_ = new QLabel(panel);
    widthLabel_->setObjectName("breedte");
    heightLabel_->setObjectName("hoogte");
    column->addWidget(widthLabel_);
    column->addWidget(heightLabel_);

    auto* help = new QLabel("<a href=\"#\">Hoe voer je een functie in?</a>", panel);
    help->setObjectName("functiehulp");
    help->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(help, &QLabel::linkActivated, this, &MainWindow::ShowFunctionHelp);
    column->addWidget(help);
    column->addStretch(1);
    panel->setFixedWidth(panel->sizeHint().width() + 20);
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&Bestand");
    file->addAction("Opslaan als &Metafile", this, &MainWindow::SaveMetafile);
    file->addAction("Opslaan als Eepi&c", this, &MainWindow::SaveEepic);
    file->addAction("Opslaan als &JPG", this, &MainWindow::SaveJpeg);
    file->addAction("Opslaan als &Gif", this, &MainWindow::SaveGif);
    file->addAction("Opslaan als Bi&tmap", this, &MainWindow::SaveBitmap);
    file->addAction("Opslaan als P&df", this, &MainWindow::SavePdf);
    file->addAction("Opslaan als SVG (&web, Inkscape)", this, &MainWindow::SaveSvg);
    file->addAction("Opslaan als Ti&kZ (LaTeX)", this, &MainWindow::SaveTikz);
    file->addAction("&Animated Gif maken", this, [this] {
        GifMakerWindow& maker = GifMaker();
        maker.show();
        maker.raise();
        maker.activateWindow();
    });
    file->addAction("&Flipzet (javascript)", this, [this] {
        FlipbookWindow& window = Flipbook();
        window.show();
        window.raise();
        window.activateWindow();
    });
    file->addSeparator();
    file->addAction("&Voorkeuren opslaan", this, &MainWindow::SavePreferences);
    file->addAction("Voorkeuren &laden", this, [this] {
        if (runner_->Running()) return;
        LoadPreferences();
        Redraw();
    });
    file->addAction("&Presentatie openen", this, &MainWindow::ChoosePresentation);
    file->addSeparator();
    file->addAction("&Sluiten", this, &MainWindow::close);

    QMenu* edit = menuBar()->addMenu("Be&werken");
    edit->addAction("&Kopieren als Bitmap", this, &MainWindow::CopyBitmap);

    QMenu* options = menuBar()->addMenu("O&pties");
    slidersAction_ = options->addAction("Sch&uifbalken");
    slidersAction_->setCheckable(true);
    connect(slidersAction_, &QAction::toggled, this, [this](bool shown) {
        runner_->Interface().slidersShown = shown;
        engine::UpdateSliderValues(*runner_);
        interfacePanel_->Show(runner_->Interface());
    });
    transparentGifsAction_ = options->addAction("&Transparante Gif's");
    transparentGifsAction_->setCheckable(true);
    transparentGifsAction_->setChecked(runner_->Settings().transparentGifs);
    connect(transparentGifsAction_, &QAction::toggled, this,
            [this](bool on) { runner_->Settings().transparentGifs = on; });
    metafileDoubleAction_ = options->addAction("&Metafile op dubbele grootte");
    metafileDoubleAction_->setCheckable(true);
    metafileDoubleAction_->setChecked(true);

    QAction* more = menuBar()->addAction("Mee&r...");
    connect(more, &QAction::triggered, this, &MainWindow::ShowProgramWindow);

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&Inhoud", this, [this] { OpenHelp(""); });
    help->addAction("&Zoeken", this, [this] { OpenHelp("register"); });
    help->addSeparator();
    help->addAction("Inf&o", this, &MainWindow::ShowInfo);
    help->addAction("Websi&te", this, [this] { OpenWebPage(kWebsite, "de website"); });
    help->addAction("Em&ail", this, [this] { OpenWebPage(kMailAddress, "een e-mailbericht"); });
    help->addAction("&Veel gestelde vragen", this, &MainWindow::AskFrequentQuestions);

    // Shortcuts that work in every window of the program.
    auto* redraw = new QShortcut(QKeySequence(Qt::Key_F5), this);
    redraw->setContext(Qt::ApplicationShortcut);
    connect(redraw, &QShortcut::activated, this, &MainWindow::Redraw);
    auto* compileRun = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    compileRun->setContext(Qt::ApplicationShortcut);
    connect(compileRun, &QShortcut::activated, programWindow_.get(), &ProgramWindow::CompileAndRun);
}

void MainWindow::ConnectEdits() {
    engine::PlotSettings& s = runner_->Settings();
    std::string* rangeFields[] = {&s.xmin, &s.xmax, &s.ymin, &s.ymax};
    for (int i = 0; i < 4; ++i) {
        std::string* field = rangeFields[i];
        connect(ranges_[i], &QLineEdit::textChanged, this,
                [field](const QString& text) { *field = text.toStdString(); });
        connect(ranges_[i], &QLineEdit::returnPressed, this, &MainWindow::Redraw);
        connect(functions_[i], &QLineEdit::textChanged, this,
                [&s, i](const QString& text) { s.functions[i] = text.toStdString(); });
        connect(functions_[i], &QLineEdit::returnPressed, this, &MainWindow::Redraw);
    }
    connect(xLabel_, &QLineEdit::textChanged, this,
            [&s](const QString& text) { s.xLabel = text.toStdString(); });
    connect(yLabel_, &QLineEdit::textChanged, this,
            [&s](const QString& text) { s.yLabel = text.toStdString(); });
    connect(showXLabel_, &QCheckBox::toggled, this, [&s](bool on) { s.showXLabel = on; });
    connect(showYLabel_, &QCheckBox::toggled, this, [&s](bool on) { s.showYLabel = on; });
    connect(grid_, &QCheckBox::toggled, this, [&s](bool on) { s.grid = on; });
    connect(ticks_, &QCheckBox::toggled, this, [&s](bool on) { s.ticks = on; });
    connect(numbers_, &QCheckBox::toggled, this, [&s](bool on) { s.numbers = on; });
    const std::pair<QRadioButton*, engine::AxesPlacement> placements[] = {
        {sides_, engine::AxesPlacement::Sides},
        {middle_, engine::AxesPlacement::Middle},
        {noAxes_, engine::AxesPlacement::None},
    };
    for (const auto& entry : placements) {
        const engine::AxesPlacement placement = entry.second;
        connect(entry.first, &QRadioButton::toggled, this, [this, &s, placement](bool on) {
            if (!on) return;
            s.placement = placement;
            UpdateAxisControls();
        });
    }
}

void MainWindow::ConnectInterface() {
    engine::ProgramInterface& ui = runner_->Interface();
    connect(interfacePanel_, &InterfacePanel::SliderMoved, this, [this, &ui](int i, int position) {
        ui.sliders[static_cast<size_t>(i)].position = position;
        engine::UpdateSliderValues(*runner_);
        interfacePanel_->Show(ui);
        RequestRun();
    });
    connect(interfacePanel_, &InterfacePanel::FieldEdited, this, [&ui](int i, const QString& text) {
        ui.fields[static_cast<size_t>(i)].text = text.toStdString();
    });
    connect(interfacePanel_, &InterfacePanel::FieldEntered, this, &MainWindow::Redraw);
    connect(interfacePanel_, &InterfacePanel::SelectionChosen, this,
            [this, &ui](const QString& text) {
                ui.selection.text = text.toStdString();
                Redraw();
            });
    connect(interfacePanel_, &InterfacePanel::ContinuePressed, this, [this] { host_.Continue(); });
}

void MainWindow::ShowInterface() {
    const engine::ProgramInterface& ui = runner_->Interface();
    interfacePanel_->Show(ui);
    const QSignalBlocker block(slidersAction_);
    slidersAction_->setChecked(ui.slidersShown);
    slidersAction_->setEnabled(ui.slidersItemEnabled);
    transparentGifsAction_->setChecked(runner_->Settings().transparentGifs);
}

void MainWindow::ShowSettings() {
    const engine::PlotSettings& s = runner_->Settings();
    const std::string* rangeFields[] = {&s.xmin, &s.xmax, &s.ymin, &s.ymax};
    for (int i = 0; i < 4; ++i) {
        SetTextIfChanged(ranges_[i], *rangeFields[i]);
        SetTextIfChanged(functions_[i], s.functions[i]);
        graphSwatches_[i]->SetColour(ToQColor(s.graphColours[i]));
        graphSwatches_[i]->SetLineWidth(s.graphWidths[i]);
    }
    SetTextIfChanged(xLabel_, s.xLabel);
    SetTextIfChanged(yLabel_, s.yLabel);
    SetChecked(showXLabel_, s.showXLabel);
    SetChecked(showYLabel_, s.showYLabel);
    SetChecked(grid_, s.grid);
    SetChecked(ticks_, s.ticks);
    SetChecked(numbers_, s.numbers);
    {
        // A group of exclusive buttons cannot show "none selected" otherwise.
        QRadioButton* buttons[] = {sides_, middle_, noAxes_};
        for (QRadioButton* button : buttons) {
            const QSignalBlocker block(button);
            button->setAutoExclusive(false);
            button->setChecked(false);
        }
        if (s.placement) {
            QRadioButton* chosen = *s.placement == engine::AxesPlacement::Sides    ? sides_
                                   : *s.placement == engine::AxesPlacement::Middle ? middle_
                                                                                   : noAxes_;
            const QSignalBlocker block(chosen);
            chosen->setChecked(true);
        }
        for (QRadioButton* button : buttons) button->setAutoExclusive(true);
    }
    axesSwatch_->SetColour(ToQColor(s.axesColour.Effective()));
    axesSwatch_->SetLineWidth(s.axesWidth.Effective());
    axesSwatch_->setEnabled(s.axesColour.Enabled() && s.axesWidth.Enabled());
    gridSwatch_->SetColour(ToQColor(s.gridColour.Effective()));
    gridSwatch_->setEnabled(s.gridColour.Enabled());
    plot_->setToolTip(Q(s.hint));
    UpdateAxisControls();
}

void MainWindow::UpdateAxisControls() {
    const bool middle = middle_->isChecked();
    grid_->setEnabled(middle);
    ticks_->setEnabled(middle);
    numbers_->setEnabled(middle);
}

void MainWindow::Redraw() {
    if (runner_->Running() || runner_->Paused()) return;
    RunBusy([this] { runner_->Run(); });
    drawnSize_ = QSize(surface_.Width(), surface_.Height());
    ShowRunResults();
}

void MainWindow::RequestRun() {
    if (runQueued_) return;
    runQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        runQueued_ = false;
        if (!isVisible()) return;
        // A slider dragged during a long run: its last position is drawn after the run.
        if (runner_->Running()) {
            rerunAfterRun_ = true;
            return;
        }
        Redraw();
    });
}

template <typename Work>
void MainWindow::RunBusy(Work&& work) {
    SetBusy(true);
    work();
    SetBusy(false);
    if (plotResizePending_) {
        plotResizePending_ = false;
        OnPlotResized(plot_->size());
    }
    if (rerunAfterRun_) {
        rerunAfterRun_ = false;
        RequestRun();
    }
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    } else if (!pendingPage_.isEmpty()) {
        QTimer::singleShot(0, this, [this, page = pendingPage_] { OpenPresentation(page); });
        pendingPage_.clear();
    }
}

void MainWindow::SetBusy(bool busy) {
    redraw_->setEnabled(!busy);
    stop_->setEnabled(busy);
    programWindow_->SetBusy(busy);
    if (busy) {
        statusBar()->showMessage("Het programma loopt; Esc of Stoppen stopt het");
    } else {
        statusBar()->clearMessage();
    }
}

void MainWindow::ShowRunResults() {
    ShowSettings();
    ShowInterface();
    plot_->update();
    if (const auto failed = runner_->FailedStatement(); runner_->LastRunFailed() && failed) {
        if (!programWindow_->isVisible()) PlaceBeside(*programWindow_, *this);
        programWindow_->ShowFailedStatement(*failed);
    }
    ShowTextPanel();
    engine::OutputWindow& output = runner_->Output();
    if (output.ShowRequested()) {
        if (!outputView_->isVisible()) PlaceBeside(*outputView_, *this);
        outputView_->ShowLines();
        output.SetShowRequested(false);
    }
}

// The page first, then what the program wrote after it.
void MainWindow::ShowTextPanel() {
    const std::vector<std::string> lines = runner_->Panel().ProgramLines();
    QTextDocument* document = textPanel_->document();
    document->clear();
    if (page_) AppendRichText(*document, *page_);
    if (!lines.empty()) {
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::End);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0 || page_) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            cursor.insertText(Q(lines[i]));
        }
    }
    textPanel_->setVisible(page_.has_value() || !lines.empty());
}

void MainWindow::ChoosePresentation() {
    QString folder = QDir(startUpFolder_).filePath("presentaties");
    if (!QFileInfo(folder).isDir()) folder = DataFilePath("presentaties");
    const auto path = host_.OpenFileName("Presentatie openen", "presentaties (*.rtf);;alle (*)",
                                         folder.toStdString());
    if (path) OpenPresentation(Q(*path));
}

bool MainWindow::OpenPresentation(const QString& path) {
    if (runner_->Running()) {
        // The running program must end before its lines are replaced.
        pendingPage_ = path;
        host_.RequestStop();
        return false;
    }
    engine::Presentation presentation;
    try {
        presentation = engine::ReadPresentation(path.toStdString());
    } catch (const engine::RtfError& error) {
        // The program in the editor and everything else stay as they are.
        host_.ShowMessage(engine::kAppCaption,
                          "Kan " + path.toStdString() + " niet openen\n" + error.what() +
                              "\nMisschien is dit bestand geopend door een ander programma",
                          engine::MessageIcon::Warning);
        return false;
    }
    if (!programWindow_->ConfirmDiscard()) return false;
    pagePath_ = QFileInfo(path).absoluteFilePath();
    if (!page_ && !textPanel_->isVisible()) {
        // The text takes its room beside the plot, not from it, where the screen allows.
        resize(width() + textPanel_->width(), height());
        FitOnScreen(*this);
    }
    page_ = std::move(presentation.page);
    runner_->Panel().SetFixedText(page_->PlainText());
    ShowTextPanel();
    setWindowTitle(QFileInfo(path).fileName() + " - Zorvat");
    engine::ResetForNewProgram(runner_->Settings());
    runner_->Interface().fields[0].text.clear();
    ShowSettings();
    std::string program;
    for (const std::string& line : presentation.program) program += line + "\n";
    programWindow_->SetProgramText(program, QFileInfo(path).absolutePath().toStdString());
    programWindow_->CompileAndRun();
    return true;
}

void MainWindow::FollowPageLink(const QPoint& position) {
    const QString line = textPanel_->cursorForPosition(position).block().text();
    const QString link = PageLinkIn(line);
    if (link.isEmpty()) return;
    QString path = QFileInfo(link).isAbsolute() ? link : QFileInfo(pagePath_).dir().filePath(link);
    if (!QFileInfo::exists(path)) path = QDir(startUpFolder_).filePath(link);
    if (!QFileInfo::exists(path)) {
        host_.ShowMessage(engine::kAppCaption,
                          "Kan de pagina " + link.toStdString() + " niet vinden",
                          engine::MessageIcon::Warning);
        return;
    }
    OpenPresentation(path);
}

bool MainWindow::OpenProgram(const QString& path) {
    if (!programWindow_->LoadFile(path)) return false;
    programWindow_->CompileAndRun();
    return true;
}

// The messages of the start-up (a bad preferences file) waited until the window is
// there; then one run draws the first picture.
void MainWindow::StartWith(const QString& program) {
    QTimer::singleShot(0, this, [this, program] {
        host_.ShowDeferredMessages();
        // Unsaved work from a run that ended in a crash comes first.
        const bool restored = programWindow_->OfferBackup();
        if (restored) ShowProgramWindow();
        const bool page = program.endsWith(".rtf", Qt::CaseInsensitive);
        if (restored || program.isEmpty() ||
            !(page ? OpenPresentation(program) : OpenProgram(program))) {
            Redraw();
        }
        startedUp_ = true;
        // The window may have been laid out anew during the first run.
        if (drawnSize_ != QSize(surface_.Width(), surface_.Height())) RequestRun();
    });
}

// A library program starts from a clean plot: graphs and axis options of earlier
// programs would draw through it.
void MainWindow::ResetForExample() {
    engine::ResetForNewProgram(runner_->Settings());
    ShowSettings();
}

void MainWindow::OnPlotResized(QSize size) {
    if (runner_->Running()) {
        // The picture of a running program keeps its size; the window goes back. When
        // only the controls below the plot came or went, the plot follows after the run.
        if (this->size() != acceptedSize_) {
            if (!restorePending_) {
                restorePending_ = true;
                QTimer::singleShot(0, this, [this] {
                    restorePending_ = false;
                    resize(acceptedSize_);
                });
            }
        } else {
            plotResizePending_ = true;
        }
        return;
    }
    try {
        surface_.Resize(size.width(), size.height());
    } catch (const plot::EPlotSurfaceError&) {
        return;  // too large to allocate: the old picture stays
    }
    acceptedSize_ = this->size();
    runner_->Settings().formWidth = width();
    runner_->Settings().formHeight = height();
    UpdateSizeLabels();
    // The start-up draws the first picture itself.
    if (startedUp_) RequestRun();
}

void MainWindow::UpdateSizeLabels() {
    widthLabel_->setText(PlotSizeText("breedte ", surface_.Width()));
    heightLabel_->setText(PlotSizeText("hoogte  ", surface_.Height()));
}

void MainWindow::OnLeftDragged(QPoint pixel) {
    // A running program may read the mouse position in its loops.
    runner_->SetNumericAll("muisx", surface_.WorldX(pixel.x()));
    runner_->SetNumericAll("muisy", surface_.WorldY(pixel.y()));
    runner_->Pointer().x = surface_.WorldX(pixel.x());
    runner_->Pointer().y = surface_.WorldY(pixel.y());
    RequestRun();
}

void MainWindow::OnLeftPressed() {
    runner_->Pointer().buttonDown = true;
    runner_->Pointer().dragged.clear();
}

void MainWindow::OnLeftReleased() {
    // After the run the last move asked for, which still drags.
    QTimer::singleShot(0, this, [this] {
        runner_->Pointer().buttonDown = false;
        runner_->Pointer().dragged.clear();
    });
}

void MainWindow::OnRightReleased(QPoint pixel) {
    if (runner_->Running()) return;
    const plot::Brush saved = surface_.GetBrush();
    surface_.GetBrush() = fillBrush_;
    surface_.WorldFloodFill(surface_.WorldX(pixel.x()), surface_.WorldY(pixel.y()),
                            surface_.PixelColour(pixel.x(), pixel.y()), plot::FillStyle::Surface);
    surface_.GetBrush() = saved;
    plot_->update();
}

std::optional<int> MainWindow::AskLineWidth(int current) {
    const auto answer = host_.InputText("Lijndikte", "voer in: 1,2 of 3", std::to_string(current));
    if (!answer) return std::nullopt;
    const auto value = ReadWholeNumber(*answer);
    if (!value) {
        host_.ShowMessage(engine::kAppCaption, "'" + *answer + "' is geen geldig geheel getal",
                          engine::MessageIcon::Error);
        return std::nullopt;
    }
    return static_cast<int>(std::clamp<long long>(*value, 1, 3));
}

void MainWindow::ChooseGraphColour(int index) {
    engine::PlotSettings& s = runner_->Settings();
    const auto colour = host_.ChooseColour(ToQColor(s.graphColours[index]));
    if (!colour) return;
    s.graphColours[index] = FromQColor(*colour);
    graphSwatches_[index]->SetColour(*colour);
    Redraw();
}

void MainWindow::AskGraphWidth(int index) {
    const auto width = AskLineWidth(runner_->Settings().graphWidths[index]);
    if (!width) return;
    runner_->Settings().graphWidths[index] = *width;
    graphSwatches_[index]->SetLineWidth(*width);
    Redraw();
}

void MainWindow::StepFillPattern() {
    const auto* current = std::find(std::begin(kFillCycle), std::end(kFillCycle), fillBrush_.style);
    const auto* next = current == std::end(kFillCycle) || current + 1 == std::end(kFillCycle)
                           ? std::begin(kFillCycle)
                           : current + 1;
    fillBrush_.style = *next;
    fillSwatch_->SetPattern(fillBrush_.style);
}

void MainWindow::ChooseFillColour() {
    const auto colour = host_.ChooseColour(ToQColor(fillBrush_.color));
    if (!colour) return;
    fillBrush_.color = FromQColor(*colour);
    fillSwatch_->SetColour(*colour);
}

void MainWindow::ChooseAxesColour() {
    engine::PlotSettings& s = runner_->Settings();
    const auto colour = host_.ChooseColour(ToQColor(s.axesColour.own));
    if (!colour) return;
    s.axesColour.own = FromQColor(*colour);
    axesSwatch_->SetColour(*colour);
}

void MainWindow::AskAxesWidth() {
    engine::PlotSettings& s = runner_->Settings();
    const auto width = AskLineWidth(s.axesWidth.own);
    if (!width) return;
    s.axesWidth.own = *width;
    axesSwatch_->SetLineWidth(*width);
}

void MainWindow::ChooseGridColour() {
    engine::PlotSettings& s = runner_->Settings();
    const auto colour = host_.ChooseColour(ToQColor(s.gridColour.own));
    if (!colour) return;
    s.gridColour.own = FromQColor(*colour);
    gridSwatch_->SetColour(*colour);
}

void MainWindow::ChoosePlotFont() {
    plot::Font& font = runner_->WindowFont();
    QFont initial(Q(font.name), font.size);
    initial.setBold(font.bold);
    initial.setItalic(font.italic);
    initial.setUnderline(font.underline);
    const auto chosen = host_.ChooseFont(initial);
    if (!chosen) return;
    font.name = chosen->family().toStdString();
    if (chosen->pointSize() > 0) font.size = chosen->pointSize();
    font.bold = chosen->bold();
    font.italic = chosen->italic();
    font.underline = chosen->underline();
    Redraw();
}

void MainWindow::ShowFunctionHelp() {
    host_.ShowMessage(engine::kAppCaption,
                      "Maaltekens mogen niet weggelaten worden\n"
                      "Om f(x)=3x^2 in te voeren typ je hieronder: 3*x^2 (zonder y=)\n"
                      "wortel(x):  sqrt(x)\n"
                      "n-de_machtswortel(x): root(x,n)\n"
                      "e^x:  exp(x)\n"
                      "Logaritmen:\n"
                      "grondtal 10: log(x)\n"
                      "grondtal 2: log2(x)\n"
                      "grondtal g: logn(g,x)\n"
                      "ln(x):ln(x)",
                      engine::MessageIcon::Information);
}

void MainWindow::LoadPreferences() {
    const QString path = PreferencesPath();
    const auto lines = engine::ReadTextLines(path.toStdString());
    if (!lines) {
        if (QFileInfo::exists(path)) {
            host_.ShowMessage(engine::kAppCaption, "Kan voorkeuren.txt niet lezen",
                              engine::MessageIcon::Warning);
        }
        return;
    }
    engine::PlotSettings& s = runner_->Settings();
    const auto problems = engine::ApplyPreferences(*lines, s);
    if (!problems.empty()) {
        std::string text = "Fouten in voorkeuren.txt:";
        for (const auto& problem : problems) text += "\n" + problem;
        host_.ShowMessage(engine::kAppCaption, text, engine::MessageIcon::Warning);
    }
    s.formWidth = std::clamp(s.formWidth, kMinFormSize, kMaxFormSize);
    s.formHeight = std::clamp(s.formHeight, kMinFormSize, kMaxFormSize);
    for (int& width : s.graphWidths) width = std::clamp(width, 1, 3);
    s.axesWidth.own = std::clamp(s.axesWidth.own, 1, 3);
    ShowSettings();
    if (ready_) {
        resize(s.formWidth, s.formHeight);
        FitOnScreen(*this);
    }
}

bool MainWindow::SavePreferences() {
    const QString path = PreferencesPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!engine::WriteTextLines(path.toStdString(), engine::PreferencesLines(runner_->Settings()),
                                "\r\n")) {
        host_.ShowMessage(engine::kAppCaption, engine::kPreferencesNotSaved,
                          engine::MessageIcon::Warning);
        return false;
    }
    return true;
}

void MainWindow::SaveEepic() {
    if (runner_->Running()) return;
    const auto path =
        host_.SaveFileName("Opslaan als eepic", "figuur.tex", "eepic (*.tex);;alle (*)");
    if (!path) return;
    bool saved = false;
    RunBusy([&] { saved = runner_->ExportEepic(*path); });
    if (!saved) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + *path + " niet opslaan",
                          engine::MessageIcon::Error);
    }
    ShowRunResults();
}

void MainWindow::SavePdf() {
    if (runner_->Running()) return;
    const auto path = host_.SaveFileName("Opslaan als pdf", "figuur.pdf", "pdf (*.pdf);;alle (*)");
    if (!path) return;
    bool saved = false;
    RunBusy([&] { saved = runner_->ExportPdf(*path); });
    if (!saved) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + *path + " niet opslaan",
                          engine::MessageIcon::Error);
    }
    ShowRunResults();
}

void MainWindow::SaveBitmap() {
    auto path = host_.SaveFileName("Opslaan als bitmap", "bitmap.bmp",
                                   "Bitmap (*.bmp);;png (*.png);;alle (*)");
    if (!path) return;
    QString name = Q(*path);
    if (QFileInfo(name).suffix().isEmpty()) name += ".bmp";
    const QByteArray format = QFileInfo(name).suffix().toLower() == "png" ? "PNG" : "BMP";
    const bool saved = surface_.SaveImage(name.toStdString(), format.constData());
    if (!saved) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + name.toStdString() + " niet opslaan",
                          engine::MessageIcon::Error);
    }
}

void MainWindow::SaveGif() {
    const auto path = host_.SaveFileName("Opslaan als gif", "gif.gif", "Gif (*.gif)");
    if (!path) return;
    QString name = Q(*path);
    if (QFileInfo(name).suffix().isEmpty()) name += ".gif";
    if (const auto failure = engine::SavePictureAsGif(surface_, name.toStdString(),
                                                      runner_->Settings().transparentGifs)) {
        host_.ShowMessage(engine::kAppCaption, *failure, engine::MessageIcon::Error);
    }
}

// ---- Metafile, JPEG, SVG, TikZ, clipboard and the flip-book page ----

namespace {

// The chosen name, with `extension` added when it has none.
QString WithExtension(const std::string& path, const char* extension) {
    QString name = QString::fromStdString(path);
    if (QFileInfo(name).suffix().isEmpty()) name += extension;
    return name;
}

}  // namespace

void MainWindow::SaveMetafile() {
    if (runner_->Running()) return;
    const auto path = host_.SaveFileName("Opslaan als metafile", "met.emf", "Metafile (*.emf)");
    if (!path) return;
    const QString name = WithExtension(*path, ".emf");
    const int scale = metafileDoubleAction_->isChecked() ? 2 : 1;
    bool saved = false;
    RunBusy([&] { saved = runner_->ExportMetafile(name.toStdString(), scale); });
    if (!saved) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + name.toStdString() + " niet opslaan",
                          engine::MessageIcon::Error);
    }
    ShowRunResults();
}

void MainWindow::SaveJpeg() {
    const auto path = host_.SaveFileName("Opslaan als JPG", "jpeg.jpg", "JPG (*.jpg)");
    if (!path) return;
    const QString name = WithExtension(*path, ".jpg");
    if (!surface_.SaveImage(name.toStdString(), "JPG")) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + name.toStdString() + " niet opslaan",
                          engine::MessageIcon::Error);
    }
}

void MainWindow::SaveSvg() {
    if (runner_->Running()) return;
    const auto path = host_.SaveFileName("Opslaan als SVG", "figuur.svg", "SVG (*.svg)");
    if (!path) return;
    const QString name = WithExtension(*path, ".svg");
    bool saved = false;
    RunBusy([&] { saved = runner_->ExportSvg(name.toStdString()); });
    if (!saved) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + name.toStdString() + " niet opslaan",
                          engine::MessageIcon::Error);
    }
    ShowRunResults();
}

void MainWindow::SaveTikz() {
    if (runner_->Running()) return;
    const auto path = host_.SaveFileName("Opslaan als TikZ", "figuur.tex", "TikZ (*.tex)");
    if (!path) return;
    const QString name = WithExtension(*path, ".tex");
    bool saved = false;
    RunBusy([&] { saved = runner_->ExportTikz(name.toStdString()); });
    if (!saved) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + name.toStdString() + " niet opslaan",
                          engine::MessageIcon::Error);
    }
    ShowRunResults();
}

void MainWindow::CopyBitmap() {
    QGuiApplication::clipboard()->setImage(surface_.Bitmap());
}

FlipbookWindow& MainWindow::Flipbook() {
    if (!flipbook_) flipbook_ = std::make_unique<FlipbookWindow>(host_);
    return *flipbook_;
}

GifMakerWindow& MainWindow::GifMaker() {
    if (!gifMaker_) {
        gifMaker_ = std::make_unique<GifMakerWindow>(host_);
        // Centred on the screen, as the maker has always opened.
        gifMaker_->move(gifMaker_->screen()->availableGeometry().center() -
                        gifMaker_->rect().center());
    }
    return *gifMaker_;
}

void MainWindow::ShowProgramWindow() {
    // The program window starts a new program: nothing of the last one's controls stays.
    if (!runner_->Running()) {
        runner_->Interface().Reset();
        runner_->Pictures().ForgetNames();
        ShowInterface();
    }
    programWindow_->ShowSymbolicTools();
    if (!programWindow_->isVisible()) PlaceBeside(*programWindow_, *this);
    programWindow_->show();
    programWindow_->raise();
    programWindow_->activateWindow();
}

void MainWindow::OpenHelp(const QString& anchor) {
    const QString page = DataFilePath("help/index.html");
    if (page.isEmpty() || !host_.OpenUrl(DataFileUrl(page, anchor))) {
        host_.ShowMessage(engine::kAppCaption, "De help-pagina is niet gevonden",
                          engine::MessageIcon::Warning);
    }
}

void MainWindow::OpenWebPage(const char* address, const char* what) {
    if (host_.OpenUrl(QUrl(address))) return;
    host_.ShowMessage(engine::kAppCaption,
                      std::string("Kan ") + what + " niet openen: er is geen programma gevonden " +
                          "dat dit kan.\nHet adres is " + address,
                      engine::MessageIcon::Warning);
}

void MainWindow::AskFrequentQuestions() {
    const YesNoCancel answer = host_.AskYesNoCancel(
        engine::kAppCaption,
        "Naar de website gaan voor een recente versie van \"Veelgestelde Vragen\"?");
    if (answer == YesNoCancel::Yes) OpenWebPage(kFaqPage, "de website");
    if (answer == YesNoCancel::No) {
        const QString page = DataFilePath("help/faq.html");
        if (page.isEmpty() || !host_.OpenUrl(DataFileUrl(page, ""))) {
            host_.ShowMessage(engine::kAppCaption, "Kan faq.html niet vinden",
                              engine::MessageIcon::Warning);
        }
    }
}

void MainWindow::ShowInfo() {
    host_.ShowMessage(engine::kAppCaption,
                      std::string(kCaption) +
                          "\n\nWiskunde voor het voortgezet onderwijs: grafieken, programma's, "
                          "getallen en formules.\n\n"
                          "Zorvat mag vrij gebruikt, gekopieerd en verspreid worden voor "
                          "onderwijs, zolang het ongewijzigd en kosteloos wordt doorgegeven. "
                          "Het programma wordt geleverd zonder enige garantie.",
                      engine::MessageIcon::Information);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (textPanel_ != nullptr && watched == textPanel_->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            FollowPageLink(mouse->position().toPoint());
        } else if (event->type() == QEvent::MouseMove) {
            const QString line =
                textPanel_->cursorForPosition(mouse->position().toPoint()).block().text();
            textPanel_->viewport()->setCursor(PageLinkIn(line).isEmpty() ? Qt::IBeamCursor
                                                                         : Qt::PointingHandCursor);
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return QMainWindow::eventFilter(watched, event);
    }
    const QWidget* window = static_cast<QWidget*>(watched)->window();
    const auto* key = static_cast<QKeyEvent*>(event);
    if (window == this) {
        const int code = ProgramKeyCode(key->key());
        if (code != 0) runner_->SetNumericAll("_toetscode", code);
    }
    // Escape stops a run from each of Zorvat's own windows (a dialog keeps its Escape).
    const bool ours =
        window == this || window == programWindow_.get() || window == outputView_.get();
    if (key->key() == Qt::Key_Escape && ours) {
        host_.RequestStop();
        if (window == bigIntegerWindow_.get()) bigIntegerWindow_->Stop();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (runner_->Running()) {
        // The run must end first; the window closes as soon as it has stopped.
        host_.RequestStop();
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    if (!programWindow_->ConfirmDiscard()) {
        event->ignore();
        return;
    }
    ready_ = false;
    // A normal end: what was unsaved has been saved or given up.
    programWindow_->RemoveBackup();
    programWindow_->hide();
    outputView_->hide();
    bigIntegerWindow_->hide();
    if (gifMaker_) gifMaker_->hide();
    if (flipbook_) flipbook_->hide();
    event->accept();
}

}  // namespace app
