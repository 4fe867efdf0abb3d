// The plot settings that the main window shows (ranges, functions, axes, colours)
// as a plain model, with program setting lines and the preferences file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace engine {

using Colour = uint32_t;

enum class AxesPlacement { Sides, Middle, None };

// A setting value that does not read as a number.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A range whose lower bound is not below its upper bound.
class RangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A colour or width that a program may fix for its runs, else the window's swatch.
template <typename T>
struct Swatch {
    T own{};                 // what the window's swatch shows
    std::optional<T> fixed;  // set by the running program
    T Effective() const { return fixed.value_or(own); }
    bool Enabled() const { return !fixed.has_value(); }
};

struct PlotSettings {
    std::string xmin = "-5", xmax = "5", ymin = "-5", ymax = "5";
    std::array<std::string, 4> functions;  // F, G, H, I
    std::string xLabel = "x", yLabel = "y";
    bool showXLabel = false, showYLabel = false;
    bool grid = false, ticks = true, numbers = true;
    std::optional<AxesPlacement> placement = AxesPlacement::Middle;
    Swatch<Colour> gridColour{15132390, {}};
    Swatch<Colour> axesColour{0, {}};
    Swatch<int> axesWidth{1, {}};
    std::array<Colour, 4> graphColours{0, 0, 0, 0};
    std::array<int, 4> graphWidths{1, 1, 1, 1};
    int formWidth = 800, formHeight = 600;
    bool transparentGifs = true;

    // Recognised only in programs, for the run that reads them.
    bool reset = true;
    bool checking = true;
    std::string hint;
};

// The value of `key` in key=value lines: the text after the first "=" of the first
// line whose key matches without regard to case; empty counts as absent.
std::optional<std::string> LookupSetting(const std::vector<std::string>& lines,
                                         const std::string& key);

// Applies a program's setting lines (start of every run). Throws ConversionError.
void ApplyProgramSettings(const std::vector<std::string>& lines, PlotSettings& settings);

// Applies preferences lines. A key whose number does not read keeps its value; the
// returned texts say which ones (empty when all was well).
std::vector<std::string> ApplyPreferences(const std::vector<std::string>& lines,
                                          PlotSettings& settings);

// Before a new program is loaded: F..I empty and the axes as a fresh window has
// them, so nothing of an earlier program draws through the new one.
void ResetForNewProgram(PlotSettings& settings);

// The preferences lines, in the file's fixed key order.
std::vector<std::string> PreferencesLines(const PlotSettings& settings);

inline constexpr const char* kPreferencesFile = "voorkeuren.txt";
inline constexpr const char* kPreferencesNotSaved =
    "Geen toegang tot voorkeuren, voorkeuren niet opgeslagen";

}  // namespace engine
