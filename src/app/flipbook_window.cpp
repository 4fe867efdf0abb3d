// The Flipzet window: settings, the page template filled on Make, Save and Show.
#include "app/flipbook_window.h"

#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/data_files.h"
#include "app/gui_host.h"
#include "export/whole_file.h"

namespace app {

namespace {

constexpr const char* kCaption = "Flipzet";
constexpr const char* kScriptResource = ":/flipzet/film.js";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

FlipbookWindow::FlipbookWindow(GuiHost& host, QWidget* parent) : QMainWindow(parent), host_(host) {
    setObjectName("frmFlipzet");
    setWindowTitle(kCaption);
    const engine::FlipbookSettings defaults;
    const std::pair<const char*, const std::string*> fields[] = {
        {"Pad/Filenaam plaatjes", &defaults.pictures},  {"extensie", &defaults.extension},
        {"laagste nummer", &defaults.lowest},           {"hoogste nummer", &defaults.highest},
        {"Pad/Filenaam startplaatje", &defaults.start}, {"pauze tussen plaatjes", &defaults.pause},
        {"hoogte plaatjes", &defaults.height},          {"breedte plaatjes", &defaults.width},
    };
    // The controls keep the names of the window's design: Edit1 .. Edit6, Edit8, Edit9.
    const char* const names[] = {"Edit1", "Edit2", "Edit3", "Edit4",
                                 "Edit5", "Edit6", "Edit8", "Edit9"};
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* form = new QFormLayout;
    for (size_t i = 0; i < edits_.size(); ++i) {
        edits_[i] = new QLineEdit(Q(*fields[i].second), central);
        edits_[i]->setObjectName(names[i]);
        form->addRow(fields[i].first, edits_[i]);
    }
    layout->addLayout(form);
    layout->addWidget(new QLabel("Paginatekst (Html)", central));
    text_ = new QPlainTextEdit(central);
    text_->setObjectName("Memo1");
    // The text box holds lines; its text gets them back with a line break after each.
    QString text = Q(defaults.text);
    text.replace("\r\n", "\n");
    if (text.endsWith('\n')) text.chop(1);
    text_->setPlainText(text);
    layout->addWidget(text_);
    auto* layoutChoice = new QHBoxLayout;
    textLeft_ = new QRadioButton("tekst links plaatje rechts", central);
    textRight_ = new QRadioButton("tekst rechts plaatje links", central);
    textLeft_->setObjectName("RadioButton1");
    textRight_->setObjectName("RadioButton2");
    textLeft_->setChecked(true);  // the two exclude each other, as radio buttons do
    layoutChoice->addWidget(textLeft_);
    layoutChoice->addWidget(textRight_);
    layout->addLayout(layoutChoice);
    setCentralWidget(central);

    QAction* make = menuBar()->addAction("&Animatie Maken", this, &FlipbookWindow::Make);
    make->setObjectName("AnimatieMaken1");
    QMenu* file = menuBar()->addMenu("&Bestand");
    QAction* save = file->addAction("Animatie &Opslaan", this, [this] {
        ChooseFile();
        Save();  // also after a cancelled dialog: to the previous name
    });
    save->setObjectName("AnimatieOpslaan1");
    file->addAction("&Bekijken in Browser", this, &FlipbookWindow::Show)
        ->setObjectName("BekijkeninBrowser1");
    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&Over", this,
                    [this] {
                        host_.ShowMessage(
                            "Zorvat",
                            "Flipzet maakt van genummerde plaatjes een webpagina die ze als "
                            "een flipboekje laat zien.\n\nDeel van Zorvat 2.1.",
                            engine::MessageIcon::Information);
                    })
        ->setObjectName("Over1");
    QMenu* helpPages = help->addMenu("&Help");
    helpPages->addAction("&Intro", this, [this] { OpenHelp("help.htm"); })->setObjectName("Intro1");
    helpPages->addAction("&Programma", this, [this] { OpenHelp("flipzetexe.htm"); })
        ->setObjectName("Programma1");
}

engine::FlipbookSettings FlipbookWindow::Settings() const {
    engine::FlipbookSettings settings;
    std::string* const targets[] = {&settings.pictures, &settings.extension, &settings.lowest,
                                    &settings.highest,  &settings.start,     &settings.pause,
                                    &settings.height,   &settings.width};
    for (size_t i = 0; i < edits_.size(); ++i) *targets[i] = edits_[i]->text().toStdString();
    settings.text.clear();
    for (const QString& line : text_->toPlainText().split('\n'))
        settings.text += line.toStdString() + "\r\n";
    settings.textLeft = !textRight_->isChecked();
    return settings;
}

void FlipbookWindow::Make() {
    page_ = engine::MakeFlipbookPage(Settings());
}

void FlipbookWindow::ChooseFile() {
    const auto chosen = host_.SaveFileName(
        "Bestandsnaam kiezen", (folder_ + "/" + fileName_).toStdString(), "html (*.htm)");
    if (!chosen) return;
    QString path = Q(*chosen);
    if (QFileInfo(path).suffix().isEmpty()) path += ".htm";
    const qsizetype slash = path.lastIndexOf('/');
    folder_ = slash < 0 ? QString(".") : path.left(slash);
    fileName_ = slash < 0 ? path : path.mid(slash + 1);
}

void FlipbookWindow::Save() {
    const QString page = folder_ + "/" + fileName_;
    if (!exporter::WriteWholeFile(page.toStdString(), engine::FlipbookFileText(page_))) {
        host_.ShowMessage(kCaption, "Kan " + page.toStdString() + " niet opslaan",
                          engine::MessageIcon::Error);
        return;
    }
    // The page plays only with its script beside it.
    const QString script = folder_ + "/film.js";
    if (QFileInfo::exists(script)) return;
    QFile source(kScriptResource);
    if (!source.open(QIODevice::ReadOnly) ||
        !exporter::WriteWholeFile(script.toStdString(), source.readAll().toStdString())) {
        host_.ShowMessage(kCaption,
                          "Kan film.js niet naar " + folder_.toStdString() +
                              " kopieren; zonder dat script speelt de pagina niet af",
                          engine::MessageIcon::Warning);
    }
}

void FlipbookWindow::Show() {
    if (!QFileInfo(folder_ + "/film.js").isFile()) {
        host_.ShowMessage("Foutje",
                          "Het script bestand film.js bevindt zich niet in de directory " +
                              folder_.toStdString() + ", kopieer het daarheen",
                          engine::MessageIcon::None);
        return;
    }
    host_.OpenUrl(QUrl::fromLocalFile(QFileInfo(folder_ + "/" + fileName_).absoluteFilePath()));
}

void FlipbookWindow::OpenHelp(const QString& page) {
    const QString path = DataFilePath("flipzet/" + page);
    if (path.isEmpty() || !host_.OpenUrl(DataFileUrl(path, ""))) {
        host_.ShowMessage(kCaption, "De help-pagina is niet gevonden",
                          engine::MessageIcon::Warning);
    }
}

}  // namespace app
