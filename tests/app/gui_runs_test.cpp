// Runs started from the windows: no message box inside show or resize handling,
// stopping a run from every window, the failing line in the editor, Dutch dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <fstream>

#include "app/gui_app.h"
#include "app/gui_host.h"
#include "app/interface_panel.h"
#include "app/output_view.h"
#include "app/plot_widget.h"
#include "app/program_editor.h"
#include "engine/text_output.h"
#include "gui_fixture.h"
#include "test_folder.h"

namespace {

using namespace gui_test;

// Presses OK on every message box the real host opens and notes what it said and
// whether the main window was on the screen at that moment.
class BoxPresser {
public:
    explicit BoxPresser(const QWidget* const& window) : window_(window) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            texts.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
            if (window_ == nullptr || !window_->isVisible()) ++beforeTheWindow;
            box->done(QMessageBox::Ok);
        });
        timer_.start(5);
    }
    std::vector<std::string> texts;
    int beforeTheWindow = 0;

private:
    const QWidget* const& window_;
    QTimer timer_;
};

void WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 400 && !done(); ++i) QTest::qWait(5);
}

// The windows with the real host, whose message boxes are modal dialogs.
class RealBoxesTest : public testing::Test {
protected:
    void SetUp() override {
        folder = MakeTestFolder();
        UseConfigFolderIn(folder);
        previousFolder = fs::current_path();
        fs::current_path(folder);
    }
    void TearDown() override {
        window.reset();
        fs::current_path(previousFolder);
        fs::remove_all(folder);
    }
    void Start() {
        window = std::make_unique<app::MainWindow>(host);
        shown = window.get();
        window->show();
        window->StartWith("");
        WaitFor([this] { return window->StartedUp(); });
    }

    fs::path folder, previousFolder;
    app::GuiHost host;
    std::unique_ptr<app::MainWindow> window;
    const QWidget* shown = nullptr;
    BoxPresser presser{shown};
};

// Regression: a start-up run whose error box opened while Qt was still showing the
// window crashed when OK was pressed, at every start in that folder.
TEST_F(RealBoxesTest, StartUpWithBadPreferencesShowsItsErrorsOnceTheWindowIsThere) {
    WriteBytes(folder / "voorkeuren.txt", "xmin=-2,5\r\nF=3x\r\nformulierhoogte=hoog\r\n");
    Start();
    WaitFor([this] { return presser.texts.size() >= 2; });
    ASSERT_EQ(presser.texts.size(), 2u) << testing::PrintToString(presser.texts);
    EXPECT_EQ(presser.texts[0],
              "Zorvat: Fouten in voorkeuren.txt:\nformulierhoogte: 'hoog' is "
              "geen geldig geheel getal");
    EXPECT_EQ(presser.texts[1].substr(0, 41), "Oeps: Zorvat kan de uitdrukking: \n3x\nniet");
    EXPECT_EQ(presser.beforeTheWindow, 0);
    // The Dutch decimal comma reads as a point.
    EXPECT_EQ(window->Surface().D2WorldX1(), -2.5L);
    EXPECT_TRUE(window->isVisible());
}

// Regression: with 3x in F, resizing ran the program inside the resize; pressing OK
// on its error box crashed and the program in the editor was lost.
TEST_F(RealBoxesTest, ResizeWithAnErrorRunsAfterTheResizeAndKeepsTheEditor) {
    Start();
    window->Programs().Editor().setPlainText("lijn(0;0;1;1)\nx:=1/0");
    QTest::keyClicks(window->findChild<QLineEdit*>("F"), "3x");
    for (const QSize size : {QSize(700, 560), QSize(760, 600), QSize(720, 580)}) {
        window->resize(size);
        QApplication::processEvents();
    }
    WaitFor([this] { return !presser.texts.empty(); });
    QTest::qWait(50);
    ASSERT_FALSE(presser.texts.empty());
    EXPECT_EQ(presser.texts[0].substr(0, 36), "Oeps: Zorvat kan de uitdrukking: \n3x");
    EXPECT_LE(presser.texts.size(), 3u);  // at most one run per resize, never nested
    EXPECT_EQ(window->Programs().SourceText(), "lijn(0;0;1;1)\nx:=1/0");
    EXPECT_EQ(window->Surface().Width(), window->Plot().width());

    // A program with an error does the same, and its line is marked.
    presser.texts.clear();
    window->findChild<QLineEdit*>("F")->setText("x");
    window->Programs().Compile();
    window->resize(700, 560);
    WaitFor([this] { return !presser.texts.empty(); });
    QTest::qWait(50);
    ASSERT_EQ(presser.texts.size(), 1u);
    EXPECT_EQ(presser.texts[0], "Oeps: Fout bij de evaluatie van 1/0");
    EXPECT_EQ(window->Programs().Editor().ErrorLine(), 1);
}

