// RTF tokenizer and reader: groups on an explicit stack instead of recursion, so deep nesting,
// huge \bin counts and binary garbage read in linear time and never exhaust the C++ stack.
#include "engine/rtf_reader.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/text_file.h"
#include "engine/utf8.h"

namespace engine {

namespace {

// Deeper groups share the state of the deepest one; real documents stay far below this.
constexpr size_t kMaxGroupDepth = 1000;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxHalfPoints = 3276;
// Control word parameters are 16 or 32 bits; longer digit strings are clamped, not wrapped.
constexpr long long kMaxParameter = 2147483647LL;
// More fallback bytes than this per \u character no writer uses; a hostile \uc only costs text.
constexpr int kMaxFallbackBytes = 16;
constexpr char32_t kReplacement = 0xFFFD;

// Windows-1250 code points for the bytes 0x80..0xFF; 0 marks an unused byte.
constexpr std::array<char32_t, 128> kCp1250High = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

// The Windows-1252 table lives with the text-file reader; taken from there once.
const std::u32string& Cp1252High() {
    static const std::u32string table = [] {
        std::string bytes;
        for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
        return DecodeUtf8(Windows1252ToUtf8(bytes));
    }();
    return table;
}

// A byte of the document's code page as a character; unknown code pages read as 1252.
char32_t CodePageCharacter(int codePage, unsigned char byte) {
    if (byte < 0x80) return byte;
    if (codePage == 1250) {
        const char32_t code = kCp1250High[byte - 0x80];
        return code != 0 ? code : byte;
    }
    return Cp1252High()[byte - 0x80];
}

enum class Destination { Text, Skip, ColourTable };

enum class Keyword {
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Page,
    Sect,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Hidden,
    Plain,
    FontSize,
    Colour,
    Red,
    Green,
    Blue,
    ColourTable,
    SkipDestination,
    Unicode,
    UnicodeSkip,
    AnsiCodePage,
    Ansi,
    Binary,
    Character,  // a named character such as \emdash
};

struct KeywordInfo {
    Keyword keyword;
    char32_t character = 0;
};

const std::unordered_map<std::string_view, KeywordInfo>& Keywords() {
    static const std::unordered_map<std::string_view, KeywordInfo> keywords = {
        {"par", {Keyword::Par}},
        {"line", {Keyword::Line}},
        {"tab", {Keyword::Tab}},
        {"cell", {Keyword::Cell}},
        {"nestcell", {Keyword::Cell}},
        {"row", {Keyword::Row}},
        {"nestrow", {Keyword::Row}},
        {"page", {Keyword::Page}},
        {"sect", {Keyword::Sect}},
        {"b", {Keyword::Bold}},
        {"i", {Keyword::Italic}},
        {"ul", {Keyword::Underline}},
        {"uld", {Keyword::Underline}},
        {"uldash", {Keyword::Underline}},
        {"uldashd", {Keyword::Underline}},
        {"uldashdd", {Keyword::Underline}},
        {"uldb", {Keyword::Underline}},
        {"ulhwave", {Keyword::Underline}},
        {"ulldash", {Keyword::Underline}},
        {"ulth", {Keyword::Underline}},
        {"ulw", {Keyword::Underline}},
        {"ulwave", {Keyword::Underline}},
        {"ulnone", {Keyword::UnderlineNone}},
        {"v", {Keyword::Hidden}},
        {"plain", {Keyword::Plain}},
        {"fs", {Keyword::FontSize}},
        {"cf", {Keyword::Colour}},
        {"red", {Keyword::Red}},
        {"green", {Keyword::Green}},
        {"blue", {Keyword::Blue}},
        {"colortbl", {Keyword::ColourTable}},
        {"u", {Keyword::Unicode}},
        {"uc", {Keyword::UnicodeSkip}},
        {"ansicpg", {Keyword::AnsiCodePage}},
        {"ansi", {Keyword::Ansi}},
        {"bin", {Keyword::Binary}},
        {"emdash", {Keyword::Character, 0x2014}},
        {"endash", {Keyword::Character, 0x2013}},
        {"bullet", {Keyword::Character, 0x2022}},
        {"lquote", {Keyword::Character, 0x2018}},
        {"rquote", {Keyword::Character, 0x2019}},
        {"ldblquote", {Keyword::Character, 0x201C}},
        {"rdblquote", {Keyword::Character, 0x201D}},
        {"emspace", {Keyword::Character, 0x2003}},
        {"enspace", {Keyword::Character, 0x2002}},
        // Groups whose text is not part of the page.
        {"fonttbl", {Keyword::SkipDestination}},
        {"stylesheet", {Keyword::SkipDestination}},
        {"info", {Keyword::SkipDestination}},
        {"pict", {Keyword::SkipDestination}},
        {"header", {Keyword::SkipDestination}},
        {"headerl", {Keyword::SkipDestination}},
        {"headerr", {Keyword::SkipDestination}},
        {"headerf", {Keyword::SkipDestination}},
        {"footer", {Keyword::SkipDestination}},
        {"footerl", {Keyword::SkipDestination}},
        {"footerr", {Keyword::SkipDestination}},
        {"footerf", {Keyword::SkipDestination}},
        {"fldinst", {Keyword::SkipDestination}},
        {"revtbl", {Keyword::SkipDestination}},
        {"listtable", {Keyword::SkipDestination}},
        {"listoverridetable", {Keyword::SkipDestination}},
        {"rsidtbl", {Keyword::SkipDestination}},
        {"pn", {Keyword::SkipDestination}},
        {"objdata", {Keyword::SkipDestination}},
        {"themedata", {Keyword::SkipDestination}},
        {"datastore", {Keyword::SkipDestination}},
    };
    return keywords;
}

struct GroupState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
    int halfPoints = kDefaultHalfPoints;
    int colourIndex = -1;  // -1: no \cf, the automatic colour
    int fallbackBytes = 1;
    Destination destination = Destination::Text;

