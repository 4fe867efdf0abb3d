// Rich text into a QTextDocument.
#include "app/rich_text_document.h"

#include <QColor>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace app {

void AppendRichText(QTextDocument& document, const engine::RichText& text) {
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    bool first = document.isEmpty();
    for (const engine::RichParagraph& paragraph : text.paragraphs) {
        if (!first) cursor.insertBlock();
        first = false;
        for (const engine::RichRun& run : paragraph.runs) {
            QTextCharFormat format;
            format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(run.italic);
            format.setFontUnderline(run.underline);
            if (run.halfPoints > 0) format.setFontPointSize(run.halfPoints / 2.0);
            if (run.colour) {
                const uint32_t c = *run.colour;
                format.setForeground(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
            }
            // A line break inside a paragraph stays one paragraph on screen.
            QString chunk = QString::fromStdString(run.text);
            chunk.replace('\n', QChar::LineSeparator);
            cursor.insertText(chunk, format);
        }
    }
}

}  // namespace app
