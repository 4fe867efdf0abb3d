// The compile step: splits each source statement into command word and argument lines.
#include "engine/compiler.h"

#include <filesystem>

#include "engine/host.h"
#include "engine/text_file.h"

namespace engine {

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text;
}

// Drops the comment: "%" starts it, "\%" is a literal percent sign.
std::string StripComment(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '%') {
            out += '%';
            ++i;
        } else if (line[i] == '%') {
            break;
        } else {
            out += line[i];
        }
    }
    return out;
}

std::vector<std::string> SplitArguments(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t semicolon = text.find(';', start);
        if (semicolon == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, semicolon - start));
        start = semicolon + 1;
    }
}

bool TakesClosingHash(const std::string& name) {
    return name == "pad" || name == "bezier" || name == "veelhoek" || name == "gebied" ||
           name == "pad3d" || name == "veelhoek3d" || name == "local";
}

bool IsFunctionDefinition(const std::string& line) {
    return line.size() >= 2 && line[1] == '=' &&
           (line[0] == 'F' || line[0] == 'G' || line[0] == 'H' || line[0] == 'I');
}

std::string IncludePath(const std::string& name, const CompileOptions& options) {
    std::string path = name;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    std::error_code error;
    if (!path.empty() && std::filesystem::is_regular_file(path, error)) return path;
    if (!options.programFolder.empty()) {
        std::string relative = path;
        while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
        const auto inFolder = std::filesystem::path(options.programFolder) / relative;
        if (!relative.empty() && std::filesystem::is_regular_file(inFolder, error)) {
            return inFolder.string();
        }
    }
    if (options.host == nullptr) return {};
    return options.host->ChooseOpenFile("Programma invoegen", name).value_or("");
}

void AppendInclude(const std::string& name, const CompileOptions& options, CompiledProgram& out) {
    const std::string path = IncludePath(name, options);
    if (path.empty()) return;
    std::string problem;
    const auto lines = ReadTextLines(path, &problem);
    if (!lines) {
        if (options.host != nullptr) {
            options.host->ShowMessage(kAppCaption,
                                      WithProblem("Kan " + path + " niet lezen", problem),
                                      MessageIcon::Warning);
        }
        return;
    }
    out.insert(out.end(), lines->begin(), lines->end());
}

// The built-in figure procedures, written in the program language.
const char* const kFigureLibrarySource[] = {
    "% punt(n;x;y;z;hoe): onthoudt punt n in L1..L3 en zet er zijn letter bij",
    "defproc punt(n;x;y;z;hoe)",
    "L1(n):=x",
    "L2(n):=y",
    "L3(n):=z",
    "proc label(x;y;z;hoe)",
    "eindproc",
    "% label(x;y;z;hoe): de n-de letter van $punten bij het punt, uitgelijnd volgens hoe",
    "defproc label(x;y;z;hoe)",
    "mid$($_letter;$punten;n;1)",
    "maak$($_uitlijn;cc)",
    "als(1-zero(hoe-8))",
    "maak$($_uitlijn;ct)",
    "eindals",
    "als(1-zero(hoe-3))",
    "maak$($_uitlijn;cb)",
    "eindals",
    "als(1-zero(hoe-4))",
    "maak$($_uitlijn;lc)",
    "eindals",
    "als(1-zero(hoe-7))",
    "maak$($_uitlijn;lt)",
    "eindals",
    "als(1-zero(hoe-1))",
    "maak$($_uitlijn;lb)",
    "eindals",
    "als(1-zero(hoe-6))",
    "maak$($_uitlijn;rc)",
    "eindals",
    "als(1-zero(hoe-9))",
    "maak$($_uitlijn;rt)",
    "eindals",
    "als(1-zero(hoe-2))",
    "maak$($_uitlijn;rb)",
    "eindals",
    "tekst3d2(x;y;z;$_letter;$_uitlijn)",
    "eindproc",
    "% lijnstukken: de zijden van $lijnen getrokken, die van $stippellijnen gestippeld",
    "defproc lijnstukken",
    "maak$($_zijden;$lijnen)",
    "proc zijden(0)",
    "maak$($_zijden;$stippellijnen)",
    "proc zijden(1)",
    "eindproc",
    "% zijden(_mode): loopt de lijst AB,CD,... in $_zijden af",
    "defproc zijden(_mode)",
    "local(_k;_n;_p;_q)",
    "lengte$(_n;$_zijden)",
    "als(_n)",
    "for(_k;1;_n;3)",
    "mid$($_a;$_zijden;_k;1)",
    "mid$($_b;$_zijden;_k+1;1)",
    "pos$(_p;$_a;$punten)",
    "pos$(_q;$_b;$punten)",
    "als(_mode)",
    "stippelkromme3d(L1(_p)+t*(L1(_q)-L1(_p));L2(_p)+t*(L2(_q)-L2(_p));"
    "L3(_p)+t*(L3(_q)-L3(_p));0;1;0.01;0.03;0.03)",
    "anders",
    "lijn3d(L1(_p);L2(_p);L3(_p);L1(_q);L2(_q);L3(_q))",
    "eindals",
    "volgende",
    "eindals",
    "eindproc",
    "% init: de uitlijncodes, zoals de cijfers op een numeriek toetsenbord",
    "defproc init",
    "cc:=5",
    "ct:=8",
    "cb:=3",
    "lc:=4",
    "lt:=7",
    "lb:=1",
    "rc:=6",
    "rt:=9",
    "rb:=2",
    "eindproc",
};

}  // namespace

