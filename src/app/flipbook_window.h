// "Flipzet": the window that writes a web page playing numbered pictures as a flip-book
// (with the script film.js beside it) and opens it in the browser.
#pragma once

#include <QMainWindow>
#include <array>
#include <string>

#include "engine/flipbook_page.h"

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace app {

class GuiHost;

class FlipbookWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit FlipbookWindow(GuiHost& host, QWidget* parent = nullptr);

    // The settings as the controls show them.
    engine::FlipbookSettings Settings() const;
    // The page made by Make; empty before the first Make.
    const std::string& Page() const { return page_; }
    // Where Save writes: the folder (default ".") and the file name ("mijnfilm.htm").
    QString Folder() const { return folder_; }
    QString FileName() const { return fileName_; }

    // "Maak Animatie": fills the template.
    void Make();
    // "Browse pad/filenaam": the save dialog; a cancelled dialog changes nothing.
    void ChooseFile();
    // "Animatie opslaan": the page, lines ended by CR LF; film.js is copied beside it when
    // it is not there yet.
    void Save();
    // "Toon Animatie in browser": opens the page when film.js lies beside it.
    void Show();

private:
    void OpenHelp(const QString& page);

    GuiHost& host_;
    // pictures, extension, lowest, highest, start, pause, height, width
    std::array<QLineEdit*, 8> edits_{};
    QPlainTextEdit* text_ = nullptr;
    QRadioButton* textLeft_ = nullptr;
    QRadioButton* textRight_ = nullptr;
    QString folder_ = ".";
    QString fileName_ = "mijnfilm.htm";
    std::string page_;
};

}  // namespace app
