// The program window "Meer": the program editor with its files, the compile
// buttons, the command list with hints, the colour and fill-style tools, the
// documents and the library of example programs.
#pragma once

#include <QMainWindow>
#include <memory>

#include "app/program_file.h"
#include "engine/list_commands.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace engine {
class Runner;
}

namespace app {

class CalculatorPanel;
class GuiHost;
class ListsWindow;
class ProgramEditor;
class SymbolicPanel;
class Swatch;

class ProgramWindow : public QMainWindow {
    Q_OBJECT

public:
    ProgramWindow(engine::Runner& runner, GuiHost& host, QWidget* parent = nullptr);

    ProgramEditor& Editor() { return *editor_; }
    // The editor's text exactly as typed, lines separated by "\n".
    std::string SourceText() const;
    // Loads a program file into the editor; on failure a message and nothing changes.
    bool LoadFile(const QString& path);
    bool SaveFile(const QString& path);
    // Replaces the editor's text with a program that has no file of its own (a
    // presentation's); `folder` is where its includes and pictures are.
    void SetProgramText(const std::string& text, const std::string& folder);
    // Replaces the editor's text with a library program (a resource path).
    bool LoadExample(const QString& resource);
    // Compiles the editor's text into the runner's program; refused during a run.
    bool Compile();
    const ProgramFile& File() const { return file_; }
    // Asks before unsaved changes are lost; true when it may go on.
    bool ConfirmDiscard();
    // The automatic copy of unsaved editor text, written every 30 seconds while there
    // are changes and removed once they are saved or given up.
    static QString BackupPath();
    void SaveBackup();
    void RemoveBackup();
    // After a start that follows a crash: offers the copy; true when it was put back.
    bool OfferBackup();
    // While a program runs the compile buttons wait and "Stoppen" is on.
    void SetBusy(bool busy);
    // Shows the window with the source line of compiled line `index` marked: the last
    // run failed there.
    void ShowFailedStatement(size_t index);
    // Programs of the library menu: (submenu, title, resource path).
    struct Example {
        QString menu;
        QString title;
        QString resource;
    };
    static const std::vector<Example>& Examples();
    // "Mee&r...": the symbolic group appears and the symbolic words join the
    // command list.
    void ShowSymbolicTools();
    ListsWindow& Lists() { return *listsWindow_; }

public slots:
    // Compiles, raises the main window and runs.
    void CompileAndRun();
    void OpenClicked();
    bool SaveClicked();
    void SaveCompiledClicked();

signals:
    void RunRequested();
    void StopRequested();
    void BigIntegersRequested();
    // A library program replaced the editor's text.
    void ExampleLoaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildTools(QWidget* panel);
    void BuildMenus();
    void UpdateTitle();
    void ShowHintAtCaret();
    void OpenDocument(const QString& name);

    void ShowHint(const std::string& word);

    engine::Runner& runner_;
    GuiHost& host_;
    ProgramFile file_;
    ProgramEditor* editor_ = nullptr;
    QPushButton* compile_ = nullptr;
    QPushButton* compileRun_ = nullptr;
    QPushButton* stop_ = nullptr;
    QComboBox* commands_ = nullptr;
    QLabel* hint_ = nullptr;
    // For every compiled line, the editor line it came from.
    std::vector<size_t> sourceLines_;
    std::string textFolder_;  // folder of a program without a file
    QTimer* backupTimer_ = nullptr;
    QLineEdit* toolValue_ = nullptr;
    Swatch* colourTool_ = nullptr;
    Swatch* fillTool_ = nullptr;
    int fillStyle_ = 0;
    CalculatorPanel* calculator_ = nullptr;
    SymbolicPanel* symbolic_ = nullptr;
    ListsWindow* listsWindow_ = nullptr;
    engine::ListClipboard listClipboard_;
};

}  // namespace app
