// The program editor: a fixed-pitch text editor with line numbers in a margin, which
// can mark the line where a run failed.
#pragma once

#include <QPlainTextEdit>
#include <optional>

namespace app {

class ProgramEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ProgramEditor(QWidget* parent = nullptr);

    // Marks line `line` (0-based) as the one that failed, puts the caret at its start
    // and scrolls it into view. The mark goes at the next compile or edit of the text.
    void MarkErrorLine(int line);
    void ClearErrorLine();
    std::optional<int> ErrorLine() const;
    int LineNumberWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class LineNumberMargin;
    void PaintLineNumbers(QPaintEvent* event);
    void UpdateMarginWidth();
    void UpdateMargin(const QRect& rect, int dy);
    void ShowErrorSelection();

    QWidget* margin_ = nullptr;
    int errorLine_ = -1;
};

}  // namespace app