    void ResetCharacterLook() {
        bold = italic = underline = hidden = false;
        halfPoints = kDefaultHalfPoints;
        colourIndex = -1;
    }
};

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes of plain ASCII text, copied in whole stretches: no brace, backslash, line end, other
// control byte or byte of the code page.
bool IsPlainByte(unsigned char c) {
    return c >= 0x20 && c < 0x80 && c != '{' && c != '}' && c != '\\';
}

class RtfParser {
public:
    RtfParser(const std::string& bytes, size_t start) : bytes_(bytes), pos_(start) {}

    RichText Parse() {
        const size_t size = bytes_.size();
        while (pos_ < size && !finished_) {
            const auto c = static_cast<unsigned char>(bytes_[pos_]);
            if (c == '{') {
                ++pos_;
                OpenGroup();
            } else if (c == '}') {
                ++pos_;
                CloseGroup();
            } else if (c == '\\') {
                ++pos_;
                ReadControl();
            } else if (IsPlainByte(c) && fallbackToSkip_ == 0 && Visible()) {
                size_t end = pos_ + 1;
                while (end < size && IsPlainByte(static_cast<unsigned char>(bytes_[end]))) ++end;
                Emit(std::string_view(bytes_).substr(pos_, end - pos_));
                pos_ = end;
            } else {
                ++pos_;
                // Line ends in the file are layout of the RTF text, not of the page.
                if (c != '\r' && c != '\n') TextByte(c);
            }
        }
        FlushSurrogate();
        if (!paragraph_.runs.empty()) EndParagraph();
        return std::move(text_);
    }

private:
    GroupState& State() { return stack_.back(); }
    // Groups nested deeper than the cap are skipped whole.
    bool InText() const {
        return overflowDepth_ == 0 && !stack_.empty() &&
               stack_.back().destination == Destination::Text;
    }
    bool Visible() const { return InText() && !stack_.back().hidden; }

    void OpenGroup() {
        fallbackToSkip_ = 0;  // a brace ends a \u fallback early
        if (stack_.size() >= kMaxGroupDepth) {
            ++overflowDepth_;
            return;
        }
        stack_.push_back(stack_.empty() ? GroupState{} : stack_.back());
    }

    void CloseGroup() {
        fallbackToSkip_ = 0;
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        if (!stack_.empty()) stack_.pop_back();
        // The document group is closed: whatever follows is not part of it.
        if (stack_.empty()) finished_ = true;
    }

    // Bytes of a \u fallback are dropped; true when this one was.
    bool SkipFallback() {
        if (fallbackToSkip_ == 0) return false;
        --fallbackToSkip_;
        return true;
    }