void CompileStatement(const std::string& line, CompiledProgram& out) {
    std::string rest = TrimRight(StripComment(line));
    const size_t first = rest.find_first_not_of(" \t");
    rest.erase(0, first == std::string::npos ? rest.size() : first);
    // A comment-only or blank line emits nothing: an empty compiled line would end
    // the block scans of als/anders.
    if (rest.empty()) return;

    bool procedureStatement = false;
    if (StartsWith(rest, "proc")) {
        out.push_back("proc");
        rest.erase(0, 4);
        procedureStatement = true;
    } else if (StartsWith(rest, "defproc")) {
        out.push_back("defproc");
        rest.erase(0, 7);
        procedureStatement = true;
    }
    if (procedureStatement && !rest.empty() && rest.front() == ' ') rest.erase(0, 1);

    const size_t bracket = rest.find('(');
    if (bracket == std::string::npos && procedureStatement) {
        out.push_back(TrimRight(rest));
        out.push_back("#");
        return;
    }
    const size_t assign = rest.find(":=");
    if (bracket == std::string::npos || assign != std::string::npos) {
        if (assign == std::string::npos) {
            out.push_back(rest);
            return;
        }
        const std::string target = rest.substr(0, assign);
        if (!target.empty() && target.front() == '$') {
            out.push_back("maak$");
        } else if (!target.empty() && target.front() == '#') {
            out.push_back("maak#");
        } else {
            out.push_back("maak");
        }
        out.push_back(target);
        out.push_back(rest.substr(assign + 2));
        return;
    }

    const std::string name = rest.substr(0, bracket);
    const size_t closing = rest.rfind(')');
    const std::string arguments = closing != std::string::npos && closing > bracket
                                      ? rest.substr(bracket + 1, closing - bracket - 1)
                                      : rest.substr(bracket + 1);
    const bool points2d = name == "punten";
    const bool points3d = name == "punten3d";
    if (!name.empty() && !points2d && !points3d) out.push_back(name);
    for (const auto& piece : SplitArguments(arguments)) {
        if (points2d || points3d) {
            out.push_back(piece + "1");
            out.push_back(piece + "2");
            if (points3d) out.push_back(piece + "3");
        } else {
            out.push_back(piece);
        }
    }
    if (procedureStatement || TakesClosingHash(name)) out.push_back("#");
}

CompiledProgram CompileProgram(const std::vector<std::string>& source,
                               const CompileOptions& options, std::vector<size_t>* sourceLines) {
    CompiledProgram out;
    for (size_t i = 0; i < source.size(); ++i) {
        const std::string& line = source[i];
        if (line.empty()) {
            // nothing to compile
        } else if (line.front() == '&') {
            if (TrimRight(line) == kFigureLibraryInclude) {
                const auto& library = FigureLibrary();
                out.insert(out.end(), library.begin(), library.end());
            } else {
                AppendInclude(TrimRight(line.substr(1)), options, out);
            }
        } else if (IsFunctionDefinition(line)) {
            out.push_back(line);
        } else {
            CompileStatement(line, out);
        }
        if (sourceLines != nullptr) sourceLines->resize(out.size(), i);
    }
    return out;
}

const CompiledProgram& FigureLibrary() {
    static const CompiledProgram library = [] {
        CompiledProgram compiled;
        for (const char* line : kFigureLibrarySource) CompileStatement(line, compiled);
        return compiled;
    }();
    return library;
}

}  // namespace engine
