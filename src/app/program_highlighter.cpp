// The program editor's highlighter.
#include "app/program_highlighter.h"

#include <QRegularExpression>

#include "app/command_hints.h"

namespace app {

ProgramHighlighter::ProgramHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    command_.setForeground(QColor(0, 0, 160));
    command_.setFontWeight(QFont::Bold);
    setting_.setForeground(QColor(0, 110, 110));
    comment_.setForeground(QColor(110, 110, 110));
    comment_.setFontItalic(true);
}

void ProgramHighlighter::highlightBlock(const QString& text) {
    const qsizetype start = text.indexOf(QRegularExpression("\\S"));
    if (start < 0) return;
    if (text[start] == '%') {
        setFormat(static_cast<int>(start), static_cast<int>(text.size() - start), comment_);
        return;
    }
    const std::string line = text.toStdString();
    const std::string word = CommandWordOf(line);
    if (!word.empty()) {
        if (IsCommandWord(word)) {
            setFormat(static_cast<int>(start),
                      static_cast<int>(QString::fromStdString(word).size()), command_);
        }
        return;
    }
    const qsizetype equals = text.indexOf('=');
    if (equals > 0 && text.indexOf(":=") < 0 && IsSettingKey(text.left(equals).toStdString())) {
        setFormat(0, static_cast<int>(text.size()), setting_);
    }
}

}  // namespace app
