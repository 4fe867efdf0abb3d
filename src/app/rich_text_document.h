// Presentation pages on screen: the engine's rich text as a Qt text document.
#pragma once

#include "engine/rich_text.h"

class QTextDocument;

namespace app {

// Appends the paragraphs with their bold, italic, underline, size and colour.
void AppendRichText(QTextDocument& document, const engine::RichText& text);

}  // namespace app
