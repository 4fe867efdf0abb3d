// Formatted text of a presentation page, independent of any widget, and the split of such a
// page into the lesson text and the program after the marker "<programma>".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// One stretch of text with one look. Colour as red + 256*green + 65536*blue.
struct RichRun {
    std::string text;  // UTF-8; a line break inside a paragraph is "\n", a tab "\t"
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    std::optional<uint32_t> colour;  // empty: the automatic colour

    bool SameLook(const RichRun& other) const {
        return bold == other.bold && italic == other.italic && underline == other.underline &&
               halfPoints == other.halfPoints && colour == other.colour;
    }
};

struct RichParagraph {
    std::vector<RichRun> runs;
    std::string PlainText() const;
};

struct RichText {
    std::vector<RichParagraph> paragraphs;
    // Paragraphs joined with "\n" (no final line end).
    std::string PlainText() const;
};

// A presentation page: the text before the marker stays on the page; the text from the marker
// to the end, marker line included, is the program, one source line per paragraph or line.
struct Presentation {
    RichText page;
    std::vector<std::string> program;  // empty when the page has no marker
    bool hasProgram = false;
};

inline constexpr std::string_view kProgramMarker = "<programma>";

// The marker is found in any letter case, also when its characters have different looks.
Presentation SplitPresentation(RichText text);

}  // namespace engine
