// The main window with scripted dialogs in a fresh folder, for tests that drive
// the windows as a user would: typing, clicking, menus, files.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program_editor.h"
#include "app/program_window.h"
#include "scripted_host.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace gui_test {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path);
void WriteBytes(const fs::path& path, const std::string& bytes);
// Points the user's configuration and data folders into `folder`, so no test reads
// or writes the real ones.
void UseConfigFolderIn(const fs::path& folder);

class GuiTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <typename T>
    T* Find(const char* name, QWidget* in = nullptr) {
        T* widget = (in != nullptr ? in : window.get())->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QAction* Action(QWidget* owner, const QString& text);
    void Type(const char* field, const QString& text);
    void Click(const char* name, Qt::MouseButton button = Qt::LeftButton);
    // Compile+Run of a program typed into the program window.
    void RunProgram(const QString& text);
    engine::PlotSettings& Settings() { return window->Runner().Settings(); }
    std::vector<std::string> MessageTexts() const;

    fs::path folder;
    fs::path previousFolder;
    ScriptedHost host;
    std::unique_ptr<app::MainWindow> window;
};

}  // namespace gui_test
