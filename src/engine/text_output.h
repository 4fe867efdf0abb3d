// The two places programs write text to: the text panel beside the plot and the
// output window. Plain models; the windows show them.
#pragma once

#include <string>
#include <vector>

namespace engine {

// The text panel: a fixed part (a presentation's text) followed by program output.
class TextPanel {
public:
    const std::string& Text() const { return text_; }
    // Replaces everything, all of it fixed.
    void SetFixedText(std::string text) {
        text_ = std::move(text);
        fixedLength_ = text_.size();
    }
    // Removes the previous run's output.
    void CutBackToFixedPart() { text_.resize(fixedLength_); }
    void AppendToLastLine(const std::string& text) {
        CheckRoom(text.size());
        text_ += text;
    }
    void AddLine(const std::string& line) {
        CheckRoom(line.size() + 1);
        if (!text_.empty()) text_ += '\n';
        text_ += line;
    }
    // The lines written by the program (after the fixed part).
    std::vector<std::string> ProgramLines() const;

private:
    void CheckRoom(size_t more) const;

    std::string text_;
    size_t fixedLength_ = 0;
};

// The output window: lines kept between runs until the user clears them.
class OutputWindow {
public:
    const std::vector<std::string>& Lines() const { return lines_; }
    void Append(const std::string& text) {
        CheckRoom(text.size());
        if (lines_.empty()) lines_.emplace_back();
        lines_.back() += text;
        bytes_ += text.size();
        shown_ = true;
    }
    void AddLine(const std::string& line) {
        CheckRoom(line.size() + 1);
        lines_.push_back(line);
        bytes_ += line.size() + 1;
        shown_ = true;
    }
    void Clear() {
        lines_.clear();
        bytes_ = 0;
    }
    // Set when a program wrote to it; the GUI shows the window then.
    bool ShowRequested() const { return shown_; }
    void SetShowRequested(bool shown) { shown_ = shown; }

private:
    void CheckRoom(size_t more) const;

    std::vector<std::string> lines_;
    size_t bytes_ = 0;
    bool shown_ = false;
};

// The character with this code: Windows-1252 for 1..255, Unicode above; nothing else.
std::string CharacterWithCode(long long code);

}  // namespace engine
