// Setting lines of programs and the preferences file.
#include "engine/plot_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <type_traits>

namespace engine {

namespace {

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

long long ToInteger(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.erase(0, 1);
    const char* begin = trimmed.data();
    if (!trimmed.empty() && trimmed.front() == '+') ++begin;
    long long value = 0;
    const auto [end, error] = std::from_chars(begin, trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size() || trimmed.empty()) {
        throw ConversionError("'" + text + "' is geen geldig geheel getal");
    }
    return value;
}

Colour ToColour(const std::string& text) {
    return static_cast<Colour>(ToInteger(text));
}
int ToInt(const std::string& text) {
    return static_cast<int>(ToInteger(text));
}

void ApplyAxisOptions(const std::string& letters, PlotSettings& s) {
    // Lower case switches off first, then upper case switches on.
    if (letters.find('r') != std::string::npos) s.grid = false;
    if (letters.find('s') != std::string::npos) s.ticks = false;
    if (letters.find('g') != std::string::npos) s.numbers = false;
    if (letters.find('R') != std::string::npos) s.grid = true;
    if (letters.find('S') != std::string::npos) s.ticks = true;
    if (letters.find('G') != std::string::npos) s.numbers = true;
}

void ApplyPlacement(const std::string& value, PlotSettings& s) {
    if (value == "geen") s.placement = AxesPlacement::None;
    if (value == "midden") s.placement = AxesPlacement::Middle;
    if (value == "zijden") s.placement = AxesPlacement::Sides;
}

void ApplyRangesAndFunctions(const std::vector<std::string>& lines, PlotSettings& s) {
    const std::pair<const char*, std::string*> texts[] = {
        {"xmax", &s.xmax},      {"xmin", &s.xmin},      {"ymax", &s.ymax},
        {"ymin", &s.ymin},      {"F", &s.functions[0]}, {"G", &s.functions[1]},
        {"H", &s.functions[2]}, {"I", &s.functions[3]},
    };
    for (const auto& [key, field] : texts) {
        if (auto v = LookupSetting(lines, key)) *field = *v;
    }
}

const char* const kFunctionNames[] = {"F", "G", "H", "I"};

// A value on one line of the preferences file: each line break (CRLF, LF or CR)
// becomes a space, so that no part of it reads back as a key of its own.
std::string OneLine(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        out += value[i] == '\r' || value[i] == '\n' ? ' ' : value[i];
    }
    return out;
}

}  // namespace

std::optional<std::string> LookupSetting(const std::vector<std::string>& lines,
                                         const std::string& key) {
    for (const auto& line : lines) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (EqualsIgnoreCase(line.substr(0, eq), key)) {
            std::string value = line.substr(eq + 1);
            if (value.empty()) return std::nullopt;
            return value;
        }
    }
    return std::nullopt;
}

void ApplyProgramSettings(const std::vector<std::string>& lines, PlotSettings& s) {
    ApplyRangesAndFunctions(lines, s);
    if (auto v = LookupSetting(lines, "xlabel")) {
        s.showXLabel = true;
        s.xLabel = *v;
    }
    if (auto v = LookupSetting(lines, "ylabel")) {
        s.showYLabel = true;
        s.yLabel = *v;
    }
    s.reset = LookupSetting(lines, "reset") != std::optional<std::string>("nee");
    s.hint = LookupSetting(lines, "hint").value_or("");
    s.checking = LookupSetting(lines, "checking") != std::optional<std::string>("nee");
    if (auto v = LookupSetting(lines, "asopties")) ApplyAxisOptions(*v, s);
    if (auto v = LookupSetting(lines, "assen")) ApplyPlacement(*v, s);

    const auto grid = LookupSetting(lines, "roosterkleur");
    s.gridColour.fixed = grid ? std::optional<Colour>(ToColour(*grid)) : std::nullopt;
    const auto axes = LookupSetting(lines, "askleur");
    s.axesColour.fixed = axes ? std::optional<Colour>(ToColour(*axes)) : std::nullopt;
    const auto width = LookupSetting(lines, "asdikte");
    s.axesWidth.fixed = width ? std::optional<int>(ToInt(*width)) : std::nullopt;
}