    void ReadControl() {
        const size_t size = bytes_.size();
        if (pos_ >= size) return;
        const auto first = static_cast<unsigned char>(bytes_[pos_]);
        if (!IsLetter(first)) {
            ++pos_;
            ControlSymbol(first);
            return;
        }
        const size_t nameStart = pos_;
        while (pos_ < size && IsLetter(static_cast<unsigned char>(bytes_[pos_]))) ++pos_;
        const std::string_view name = std::string_view(bytes_).substr(nameStart, pos_ - nameStart);
        bool negative = false;
        if (pos_ + 1 < size && bytes_[pos_] == '-' &&
            IsDigit(static_cast<unsigned char>(bytes_[pos_ + 1]))) {
            negative = true;
            ++pos_;
        }
        bool hasParameter = false;
        long long parameter = 0;
        while (pos_ < size && IsDigit(static_cast<unsigned char>(bytes_[pos_]))) {
            hasParameter = true;
            parameter = std::min(kMaxParameter, parameter * 10 + (bytes_[pos_] - '0'));
            ++pos_;
        }
        if (negative) parameter = -parameter;
        if (pos_ < size && bytes_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
        ControlWord(name, hasParameter, parameter);
    }

    void ControlSymbol(unsigned char symbol) {
        switch (symbol) {
            case '\'': {
                const size_t size = bytes_.size();
                int value = -1;
                if (pos_ + 1 < size) {
                    const int high = HexValue(static_cast<unsigned char>(bytes_[pos_]));
                    const int low = HexValue(static_cast<unsigned char>(bytes_[pos_ + 1]));
                    if (high >= 0 && low >= 0) {
                        value = high * 16 + low;
                        pos_ += 2;
                    }
                }
                if (value >= 0) TextByte(static_cast<unsigned char>(value));
                return;
            }
            case '\\':
            case '{':
            case '}':
                TextByte(symbol);
                return;
            case '*':
                if (!stack_.empty() && overflowDepth_ == 0) State().destination = Destination::Skip;
                return;
            case '\r':
            case '\n':
                // A backslash before a line end is an old spelling of \par.
                if (!SkipFallback() && InText()) EndParagraph();
                return;
            default:
                break;
        }
        if (SkipFallback()) return;
        switch (symbol) {
            case '~':
                Character(0x00A0);
                return;
            case '_':
                // A non-breaking hyphen reads as a plain one, so copied formulas still parse.
                Character('-');
                return;
            default:
                // \- (optional hyphen) and the others have no visible text.
                return;
        }
    }

    void ControlWord(std::string_view name, bool hasParameter, long long parameter) {
        const auto found = Keywords().find(name);
        if (found != Keywords().end() && found->second.keyword == Keyword::Binary) {
            // Raw bytes that must not be read as RTF, in any destination.
            const size_t count = hasParameter && parameter > 0 ? static_cast<size_t>(parameter) : 0;
            pos_ += std::min(count, bytes_.size() - pos_);
            SkipFallback();
            return;
        }
        if (SkipFallback() || stack_.empty() || overflowDepth_ > 0 || found == Keywords().end()) {
            return;
        }
        GroupState& state = State();
        const bool on = !hasParameter || parameter != 0;
        const int value = static_cast<int>(std::clamp(parameter, -kMaxParameter, kMaxParameter));
        switch (found->second.keyword) {
            case Keyword::Par:
                if (InText()) EndParagraph();
                break;
            case Keyword::Line:
            case Keyword::Page:
                if (Visible()) Emit("\n");
                break;
            case Keyword::Tab:
                if (Visible()) Emit("\t");
                break;
            case Keyword::Cell:
                // The tab goes in only before the next cell's text, so a row ends without one.
                if (InText()) ++pendingCells_;
                break;
            case Keyword::Row:
                if (InText()) {
                    pendingCells_ = 0;
                    EndParagraph();
                }
                break;
            case Keyword::Sect:
                if (InText() && !paragraph_.runs.empty()) EndParagraph();
                break;
            case Keyword::Bold:
                state.bold = on;
                break;
            case Keyword::Italic:
                state.italic = on;
                break;
            case Keyword::Underline:
                state.underline = on;
                break;
            case Keyword::UnderlineNone:
                state.underline = false;
                break;
            case Keyword::Hidden:
                state.hidden = on;
                break;
            case Keyword::Plain:
                state.ResetCharacterLook();
                break;
            case Keyword::FontSize:
                state.halfPoints = hasParameter && value > 0 ? std::min(value, kMaxHalfPoints)
                                                             : kDefaultHalfPoints;
                break;
            case Keyword::Colour:
                state.colourIndex = hasParameter ? std::max(value, 0) : -1;
                break;
            case Keyword::Red:
            case Keyword::Green:
            case Keyword::Blue:
                if (state.destination == Destination::ColourTable) {
                    const uint32_t component = static_cast<uint32_t>(std::clamp(value, 0, 255));
                    const int shift = found->second.keyword == Keyword::Red     ? 0
                                      : found->second.keyword == Keyword::Green ? 8
                                                                                : 16;
                    colourEntry_ =
                        (colourEntry_.value_or(0) & ~(0xFFu << shift)) | (component << shift);
                }
                break;
            case Keyword::ColourTable:
                state.destination = Destination::ColourTable;
                colours_.clear();
                colourEntry_.reset();
                break;
            case Keyword::SkipDestination:
                state.destination = Destination::Skip;
                break;
            case Keyword::Unicode:
                if (hasParameter) {
                    // Values above 32767 are written as negative 16-bit numbers.
                    const long long code = parameter < 0 ? parameter + 65536 : parameter;
                    Character(code < 0 || code > 0x10FFFF ? kReplacement
                                                          : static_cast<char32_t>(code));
                    fallbackToSkip_ = state.fallbackBytes;
                }
                break;
            case Keyword::UnicodeSkip:
                state.fallbackBytes = std::clamp(value, 0, kMaxFallbackBytes);
                break;
            case Keyword::AnsiCodePage:
                if (hasParameter) codePage_ = value;
                break;
            case Keyword::Ansi:
                codePage_ = 1252;
                break;
            case Keyword::Character:
                Character(found->second.character);
                break;
            case Keyword::Binary:
                break;
        }
    }

    // A byte of text in the document's code page (raw, or written as \'hh).
    void TextByte(unsigned char byte) {
        if (SkipFallback() || stack_.empty() || overflowDepth_ > 0) return;
        if (State().destination == Destination::ColourTable) {
            if (byte == ';') {
                colours_.push_back(colourEntry_);
                colourEntry_.reset();
            }
            return;
        }
        Character(CodePageCharacter(codePage_, byte));
    }

    // One decoded character for the page; pairs UTF-16 surrogates written as two \u.
    void Character(char32_t c) {
        if (!Visible()) return;
        if (c >= 0xDC00 && c <= 0xDFFF) {
            if (highSurrogate_ != 0) {
                const char32_t combined =
                    0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
                highSurrogate_ = 0;
                EmitCharacter(combined);
            } else {
                EmitCharacter(kReplacement);
            }
            return;
        }
        if (c >= 0xD800 && c <= 0xDBFF) {
            FlushSurrogate();
            highSurrogate_ = c;
            return;
        }
        if (c == '\n' && lastWasCarriageReturn_) {
            lastWasCarriageReturn_ = false;
            return;
        }
        if (c == '\r' || c == '\n') {
            EmitCharacter('\n');
            lastWasCarriageReturn_ = c == '\r';
            return;
        }
        // Other control characters (a NUL from \'00, say) have no place in the text.
        if ((c < 0x20 && c != '\t') || (c >= 0x7F && c < 0xA0)) return;
        EmitCharacter(c);
    }

    void EmitCharacter(char32_t c) {
        std::string utf8;
        AppendUtf8(utf8, c);
        Emit(utf8);
    }

    // A lone high surrogate becomes a replacement character rather than vanishing.
    void FlushSurrogate() {
        if (highSurrogate_ == 0) return;
        highSurrogate_ = 0;
        EmitCharacter(kReplacement);
    }

    // Appends UTF-8 text to the paragraph in the current look.
    void Emit(std::string_view utf8) {
        FlushSurrogate();
        lastWasCarriageReturn_ = false;
        static const GroupState kOutside;
        const GroupState& state = stack_.empty() ? kOutside : stack_.back();
        RichRun look;
        look.bold = state.bold;
        look.italic = state.italic;
        look.underline = state.underline;
        look.halfPoints = state.halfPoints;
        if (state.colourIndex >= 0 && static_cast<size_t>(state.colourIndex) < colours_.size()) {
            look.colour = colours_[static_cast<size_t>(state.colourIndex)];
        }
        std::vector<RichRun>& runs = paragraph_.runs;
        if (runs.empty() || !runs.back().SameLook(look)) runs.push_back(std::move(look));
        std::string& text = runs.back().text;
        text.append(static_cast<size_t>(pendingCells_), '\t');
        pendingCells_ = 0;
        text.append(utf8);
    }

    void EndParagraph() {
        FlushSurrogate();
        pendingCells_ = 0;
        text_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RichParagraph();
    }

    const std::string& bytes_;
    size_t pos_;
    std::vector<GroupState> stack_;
    size_t overflowDepth_ = 0;  // groups opened beyond kMaxGroupDepth and not yet closed
    bool finished_ = false;
    int fallbackToSkip_ = 0;
    int codePage_ = 1252;
    char32_t highSurrogate_ = 0;
    bool lastWasCarriageReturn_ = false;
    int pendingCells_ = 0;
    std::vector<std::optional<uint32_t>> colours_;
    std::optional<uint32_t> colourEntry_;
    RichParagraph paragraph_;
    RichText text_;
};

}  // namespace

RichText ReadRtf(const std::string& bytes) {
    size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                    bytes[start] == '\r' || bytes[start] == '\n')) {
        ++start;
    }
    if (bytes.compare(start, 5, "{\\rtf") != 0) {
        throw RtfError("Dit is geen RTF-bestand: het begint niet met {\\rtf.");
    }
    return RtfParser(bytes, start).Parse();
}

Presentation ReadPresentation(const std::string& path) {
    std::string problem;
    const auto bytes = ReadFileBytes(path, &problem);
    if (!bytes) throw RtfError(WithProblem("Kan " + path + " niet lezen", problem));
    return SplitPresentation(ReadRtf(*bytes));
}

}  // namespace engine