TEST_F(RealBoxesTest, QtDialogsSpeakDutch) {
    app::SetUpApplication(*qApp);
    QMessageBox box(QMessageBox::Question, "Zorvat", "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Annuleren");
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "Ja");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST_F(GuiTest, EscapeAndStoppenEndARunFromEveryWindow) {
    const QString endless = "n:=0\nherhaal\nn:=n+1\npauze(1)\ntotdat(0)";
    app::ProgramWindow& programs = window->Programs();
    programs.show();
    window->Output().show();
    QWidget* targets[] = {&programs.Editor(), &window->Output()};
    for (QWidget* target : targets) {
        host.sleeps = 0;
        host.duringPause = [&] {
            if (host.sleeps == 2) QTest::keyClick(target, Qt::Key_Escape);
        };
        RunProgram(endless);
        EXPECT_EQ(host.sleeps, 2);
        EXPECT_FALSE(window->Runner().Running());
    }

    // While it runs the windows show it; "Stoppen" stops it.
    host.sleeps = 0;
    bool busyShown = false;
    host.duringPause = [&] {
        if (host.sleeps != 2) return;
        busyShown = !Find<QPushButton>("weerTekenen")->isEnabled() &&
                    !Find<QPushButton>("compileRun", &programs)->isEnabled() &&
                    window->statusBar()->currentMessage().startsWith("Het programma loopt");
        QTest::mouseClick(Find<QPushButton>("stoppen", &programs), Qt::LeftButton);
    };
    RunProgram(endless);
    EXPECT_TRUE(busyShown);
    EXPECT_EQ(host.sleeps, 2);
    EXPECT_TRUE(Find<QPushButton>("weerTekenen")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("stoppen")->isEnabled());

    // Procedures that only pause (no loop end ever sees the request) stop too.
    host.sleeps = 0;
    host.duringPause = [&] {
        if (host.sleeps == 3) QTest::mouseClick(Find<QPushButton>("stoppen"), Qt::LeftButton);
    };
    ASSERT_TRUE(programs.LoadExample(":/examples/bibliotheek/hanoi_grafisch.txt"));
    programs.CompileAndRun();
    EXPECT_EQ(host.sleeps, 3);
    EXPECT_FALSE(window->Runner().LastRunFailed());

    // Closing the main window during a run stops the run and closes.
    host.sleeps = 0;
    host.duringPause = [&] { window->close(); };
    RunProgram(endless);
    EXPECT_EQ(host.sleeps, 1);
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(GuiTest, TheFailingLineIsMarkedInTheEditor) {
    app::ProgramWindow& programs = window->Programs();
    RunProgram("lijn(0;0;1;1)\n\n% uitleg\nproc deel(0)\neind\ndefproc deel(n)\nx:=1/n\neindproc");
    EXPECT_TRUE(programs.isVisible());
    EXPECT_EQ(programs.Editor().ErrorLine(), 6);  // inside the procedure
    EXPECT_EQ(programs.Editor().textCursor().blockNumber(), 6);
    EXPECT_EQ(programs.statusBar()->currentMessage(), "Fout in regel 7");
    EXPECT_GT(programs.Editor().LineNumberWidth(),
              programs.Editor().fontMetrics().horizontalAdvance("999"));
    // Editing the text takes the mark away; Compile says what it did.
    QTest::keyClicks(&programs.Editor(), "%");
    EXPECT_FALSE(programs.Editor().ErrorLine());
    QTest::mouseClick(Find<QPushButton>("compile", &programs), Qt::LeftButton);
    EXPECT_EQ(programs.statusBar()->currentMessage(),
              "Gecompileerd: 8 programmaregels, 15 gecompileerde regels");

    // An error in F..I or in the settings has no program line to mark.
    RunProgram("F=3x\nlijn(0;0;1;1)");
    EXPECT_TRUE(window->Runner().LastRunFailed());
    EXPECT_FALSE(programs.Editor().ErrorLine());

    // Long hints wrap and keep their own line breaks.
    programs.Editor().setPlainText("integraal(x;0;1;0.1;simpson;u)");
    auto* hint = Find<QLabel>("hint", &programs);
    EXPECT_TRUE(hint->wordWrap());
    EXPECT_EQ(hint->text().count('\n'), 2);
    EXPECT_EQ(hint->toolTip(), hint->text());
}

TEST_F(GuiTest, RangesSayWhatIsWrongAndTakeADecimalComma) {
    Type("xmin", "5");
    Type("xmax", "-5");
    Click("weerTekenen");
    EXPECT_EQ(
        MessageTexts(),
        std::vector<std::string>{"xmin (5) moet kleiner zijn dan xmax (-5). Pas het venster aan."});
    Type("xmin", "-7,5");
    Type("xmax", "2");
    Type("ymin", "3");
    Type("ymax", "3");
    host.messages.clear();
    Click("weerTekenen");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{
                                  "ymin (3) moet kleiner zijn dan ymax (3). Pas het venster aan."});
    Type("ymax", "4,25");
    host.messages.clear();
    Click("weerTekenen");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(window->Surface().D2WorldX1(), -7.5L);
    EXPECT_EQ(window->Surface().D2WorldY1() + window->Surface().D2WorldYW(), 4.25L);
}

