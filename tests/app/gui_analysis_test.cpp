// The calculator and symbolic groups and the lists window of the program window,
// driven through their widgets.
#include <QComboBox>
#include <QLocale>
#include <QTableWidget>

#include "app/lists_window.h"
#include "gui_fixture.h"

namespace gui_test {
namespace {

class AnalysisWindowTest : public GuiTest {
protected:
    app::ProgramWindow& Programs() { return window->Programs(); }
    QString Result() { return Find<QLineEdit>("waarde", &Programs())->text(); }
    void Fill(const char* field, const QString& text) {
        Find<QLineEdit>(field, &Programs())->setText(text);
    }
    void Press(const char* button) {
        QTest::mouseClick(Find<QPushButton>(button, &Programs()), Qt::LeftButton);
    }
};

TEST_F(AnalysisWindowTest, CalculatorButtons) {
    Fill("expressie", "x^2");
    Press("waardeBerekenen");
    EXPECT_EQ(Find<QLineEdit>("xwaarde", &Programs())->text(), "0");  // an empty x is 0
    EXPECT_EQ(Result(), "0");
    Fill("xwaarde", "pi/2");
    Fill("expressie", "sin(x)");
    Press("waardeBerekenen");
    EXPECT_EQ(Result(), "1");
    Fill("xwaarde", "0");
    Press("hellingBerekenen");
    EXPECT_EQ(Result(), "1");
    Fill("expressie", "x^2");
    Fill("ondergrens", "0");
    Fill("bovengrens", "3");
    Press("integraalBerekenen");
    EXPECT_EQ(Result(), "9");

    // A rejected expression shows the parser's message and keeps the old result.
    Fill("expressie", "x^");
    Press("waardeBerekenen");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("Error parsing expression:\n", 0), 0u);
    EXPECT_EQ(Result(), "9");

    // F copies the main window's function; ">" puts the result into the program.
    Settings().functions[0] = "3*x^2";
    Press("kopieerF");
    EXPECT_EQ(Find<QLineEdit>("expressie", &Programs())->text(), "3*x^2");
    Programs().Editor().setPlainText("a:=");
    Programs().Editor().moveCursor(QTextCursor::End);
    Press("waardeInvoegen");
    EXPECT_EQ(Programs().SourceText(), "a:=9");
}

TEST_F(AnalysisWindowTest, SymbolicGroupAfterMore) {
    auto* group = Find<QWidget>("symbolisch", &Programs());
    EXPECT_TRUE(group->isHidden());
    Action(window.get(), "Mee&r...")->trigger();
    EXPECT_FALSE(group->isHidden());
    EXPECT_GE(Find<QComboBox>("opdrachten", &Programs())->findText("symb$"), 0);

    Fill("expressie", "x^3");
    Find<QComboBox>("orde", &Programs())->setCurrentText("3e");
    Press("afgeleide");
    EXPECT_EQ(Result(), "6");
    Fill("expressie", "2*x");
    Press("primitieve");
    EXPECT_EQ(Result(), "x^2");
    Press("naarExpressie");
    EXPECT_EQ(Find<QLineEdit>("expressie", &Programs())->text(), "x^2");
    Fill("ondergrens", "0");
    Fill("bovengrens", "3");
    Press("bepaaldeIntegraal");
    EXPECT_EQ(Result(), "9");
}

TEST_F(AnalysisWindowTest, ListsWindowPastesEditsAndFollowsRuns) {
    app::ListsWindow& lists = Programs().Lists();
    QTableWidget& table = lists.Table();
    table.setCurrentCell(1, 1);  // L2, element 2
    lists.Paste("1,5\t2\r\n-3\t4E2\r\n");
    const expr::ListStore& store = window->Runner().Lists();
    EXPECT_EQ(store.Get(2, 2), 1.5L);
    EXPECT_EQ(store.Get(3, 3), 400);
    EXPECT_EQ(table.item(2, 1)->text(), "-3");
    EXPECT_EQ(table.item(2, 2)->text(), "400");
    // Copying the same cells gives the block back, with the system's decimal separator.
    table.setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 2), true);
    Find<QPushButton>("kopieren", &lists)->click();
    EXPECT_EQ(QString::fromStdString(host.ClipboardText()),
              QString("1.5\t2\n-3\t400\n").replace(".", QLocale::system().decimalPoint()));
    table.clearSelection();
    EXPECT_EQ(lists.CopyText().count('\n'), 100);

    // A block with text changes nothing.
    lists.Paste("7\thallo");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "'hallo' is geen getal (regel 1, kolom 2). Er is niets geplakt.");
    EXPECT_EQ(store.Get(2, 2), 1.5L);

    // An edited cell is what the next run reads; what a run writes shows up.
    table.item(0, 0)->setText("2,25");
    RunProgram("a:=L1(1)+L2(2)\nL6(100):=a");
    EXPECT_EQ(window->Runner().Parser(1).ReadVariable("a"), 3.75L);
    EXPECT_EQ(table.item(99, 5)->text(), "3.75");
}

}  // namespace
}  // namespace gui_test
