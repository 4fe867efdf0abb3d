// The program editor with its line-number margin.
#include "app/program_editor.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

namespace app {

namespace {

const QColor kMarginBackground(240, 240, 240);
const QColor kMarginText(120, 120, 120);
const QColor kErrorBackground(255, 210, 210);
const QColor kErrorNumber(190, 0, 0);
constexpr int kMarginPadding = 6;

}  // namespace

// The margin only paints; the editor knows the blocks and their places.
class LineNumberMargin : public QWidget {
public:
    explicit LineNumberMargin(ProgramEditor* editor) : QWidget(editor), editor_(editor) {}
    QSize sizeHint() const override { return {editor_->LineNumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_->PaintLineNumbers(event); }

private:
    ProgramEditor* editor_;
};

ProgramEditor::ProgramEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTabChangesFocus(false);
    margin_ = new LineNumberMargin(this);
    margin_->setObjectName("regelnummers");
    connect(this, &QPlainTextEdit::blockCountChanged, this, &ProgramEditor::UpdateMarginWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &ProgramEditor::UpdateMargin);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed != 0 || added != 0) ClearErrorLine();
    });
    UpdateMarginWidth();
}

int ProgramEditor::LineNumberWidth() const {
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10) ++digits;
    digits = std::max(digits, 3);
    return 2 * kMarginPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void ProgramEditor::UpdateMarginWidth() {
    setViewportMargins(LineNumberWidth(), 0, 0, 0);
}

void ProgramEditor::UpdateMargin(const QRect& rect, int dy) {
    if (dy != 0) {
        margin_->scroll(0, dy);
    } else {
        margin_->update(0, rect.y(), margin_->width(), rect.height());
    }
    if (rect.contains(viewport()->rect())) UpdateMarginWidth();
}

void ProgramEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    margin_->setGeometry(QRect(area.left(), area.top(), LineNumberWidth(), area.height()));
}

void ProgramEditor::PaintLineNumbers(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), kMarginBackground);
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    const int width = margin_->width() - kMarginPadding;
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            const bool error = block.blockNumber() == errorLine_;
            QFont font = painter.font();
            font.setBold(error);
            painter.setFont(font);
            painter.setPen(error ? kErrorNumber : kMarginText);
            painter.drawText(0, top, width, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}

void ProgramEditor::MarkErrorLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) return;
    errorLine_ = line;
    QTextCursor cursor(block);
    setTextCursor(cursor);
    centerCursor();
    ShowErrorSelection();
    margin_->update();
}

void ProgramEditor::ClearErrorLine() {
    if (errorLine_ < 0) return;
    errorLine_ = -1;
    setExtraSelections({});
    margin_->update();
}

std::optional<int> ProgramEditor::ErrorLine() const {
    if (errorLine_ < 0) return std::nullopt;
    return errorLine_;
}

void ProgramEditor::ShowErrorSelection() {
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(kErrorBackground);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.cursor = QTextCursor(document()->findBlockByNumber(errorLine_));
    selection.cursor.clearSelection();
    setExtraSelections({selection});
}

}  // namespace app