TEST_F(GuiTest, LibraryProgramsStartFromACleanPlot) {
    Type("F", "x^2");
    Type("I", "sin(x)");
    Find<QRadioButton>("geen")->click();
    QTest::mouseClick(Find<QCheckBox>("rooster"), Qt::LeftButton);
    ASSERT_TRUE(window->Programs().LoadExample(":/examples/bibliotheek/sinus.txt"));
    EXPECT_EQ(Find<QLineEdit>("F")->text(), "");
    EXPECT_EQ(Find<QLineEdit>("I")->text(), "");
    EXPECT_TRUE(Find<QRadioButton>("inHetMidden")->isChecked());
    EXPECT_FALSE(Settings().grid);
}

TEST_F(GuiTest, ToolWindowsOpenOnTheScreenAndShowTheStartOfLongLines) {
    const QRect screen = window->screen()->availableGeometry();
    Action(window.get(), "Mee&r...")->trigger();
    EXPECT_TRUE(screen.contains(window->Programs().frameGeometry()))
        << screen.x() << "," << screen.y() << " " << screen.width() << "x" << screen.height()
        << " / " << window->Programs().frameGeometry().x() << ","
        << window->Programs().frameGeometry().y() << " "
        << window->Programs().frameGeometry().width() << "x"
        << window->Programs().frameGeometry().height();

    std::string program = "schrijfregel(t;" + std::string(400, 'a') + ")\n";
    for (int i = 0; i < 60; ++i) program += "schrijfregel(u;" + std::to_string(i) + ")\n";
    program += "schrijfregel(t;" + std::string(300, 'b') + ")";
    RunProgram(QString::fromStdString(program));
    app::OutputView& output = window->Output();
    QApplication::processEvents();
    EXPECT_TRUE(screen.contains(output.frameGeometry()));
    auto* text = output.findChild<QPlainTextEdit*>();
    EXPECT_EQ(text->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(text->verticalScrollBar()->value(), text->verticalScrollBar()->maximum());
    // The newest line is above the horizontal scroll bar, not under it.
    const QRect caret = text->cursorRect();
    EXPECT_EQ(text->textCursor().blockNumber(), 61);
    EXPECT_LE(caret.bottom(), text->viewport()->height());
}

TEST_F(GuiTest, WebItemsSayWhenNothingCanOpenThem) {
    host.openUrlResult = false;
    Action(window.get(), "Websi&te")->trigger();
    Action(window.get(), "Em&ail")->trigger();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text.substr(0, 27), "Kan de website niet openen:");
    EXPECT_EQ(host.messages[1].text.substr(0, 34), "Kan een e-mailbericht niet openen:");
}

TEST_F(GuiTest, PreferencesLiveInTheConfigurationFolderUnlessTheStartFolderHasThem) {
    EXPECT_FALSE(fs::exists(folder / "voorkeuren.txt"));
    const fs::path own = folder / "config" / "Zorvat" / "voorkeuren.txt";
    ASSERT_TRUE(fs::exists(own));
    Type("xmin", "-3");
    Action(window.get(), "&Voorkeuren opslaan")->trigger();
    EXPECT_NE(Slurp(own).find("xmin=-3\r\n"), std::string::npos);

    // A voorkeuren.txt in the start-up folder wins, for reading and for writing.
    WriteBytes(folder / "voorkeuren.txt", "xmin=-9\r\n");
    Action(window.get(), "Voorkeuren &laden")->trigger();
    EXPECT_EQ(Find<QLineEdit>("xmin")->text(), "-9");
    Type("xmin", "-8");
    Action(window.get(), "&Voorkeuren opslaan")->trigger();
    EXPECT_NE(Slurp(folder / "voorkeuren.txt").find("xmin=-8\r\n"), std::string::npos);
    EXPECT_NE(Slurp(own).find("xmin=-3\r\n"), std::string::npos);
}

}  // namespace

