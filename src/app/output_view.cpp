// The output window.
#include "app/output_view.h"

#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "app/gui_host.h"
#include "engine/text_file.h"

namespace app {

OutputView::OutputView(engine::OutputWindow& output, GuiHost& host, QWidget* parent)
    : QMainWindow(parent), output_(output), host_(host) {
    setWindowTitle("uitvoervenster");
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setCentralWidget(text_);
    menuBar()->addAction("&Opslaan", this, &OutputView::Save);
    menuBar()->addAction("&Wissen", this, &OutputView::Clear);
    resize(420, 320);
}

void OutputView::ShowLines() {
    QStringList lines;
    for (const auto& line : output_.Lines()) lines << QString::fromStdString(line);
    text_->setPlainText(lines.join('\n'));
    text_->moveCursor(QTextCursor::End);
    show();
}

QString OutputView::Text() const {
    return text_->toPlainText();
}

void OutputView::Clear() {
    output_.Clear();
    text_->clear();
}

bool OutputView::SaveTo(const std::string& path) {
    return engine::WriteTextLines(path, output_.Lines(), "\r\n");
}

void OutputView::Save() {
    const auto path = host_.SaveFileName("Opslaan", "uitvoer.txt", "tekstfiles (*.txt);;alle (*)");
    if (!path) return;
    if (!SaveTo(*path)) {
        host_.ShowMessage(engine::kAppCaption, "Kan " + *path + " niet opslaan",
                          engine::MessageIcon::Error);
    }
}

}  // namespace app
