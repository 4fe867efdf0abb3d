// The program interface: the sliders, text fields, selection box and "Verder"
// button that programs take over, as a plain model. It lives from run to run; the
// main window shows it and writes the user's changes back.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace engine {

using Real = long double;

struct Slider {
    static constexpr int kMinimum = -100;
    static constexpr int kMaximum = 100;

    int position = 0;
    std::string variable;  // empty: the slider sets the parameter a or b of F..I
    Real minimum = 0;
    Real maximum = 0;
    bool visible = false;
    std::optional<int> left;  // pixel column given by `interface`
    std::string label;

    // min at position -100, max at 100, linear in between.
    Real Value() const;
};

struct TextField {
    std::string text;
    std::string caption;
    bool visible = false;
    bool enabled = false;  // fields 2 and 3 only after `interface`; field 1 always
    std::optional<int> left;
};

struct SelectionBox {
    std::vector<std::string> items;
    std::string text;
    bool visible = false;
    std::optional<int> left;
};

struct ProgramInterface {
    static constexpr const char* kContinueCaption = "Verder";

    std::array<Slider, 2> sliders;
    std::array<TextField, 3> fields;
    SelectionBox selection;
    std::string continueCaption = kContinueCaption;
    bool continueVisible = false;
    // "Sch&uifbalken": shows the sliders of a and b; `interface` disables the item.
    bool slidersItemEnabled = true;
    bool slidersShown = false;
    // Cleared when a program takes slider 1 over: the run then leaves a and b alone.
    bool trackBarParameters = true;

    ProgramInterface();
    // Back to rest ("Mee&r..."): nothing taken over, everything hidden and empty.
    void Reset();
    // The field for a field number 1..3 that a program may use; null otherwise.
    TextField* UsableField(Real number);
};

}  // namespace engine
