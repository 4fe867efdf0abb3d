// The output window.
#include "app/output_view.h"

#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

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
    // The caret at the start of the newest line: at its end a long line would pull
    // the view to the far right.
    text_->setTextCursor(QTextCursor(text_->document()->lastBlock()));
    show();
    ScrollToNewest();
    // Once shown the scroll bars may have changed the room; look again then.
    QTimer::singleShot(0, this, &OutputView::ScrollToNewest);
}

void OutputView::ScrollToNewest() {
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
    text_->horizontalScrollBar()->setValue(0);
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
