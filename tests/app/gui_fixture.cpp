// One QApplication for all window tests, and the shared fixture.
#include "gui_fixture.h"

#include <QApplication>
#include <fstream>
#include <sstream>

#include "app/gui_app.h"
#include "test_folder.h"

namespace gui_test {

namespace {

// The offscreen platform notes every raise() it cannot do; the rest gets through.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith("This plugin does not support")) return;
    if (message.contains("XDG_RUNTIME_DIR")) return;
    if (type != QtDebugMsg) fprintf(stderr, "Qt: %s\n", message.toLocal8Bit().constData());
}

class WidgetEnvironment : public testing::Environment {
public:
    void SetUp() override {
        qInstallMessageHandler(QuietPlatformNotes);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "gui_test";
        static char* argv[] = {name, nullptr};
        static QApplication* application = new QApplication(argc, argv);
        app::SetUpApplication(*application);
    }
};

[[maybe_unused]] testing::Environment* const kWidgets =
    testing::AddGlobalTestEnvironment(new WidgetEnvironment);

}  // namespace

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void UseConfigFolderIn(const fs::path& folder) {
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
}

void GuiTest::SetUp() {
    folder = MakeTestFolder();
    UseConfigFolderIn(folder);
    previousFolder = fs::current_path();
    fs::current_path(folder);
    window = std::make_unique<app::MainWindow>(host);
    window->show();
    window->StartWith("");
    for (int i = 0; i < 100 && !window->StartedUp(); ++i) QApplication::processEvents();
}

void GuiTest::TearDown() {
    window.reset();
    fs::current_path(previousFolder);
    fs::remove_all(folder);
}

QAction* GuiTest::Action(QWidget* owner, const QString& text) {
    for (QAction* action : owner->findChildren<QAction*>()) {
        if (action->text() == text) return action;
    }
    ADD_FAILURE() << "no action " << text.toStdString();
    return nullptr;
}

void GuiTest::Type(const char* field, const QString& text) {
    auto* edit = Find<QLineEdit>(field);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void GuiTest::Click(const char* name, Qt::MouseButton button) {
    QTest::mouseClick(Find<QWidget>(name), button);
}

void GuiTest::RunProgram(const QString& text) {
    app::ProgramWindow& programs = window->Programs();
    programs.Editor().setPlainText(text);
    QTest::mouseClick(Find<QPushButton>("compileRun", &programs), Qt::LeftButton);
}

std::vector<std::string> GuiTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : host.messages) texts.push_back(message.text);
    return texts;
}

}  // namespace gui_test
