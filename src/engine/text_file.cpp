// Whole-file text reading (bounded, regular files only) and atomic writing.
#include "engine/text_file.h"

#include "engine/utf8.h"
#include "export/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace engine {

namespace {

// Windows-1252 code points for the bytes 0x80..0x9F; 0 marks an unused byte.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

bool IsValidUtf8(const std::string& bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int extra;
        char32_t min;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= n) return false;
        char32_t code = c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            code = (code << 6) | (d & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

std::string Windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else if (c < 0xA0) {
            const char32_t code = kCp1252High[c - 0x80];
            AppendUtf8(out, code != 0 ? code : c);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

DecodedText DecodeText(const std::string& bytes) {
    DecodedText out;
    const auto startsWith = [&bytes](const char* mark) { return bytes.rfind(mark, 0) == 0; };
    if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        out.encoding = bigEndian ? TextEncoding::Utf16BigEndian : TextEncoding::Utf16LittleEndian;
        out.byteOrderMark = true;
        std::u32string characters;
        for (size_t i = 2; i < bytes.size(); i += 2) {
            // An odd last byte is half a character.
            if (i + 1 == bytes.size()) {
                characters += kReplacement;
                break;
            }
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            characters +=
                static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
        }
        // Surrogate pairs become one character; a lone half is replaced.
        for (size_t i = 0; i < characters.size(); ++i) {
            const char32_t c = characters[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < characters.size() &&
                characters[i + 1] >= 0xDC00 && characters[i + 1] < 0xE000) {
                AppendUtf8(out.text, 0x10000 + ((c - 0xD800) << 10) + (characters[++i] - 0xDC00));
            } else {
                AppendUtf8(out.text, c >= 0xD800 && c < 0xE000 ? kReplacement : c);
            }
        }
        return out;
    }
    out.byteOrderMark = startsWith("\xEF\xBB\xBF");
    std::string body = out.byteOrderMark ? bytes.substr(3) : bytes;
    if (IsValidUtf8(body)) {
        out.text = std::move(body);
    } else {
        out.encoding = TextEncoding::Windows1252;
        out.text = Windows1252ToUtf8(body);
    }
    return out;
}

std::string Utf8ToUtf16(const std::string& text, bool bigEndian) {
    std::string out;
    const auto append = [&out, bigEndian](char32_t unit) {
        const auto high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (const char32_t c : DecodeUtf8(text)) {
        if (c < 0x10000) {
            append(c);
        } else {
            append(0xD800 + ((c - 0x10000) >> 10));
            append(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::vector<std::string> SplitTextLines(const std::string& bytes) {
    const std::string text = DecodeText(bytes).text;
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::string* problem,
                                         size_t maxBytes) {
    // Not blocking: opening a FIFO would otherwise wait for a writer.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    std::optional<std::string> why;
    std::string bytes;
    struct stat info {};
    if (descriptor < 0) {
        why = errno == ENOENT ? "het bestand bestaat niet" : errno == EACCES ? "geen toegang" : "";
    } else if (::fstat(descriptor, &info) != 0) {
        why = "";
    } else if (S_ISDIR(info.st_mode)) {
        why = "het is een map";
    } else if (!S_ISREG(info.st_mode)) {
        why = "het is geen gewoon bestand";
    } else {
        // Read to the end whatever the size says: it may change, or lie as in /proc.
        std::array<char, 65536> chunk;
        while (!why) {
            const ssize_t got = ::read(descriptor, chunk.data(), chunk.size());
            if (got == 0) break;
            if (got < 0) {
                if (errno != EINTR) why = "";
                continue;
            }
            bytes.append(chunk.data(), static_cast<size_t>(got));
            if (bytes.size() > maxBytes) {
                why = "het bestand is te groot (meer dan " +
                      std::to_string(maxBytes / (1024 * 1024)) + " MB)";
            }
        }
    }
    if (descriptor >= 0) ::close(descriptor);
    if (!why) return bytes;
    if (problem != nullptr) *problem = *why;
    return std::nullopt;
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path,
                                                      std::string* problem) {
    auto bytes = ReadFileBytes(path, problem);
    if (!bytes) return std::nullopt;
    return SplitTextLines(*bytes);
}

std::string WithProblem(const std::string& message, const std::string& problem) {
    return problem.empty() ? message : message + ": " + problem;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    const std::string& lineEnd) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += lineEnd;
    }
    return exporter::WriteWholeFile(path, bytes);
}

}  // namespace engine
