// Colours in the program editor: command words, setting lines and comments.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace app {

class ProgramHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit ProgramHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat command_;
    QTextCharFormat setting_;
    QTextCharFormat comment_;
};

}  // namespace app
