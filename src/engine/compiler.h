// The compile step: program source -> compiled program, one token a line.
#pragma once

#include <string>
#include <vector>

namespace engine {

class Host;

using CompiledProgram = std::vector<std::string>;

// The include line that inserts the built-in 3D figure procedures.
inline constexpr const char* kFigureLibraryInclude = "&\\ruimfig\\ruimfigprocs.txt";

struct CompileOptions {
    // Folder of the program file, tried for includes that are not found as given.
    std::string programFolder;
    // Asked for an include file that cannot be found; may be null.
    Host* host = nullptr;
};

// Compiles one statement line (no include handling) and appends its tokens.
void CompileStatement(const std::string& line, CompiledProgram& out);

// Compiles the whole source. Never fails: malformed lines are emitted as they
// are and fail when run. `sourceLines`, when given, receives for every compiled
// line the index of the source line it came from (an include's lines come from
// the include line).
CompiledProgram CompileProgram(const std::vector<std::string>& source,
                               const CompileOptions& options = {},
                               std::vector<size_t>* sourceLines = nullptr);

// The built-in figure procedures (punt, label, lijnstukken, zijden, init), compiled.
const CompiledProgram& FigureLibrary();

}  // namespace engine
