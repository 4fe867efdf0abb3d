// The big-integer calculator driven through its buttons, offscreen.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <fstream>

#include "app/bigint_window.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

class BigIntegerWindowTest : public GuiTest {
protected:
    app::BigIntegerWindow& Calculator() { return window->BigIntegers(); }
    void Set(const char* field, const QString& text) {
        Calculator().findChild<QLineEdit*>(field)->setText(text);
    }
    QString Press(const char* button) {
        QTest::mouseClick(Calculator().findChild<QPushButton*>(button), Qt::LeftButton);
        WaitUntilIdle();
        return Calculator().Answer();
    }
    void WaitUntilIdle(int milliseconds = 20000) {
        QElapsedTimer clock;
        clock.start();
        while (Calculator().Busy() && clock.elapsed() < milliseconds) QTest::qWait(10);
        QApplication::processEvents();
    }
    // A stand-in for gp, first on the path.
    void FakeGp(const std::string& script) {
        const fs::path bin = folder / "bin";
        fs::create_directories(bin);
        std::ofstream(bin / "gp") << "#!/bin/sh\n" << script << "\n";
        fs::permissions(bin / "gp", fs::perms::owner_all);
        setenv("PATH", (bin.string() + ":" + originalPath_).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", originalPath_.c_str(), 1);
        GuiTest::TearDown();
    }
    std::string originalPath_ = getenv("PATH");
};

TEST_F(BigIntegerWindowTest, ButtonsAnswerAndCopy) {
    QTest::mouseClick(window->Programs().findChild<QPushButton*>("groteGetallen"), Qt::LeftButton);
    EXPECT_TRUE(Calculator().isVisible());
    EXPECT_EQ(Calculator().findChild<QLineEdit*>("x")->text(), "841089964817326335954941433791");
    Set("x", "12");
    Set("y", "5");
    EXPECT_EQ(Press("x+y"), "17");
    EXPECT_EQ(Press("x mod y"), "2");
    EXPECT_EQ(Press("x nCr y"), "792");
    Set("x", "1000003");
    EXPECT_EQ(Press("misschien priem?"), "misschien priem");
    Set("x", "20000");
    Press("x!");
    EXPECT_EQ(Calculator().findChild<QLabel*>("melding")->text(), "Input truncated to 15000");
    EXPECT_EQ(Calculator().findChild<QPushButton*>("x!")->toolTip(), "Factorials limited to 3000!");
    Set("x", "1234567");
    Set("y", "0");
    EXPECT_EQ(Press("x div y"), "");
    EXPECT_EQ(Calculator().findChild<QLabel*>("melding")->text(), "deling door nul");
    EXPECT_EQ(Press("kwadraat"), "1.524.155.677.489");
    // The grouped answer copied to a field reads as the same number.
    Calculator().findChild<QComboBox*>("antwoordNaar")->setCurrentText("y");
    QTest::mouseClick(Calculator().findChild<QPushButton*>("antwoordKopieren"), Qt::LeftButton);
    EXPECT_EQ(Press("x-y"), "-1.524.154.442.922");
    Calculator().findChild<QComboBox*>("antwoordNaar")->setCurrentText("mem");
    QTest::mouseClick(Calculator().findChild<QPushButton*>("antwoordKopieren"), Qt::LeftButton);
    Calculator().findChild<QComboBox*>("geheugenNaar")->setCurrentText("z");
    QTest::mouseClick(Calculator().findChild<QPushButton*>("geheugenKopieren"), Qt::LeftButton);
    EXPECT_EQ(Calculator().findChild<QLineEdit*>("z")->text(), "-1.524.154.442.922");
    QTest::mouseClick(Calculator().findChild<QPushButton*>("wis"), Qt::LeftButton);
    EXPECT_EQ(Calculator().Answer(), "");

    Set("x", "3072");
    Press("factor");
    EXPECT_EQ(Calculator().Memo(), "kleine factoren uitdelen\n2^10\n3^1\nklaar");
}

TEST_F(BigIntegerWindowTest, StoppenEndsTheOutsideProgramAndBadAnswersAreNotBelieved) {
    bigint::FactorisationSettings quick;
    quick.firstRhoSeconds = 0.1;
    Calculator().SetFactorisationSettings(quick);
    const QString semiprime = "25261715354298798059614466984426179320823040470353438525349";
    Set("x", semiprime);

    FakeGp("cat >/dev/null; echo hallo; echo 42");
    Press("factor");
    EXPECT_TRUE(Calculator().Memo().endsWith("extern programma gaf geen bruikbaar antwoord\nklaar"))
        << Calculator().Memo().toStdString();

    // A gp that hangs: the window goes on painting and Stoppen ends it at once.
    FakeGp("exec sleep 60");
    QTest::mouseClick(Calculator().findChild<QPushButton*>("factor"), Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    while (!Calculator().Memo().contains("tijdsduur beperkt tot 2 minuten") &&
           clock.elapsed() < 10000) {
        QTest::qWait(10);
    }
    ASSERT_TRUE(Calculator().Busy());
    QTest::qWait(100);
    Calculator().repaint();  // the window paints while the outside program works
    clock.restart();
    QTest::mouseClick(Calculator().findChild<QPushButton*>("stoppen"), Qt::LeftButton);
    WaitUntilIdle(5000);
    EXPECT_FALSE(Calculator().Busy());
    EXPECT_LT(clock.elapsed(), 3000);  // within a second when the machine is quiet
    EXPECT_TRUE(Calculator().Memo().endsWith("gestopt")) << Calculator().Memo().toStdString();

    setenv("PATH", "/nonexistent", 1);
    Press("factor");
    EXPECT_TRUE(Calculator().Memo().endsWith("extern programma gp niet gevonden\nklaar"));
}

}  // namespace
