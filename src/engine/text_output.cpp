// Text panel and output window models, and the commands that write to them.
#include "engine/text_output.h"

#include <cmath>

#include "engine/run_limits.h"
#include "engine/runner.h"
#include "engine/text_file.h"
#include "engine/utf8.h"
#include "expr/number_format.h"

namespace engine {

std::vector<std::string> TextPanel::ProgramLines() const {
    std::vector<std::string> lines;
    if (text_.size() <= fixedLength_) return lines;
    std::string current;
    for (size_t i = fixedLength_; i < text_.size(); ++i) {
        if (text_[i] == '\n') {
            lines.push_back(std::move(current));
            current.clear();
        } else {
            current += text_[i];
        }
    }
    lines.push_back(std::move(current));
    return lines;
}

void TextPanel::CheckRoom(size_t more) const {
    if (text_.size() + more > kMaxOutputBytes) {
        throw RunLimitError(
            "Het programma schrijft meer dan 64 MB tekst naast de tekening; "
            "het programma is gestopt.");
    }
}

void OutputWindow::CheckRoom(size_t more) const {
    if (bytes_ + more > kMaxOutputBytes) {
        throw RunLimitError(
            "Het programma schrijft meer dan 64 MB tekst in het uitvoervenster; "
            "het programma is gestopt. Met Wissen maakt u het venster leeg.");
    }
}

std::string CharacterWithCode(long long code) {
    if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    if (code < 256) return Windows1252ToUtf8(std::string(1, static_cast<char>(code)));
    std::string out;
    AppendUtf8(out, static_cast<char32_t>(code));
    return out;
}

namespace {

// rtftekst(tekst)
void PanelText(Runner& runner) {
    runner.Panel().AppendToLastLine(runner.TextArgument());
}

// rtfuitvoer(waarde)
void PanelValue(Runner& runner) {
    const Real value = runner.NumericArgument();
    runner.Panel().AppendToLastLine(expr::FormatGeneral(value, 15));
}

void PanelTab(Runner& runner) {
    runner.Panel().AppendToLastLine("\t");
}
void PanelNewLine(Runner& runner) {
    runner.Panel().AddLine(" ");
}

// The item of schrijf/schrijfregel for kind t, u, c or #.
std::string OutputItem(Runner& runner, const std::string& kind, const std::string& what) {
    if (kind == "t" || kind == "tekst") return runner.Preprocess(what);
    if (kind == "u" || kind == "uitvoer") {
        return expr::FormatGeneral(runner.EvaluateNumeric(what), 18);
    }
    if (kind == "c" || kind == "char") {
        const Real value = std::trunc(runner.EvaluateNumeric(what));
        return std::fabs(value) < 1e9L ? CharacterWithCode(static_cast<long long>(value)) : "";
    }
    if (kind == "#") {
        const std::string name = runner.Preprocess(what);
        const size_t hash = name.find('#');
        if (hash == std::string::npos || hash + 1 >= name.size()) {
            throw std::runtime_error("Geen register: " + name);
        }
        return runner.Register(name[hash + 1]).ToString();
    }
    return {};
}

// schrijf(soort;wat)
void Write(Runner& runner) {
    const std::string& kind = runner.NextArgument();
    const std::string& what = runner.NextArgument();
    runner.Output().Append(OutputItem(runner, kind, what));
}

// schrijfregel(soort;wat)
void WriteLine(Runner& runner) {
    const std::string& kind = runner.NextArgument();
    const std::string& what = runner.NextArgument();
    runner.Output().AddLine(OutputItem(runner, kind, what));
}

}  // namespace

void RegisterTextOutput(Runner& runner) {
    runner.RegisterCommand("rtftekst", PanelText);
    runner.RegisterCommand("rtfuitvoer", PanelValue);
    runner.RegisterCommand("rtftab", PanelTab);
    runner.RegisterCommand("rtfregel", PanelNewLine);
    runner.RegisterCommand("schrijf", Write);
    runner.RegisterCommand("schrijfregel", WriteLine);
}

}  // namespace engine