namespace {

using namespace gui_test;

// The program counts its own runs in a variable, which lives from run to run.
constexpr const char* kCounter = "teller:=teller+1\n";

TEST_F(GuiTest, SlidersFieldsAndTheSelectionBoxRedrawThePicture) {
    window->Runner().SetNumeric("teller", 0);
    RunProgram(QString("xmin=-5\nxmax=5\nymin=-5\nymax=5\nassen=geen\n") + kCounter +
               "schuifbalk(1;p;-4;4)\nstip(p;0;4)\ninvoerveld$(1;$f;x;functie)\n"
               "selectievak($k;rood,blauw)");
    QApplication::processEvents();
    QSlider& slider = window->Controls().SliderAt(0);
    ASSERT_TRUE(slider.isVisible());
    EXPECT_EQ(window->Controls().findChild<QLabel*>("schuifbalklabel1")->text(), "p=0");
    const plot::TPlotSurface& surface = window->Surface();
    EXPECT_EQ(surface.PixelColour(surface.WindowX(0), surface.WindowY(0)), 0u);

    // A drag of many steps gives one run for the last position, not a queue of runs.
    const auto runs = window->Runner().Parser(1).ReadVariable("teller");
    for (int position = 5; position <= 50; position += 5) slider.setValue(position);
    QApplication::processEvents();
    EXPECT_EQ(window->Runner().Parser(1).ReadVariable("teller"), runs + 1);
    EXPECT_EQ(window->Runner().Parser(1).ReadVariable("p"), 2);
    EXPECT_EQ(surface.PixelColour(surface.WindowX(2), surface.WindowY(0)), 0u);
    EXPECT_EQ(surface.PixelColour(surface.WindowX(0), surface.WindowY(0)), plot::kWhite);

    // Enter in a field and a choice in the box run the program again.
    auto* field = window->Controls().findChild<QLineEdit*>("tekstveld1");
    ASSERT_TRUE(field->isVisible());
    field->selectAll();
    QTest::keyClicks(field, "x^2");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(window->Runner().Strings().Get("$f"), "x^2");
    auto* box = window->Controls().findChild<QComboBox*>("selectievak");
    box->setCurrentIndex(1);
    emit box->textActivated("blauw");
    EXPECT_EQ(window->Runner().Strings().Get("$k"), "blauw");
    EXPECT_EQ(window->Runner().Parser(1).ReadVariable("teller"), runs + 3);

    // The options menu shows the sliders of a and b; "Mee&r..." puts everything away.
    Action(window.get(), "Mee&r...")->trigger();
    RunProgram("assen=geen");
    QApplication::processEvents();
    EXPECT_FALSE(window->Controls().isVisible());
    Action(window.get(), "Sch&uifbalken")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(slider.isVisible());
    EXPECT_EQ(window->Controls().findChild<QLabel*>("schuifbalklabel1")->text(), "a=5");
}

TEST_F(GuiTest, VerderAndTheInputDialogHoldTheRun) {
    host.inputAnswers = {"Piet"};
    QString caption;
    QTimer::singleShot(20, window.get(), [&] {
        auto* verder = window->findChild<QPushButton*>("verder");
        caption = verder->text();
        EXPECT_TRUE(window->Runner().Paused());
        EXPECT_TRUE(verder->isVisible());
        QTest::mouseClick(verder, Qt::LeftButton);
    });
    RunProgram("invoerdialoog$($n;Naam;Hoe heet je?;Jan)\nstop(Volgende)\nx:=1");
    EXPECT_EQ(caption, "Volgende");
    EXPECT_EQ(host.inputs, std::vector<std::string>{"Naam|Hoe heet je?"});
    EXPECT_EQ(window->Runner().Strings().Get("$n"), "Piet");
    EXPECT_EQ(window->Runner().Parser(1).ReadVariable("x"), 1);
    EXPECT_FALSE(window->findChild<QPushButton*>("verder")->isVisible());
    EXPECT_FALSE(window->Runner().Paused());
}

}  // namespace

