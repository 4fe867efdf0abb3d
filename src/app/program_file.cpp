// Program files, loaded and saved in their own encoding and line ends.
#include "app/program_file.h"

#include <QString>
#include <array>

#include "engine/text_file.h"
#include "export/whole_file.h"

namespace app {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// The characters of the bytes 0x80..0x9F in Windows-1252.
constexpr std::array<char32_t, 32> kHighCharacters = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// False when a character has no Windows-1252 byte.
bool ToWindows1252(const std::string& utf8, std::string& out) {
    out.clear();
    for (const char32_t c : QString::fromStdString(utf8).toStdU32String()) {
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            out += static_cast<char>(c);
            continue;
        }
        size_t i = 0;
        while (i < kHighCharacters.size() && kHighCharacters[i] != c) ++i;
        if (i == kHighCharacters.size() || c == 0) return false;
        out += static_cast<char>(0x80 + i);
    }
    return true;
}

std::string WithLineEnds(const std::string& text, const std::string& lineEnd) {
    if (lineEnd == "\n") return text;
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            out += lineEnd;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string ProgramFile::Load(const std::string& path) {
    std::string problem;
    const auto bytes = engine::ReadFileBytes(path, &problem, kMaxBytes);
    if (!bytes) return engine::WithProblem("Kan " + path + " niet openen", problem);
    const engine::DecodedText decoded = engine::DecodeText(*bytes);
    if (decoded.text.find('\0') != std::string::npos) {
        return "Het bestand " + path +
               " is geen tekstbestand en kan niet als programma geopend "
               "worden";
    }

    std::string text;
    text.reserve(decoded.text.size());
    size_t crlf = 0, lf = 0, cr = 0;
    for (size_t i = 0; i < decoded.text.size(); ++i) {
        const char c = decoded.text[i];
        if (c == '\r') {
            if (i + 1 < decoded.text.size() && decoded.text[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
            text += '\n';
        } else {
            if (c == '\n') ++lf;
            text += c;
        }
    }
    const bool finalLineEnd = !text.empty() && text.back() == '\n';
    if (finalLineEnd) text.pop_back();

    path_ = path;
    bytes_ = *bytes;
    text_ = std::move(text);
    encoding_ = decoded.encoding;
    byteOrderMark_ = decoded.byteOrderMark;
    lineEnd_ = crlf >= lf && crlf >= cr ? "\r\n" : lf >= cr ? "\n" : "\r";
    if (crlf + lf + cr == 0) lineEnd_ = "\n";
    finalLineEnd_ = finalLineEnd || text_.empty();
    return {};
}

std::string ProgramFile::Encode(const std::string& text) const {
    engine::TextEncoding encoding = encoding_;
    return Encode(text, encoding);
}

std::string ProgramFile::Encode(const std::string& text, engine::TextEncoding& encoding) const {
    if (!path_.empty() && text == text_) return bytes_;
    std::string body = WithLineEnds(text, lineEnd_);
    if (finalLineEnd_ && !text.empty()) body += lineEnd_;
    using engine::TextEncoding;
    std::string narrow;
    switch (encoding) {
        case TextEncoding::Windows1252:
            if (ToWindows1252(body, narrow)) return narrow;
            // A character that Windows-1252 cannot hold turns the file into UTF-8.
            encoding = TextEncoding::Utf8;
            return body;
        case TextEncoding::Utf16LittleEndian:
            return "\xFF\xFE" + engine::Utf8ToUtf16(body, false);
        case TextEncoding::Utf16BigEndian:
            return "\xFE\xFF" + engine::Utf8ToUtf16(body, true);
        case TextEncoding::Utf8:
            break;
    }
    return byteOrderMark_ ? kByteOrderMark + body : body;
}

bool ProgramFile::Save(const std::string& path, const std::string& text) {
    engine::TextEncoding encoding = encoding_;
    std::string bytes = Encode(text, encoding);
    if (!exporter::WriteWholeFile(path, bytes)) return false;
    path_ = path;
    bytes_ = std::move(bytes);
    text_ = text;
    encoding_ = encoding;
    return true;
}

}  // namespace app