std::vector<std::string> ApplyPreferences(const std::vector<std::string>& lines, PlotSettings& s) {
    std::vector<std::string> problems;
    // Sets `field` from the key's number; a bad number is reported and changes nothing.
    const auto number = [&](const std::string& key, auto& field) {
        const auto value = LookupSetting(lines, key);
        if (!value) return;
        try {
            field = static_cast<std::remove_reference_t<decltype(field)>>(ToInteger(*value));
        } catch (const ConversionError& error) {
            problems.push_back(key + ": " + error.what());
        }
    };
    ApplyRangesAndFunctions(lines, s);
    if (auto v = LookupSetting(lines, "xlabel")) s.xLabel = *v;
    if (auto v = LookupSetting(lines, "ylabel")) s.yLabel = *v;
    if (LookupSetting(lines, "toonxlabel") == std::optional<std::string>("ja")) s.showXLabel = true;
    if (LookupSetting(lines, "toonylabel") == std::optional<std::string>("ja")) s.showYLabel = true;
    if (auto v = LookupSetting(lines, "asopties")) ApplyAxisOptions(*v, s);
    if (auto v = LookupSetting(lines, "assen")) ApplyPlacement(*v, s);
    if (auto v = LookupSetting(lines, "transparantegifs")) {
        if (*v == "ja") s.transparentGifs = true;
        if (*v == "nee") s.transparentGifs = false;
    }
    number("roosterkleur", s.gridColour.own);
    s.gridColour.fixed.reset();
    number("askleur", s.axesColour.own);
    s.axesColour.fixed.reset();
    number("asdikte", s.axesWidth.own);
    for (int i = 0; i < 4; ++i) {
        const std::string name = kFunctionNames[i];
        number(name + "kleur", s.graphColours[i]);
        number(name + "dikte", s.graphWidths[i]);
    }
    number("formulierbreedte", s.formWidth);
    number("formulierhoogte", s.formHeight);
    return problems;
}

void ResetForNewProgram(PlotSettings& settings) {
    const PlotSettings fresh;
    settings.functions = fresh.functions;
    settings.xLabel = fresh.xLabel;
    settings.yLabel = fresh.yLabel;
    settings.showXLabel = fresh.showXLabel;
    settings.showYLabel = fresh.showYLabel;
    settings.grid = fresh.grid;
    settings.ticks = fresh.ticks;
    settings.numbers = fresh.numbers;
    settings.placement = fresh.placement;
}

std::vector<std::string> PreferencesLines(const PlotSettings& s) {
    std::vector<std::string> lines = {
        "xmin=" + OneLine(s.xmin),
        "xmax=" + OneLine(s.xmax),
        "ymin=" + OneLine(s.ymin),
        "ymax=" + OneLine(s.ymax),
        "F=" + OneLine(s.functions[0]),
        "G=" + OneLine(s.functions[1]),
        "H=" + OneLine(s.functions[2]),
        "I=" + OneLine(s.functions[3]),
        "xlabel=" + OneLine(s.xLabel),
        "ylabel=" + OneLine(s.yLabel),
        std::string("toonxlabel=") + (s.showXLabel ? "ja" : "nee"),
        std::string("toonylabel=") + (s.showYLabel ? "ja" : "nee"),
        std::string("asopties=") + (s.grid ? 'R' : 'r') + (s.ticks ? 'S' : 's') +
            (s.numbers ? 'G' : 'g'),
    };
    if (s.placement) {
        const char* word = *s.placement == AxesPlacement::Sides    ? "zijden"
                           : *s.placement == AxesPlacement::Middle ? "midden"
                                                                   : "geen";
        lines.push_back(std::string("assen=") + word);
    }
    lines.push_back("roosterkleur=" + std::to_string(s.gridColour.own));
    lines.push_back("askleur=" + std::to_string(s.axesColour.own));
    lines.push_back("asdikte=" + std::to_string(s.axesWidth.own));
    for (int i = 0; i < 4; ++i) {
        lines.push_back(std::string(kFunctionNames[i]) +
                        "kleur=" + std::to_string(s.graphColours[i]));
    }
    for (int i = 0; i < 4; ++i) {
        lines.push_back(std::string(kFunctionNames[i]) +
                        "dikte=" + std::to_string(s.graphWidths[i]));
    }
    lines.push_back("formulierbreedte=" + std::to_string(s.formWidth));
    lines.push_back("formulierhoogte=" + std::to_string(s.formHeight));
    lines.push_back(std::string("transparantegifs=") + (s.transparentGifs ? "ja" : "nee"));
    return lines;
}

}  // namespace engine