namespace {

using namespace gui_test;

const fs::path kPages = fs::path(ZORVAT_TEST_DATA) / ".." / ".." / "data" / "presentaties";

QString PagePath(const char* name) {
    return QString::fromStdString((kPages / name).string());
}

TEST_F(GuiTest, PresentationsShowTheirTextRunTheirProgramAndFollowLinks) {
    Type("G", "x^3");
    ASSERT_TRUE(window->OpenPresentation(PagePath("sinus.rtf")));
    QApplication::processEvents();
    auto* panel = Find<QTextEdit>("tekstpaneel");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->width(), 229);
    EXPECT_TRUE(panel->toPlainText().startsWith("Les 1: de sinus"));
    EXPECT_EQ(window->windowTitle(), "sinus.rtf - Zorvat");
    EXPECT_TRUE(window->Programs().SourceText().starts_with("<programma>\nxmin=-7"));
    EXPECT_EQ(Find<QLineEdit>("G")->text(), "");
    EXPECT_TRUE(window->Controls().SliderAt(0).isVisible());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(window->Runner().LastRunFailed());

    // A click on the line that names the next page opens it.
    const QTextBlock link =
        panel->document()->findBlock(panel->toPlainText().indexOf("parabool.rtf"));
    ASSERT_TRUE(link.isValid());
    panel->ensureCursorVisible();
    QTextCursor at(link);
    panel->setTextCursor(at);
    const QRect place = panel->cursorRect(at);
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, place.center() + QPoint(4, 0));
    QApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), "parabool.rtf - Zorvat");
    EXPECT_TRUE(panel->toPlainText().startsWith("Les 2: de parabool"));

    // Pages that cannot be read change nothing and keep the program running.
    window->Programs().Editor().setPlainText("lijn(0;0;1;1)");
    QTest::keyClicks(&window->Programs().Editor(), "%");
    const std::string program = window->Programs().SourceText();
    WriteBytes(folder / "kapot.rtf", "PK\x03\x04 geen rtf");
    EXPECT_FALSE(window->OpenPresentation(QString::fromStdString((folder / "kapot.rtf").string())));
    EXPECT_FALSE(window->OpenPresentation(QString::fromStdString((folder / "weg.rtf").string())));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text.substr(0, 4), "Kan ");
    EXPECT_NE(
        host.messages[1].text.find("Misschien is dit bestand geopend door een ander programma"),
        std::string::npos);
    EXPECT_EQ(window->Programs().SourceText(), program);
    EXPECT_TRUE(window->isVisible());

    // A page without a program shows its text and draws an empty picture.
    host.messages.clear();
    host.choiceAnswers = {app::YesNoCancel::No};
    WriteBytes(folder / "tekst.rtf", "{\\rtf1\\ansi Alleen tekst: zie sinus.rtf\\par}");
    EXPECT_TRUE(window->OpenPresentation(QString::fromStdString((folder / "tekst.rtf").string())));
    EXPECT_EQ(panel->toPlainText(), "Alleen tekst: zie sinus.rtf");
    EXPECT_EQ(window->Programs().SourceText(), "");
    // Its link is relative to its own folder, where sinus.rtf is not.
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {},
                      panel->cursorRect(QTextCursor(panel->document())).center());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Kan de pagina sinus.rtf niet vinden"});
}

}  // namespace

namespace {

using namespace gui_test;

// After a crash the unsaved program comes back; after a normal end nothing is offered.
TEST_F(GuiTest, UnsavedWorkSurvivesACrash) {
    app::ProgramWindow& programs = window->Programs();
    programs.Editor().setPlainText("lijn(0;0;1;1)");
    programs.Editor().moveCursor(QTextCursor::End);
    programs.Editor().insertPlainText("\n% nog niet opgeslagen");
    programs.SaveBackup();
    const QString backup = app::ProgramWindow::BackupPath();
    ASSERT_TRUE(QFileInfo::exists(backup));
    window.reset();  // as a crash would leave it: no close, the copy stays

    window = std::make_unique<app::MainWindow>(host);
    window->show();
    window->StartWith("");
    for (int i = 0; i < 100 && !window->StartedUp(); ++i) QApplication::processEvents();
    EXPECT_EQ(window->Programs().SourceText(), "lijn(0;0;1;1)\n% nog niet opgeslagen");
    EXPECT_TRUE(window->Programs().isWindowModified());
    EXPECT_TRUE(window->Programs().isVisible());

    // Saving takes the copy away; so does a normal end.
    host.fileAnswers.push_back((folder / "bewaard.txt").string());
    Action(&window->Programs(), "Programma O&pslaan")->trigger();
    EXPECT_FALSE(QFileInfo::exists(backup));
    QTest::keyClicks(&window->Programs().Editor(), "x");
    window->Programs().SaveBackup();
    EXPECT_TRUE(QFileInfo::exists(backup));
    host.choiceAnswers = {app::YesNoCancel::No};
    window->close();
    EXPECT_FALSE(QFileInfo::exists(backup));
}

}  // namespace
