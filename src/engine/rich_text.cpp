// Plain text of rich text and the split of a presentation page at its program marker.
#include "engine/rich_text.h"

#include <utility>

namespace engine {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte offset of the marker in `text`, ignoring ASCII letter case.
size_t FindMarker(const std::string& text) {
    const size_t length = kProgramMarker.size();
    for (size_t start = 0; start + length <= text.size(); ++start) {
        size_t k = 0;
        while (k < length && AsciiLower(text[start + k]) == kProgramMarker[k]) ++k;
        if (k == length) return start;
    }
    return std::string::npos;
}

// Keeps the first `length` bytes of the paragraph's text, with their looks.
void TruncateParagraph(RichParagraph& paragraph, size_t length) {
    size_t kept = 0;
    size_t count = 0;
    while (count < paragraph.runs.size() && kept < length) {
        RichRun& run = paragraph.runs[count];
        if (kept + run.text.size() > length) run.text.resize(length - kept);
        kept += run.text.size();
        ++count;
    }
    paragraph.runs.resize(count);
}

// Program lines of `text`; CR LF, a lone CR and LF all end a line.
void AppendLines(std::vector<std::string>& lines, const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    lines.push_back(std::move(line));
}

}  // namespace

std::string RichParagraph::PlainText() const {
    std::string text;
    for (const RichRun& run : runs) text += run.text;
    return text;
}

std::string RichText::PlainText() const {
    std::string text;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) text += '\n';
        text += paragraphs[i].PlainText();
    }
    return text;
}

Presentation SplitPresentation(RichText text) {
    Presentation presentation;
    std::vector<RichParagraph>& paragraphs = text.paragraphs;
    for (size_t index = 0; index < paragraphs.size(); ++index) {
        const std::string paragraphText = paragraphs[index].PlainText();
        const size_t marker = FindMarker(paragraphText);
        if (marker == std::string::npos) continue;
        presentation.hasProgram = true;
        AppendLines(presentation.program, paragraphText.substr(marker));
        for (size_t later = index + 1; later < paragraphs.size(); ++later) {
            AppendLines(presentation.program, paragraphs[later].PlainText());
        }
        TruncateParagraph(paragraphs[index], marker);
        // The marker at the start of a paragraph leaves no empty line behind on the page.
        paragraphs.resize(paragraphs[index].runs.empty() ? index : index + 1);
        break;
    }
    presentation.page = std::move(text);
    return presentation;
}

}  // namespace engine
