// The compile step: source statements to one token a line.
#include "engine/compiler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "recording_host.h"
#include "test_folder.h"

using engine::CompiledProgram;
using engine::CompileProgram;

namespace {

struct CompileCase {
    std::string source;
    CompiledProgram expected;
};

TEST(Compiler, StatementsBecomeOneTokenALine) {
    const CompileCase cases[] = {
        {"a:=b+1", {"maak", "a", "b+1"}},
        {"$t:=hallo", {"maak$", "$t", "hallo"}},
        {"#a:=2002", {"maak#", "#a", "2002"}},
        {"L1(3):=5", {"maak", "L1(3)", "5"}},
        {"a:=sin(x)", {"maak", "a", "sin(x)"}},
        {"lijn(0;0;1;1) % diagonaal", {"lijn", "0", "0", "1", "1"}},
        {"tekst(0;0;50\\% korting)", {"tekst", "0", "0", "50% korting"}},
        {"proc teken(1;2)", {"proc", "teken", "1", "2", "#"}},
        {"proc init", {"proc", "init", "#"}},
        {"defproc kwadraat(x;^y)", {"defproc", "kwadraat", "x", "^y", "#"}},
        {"local(a;b)", {"local", "a", "b", "#"}},
        {"veelhoek(0;0;1;0;1;1)", {"veelhoek", "0", "0", "1", "0", "1", "1", "#"}},
        {"F=x^2", {"F=x^2"}},
        {"xmin=-3", {"xmin=-3"}},
        {"stop()", {"stop", ""}},
        {"   herhaal", {"herhaal"}},
        {"volgende   % einde van de lus", {"volgende"}},
        {"punten(A;B)", {"A1", "A2", "B1", "B2"}},
        {"punten3d(P)", {"P1", "P2", "P3"}},
        {"tekst(1;2;a(b)c)", {"tekst", "1", "2", "a(b)c"}},
        {"lijn(1;2", {"lijn", "1", "2"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompileProgram({c.source}), c.expected) << c.source;
    }
}

TEST(Compiler, PointListsInsideVariableLengthArguments) {
    const CompiledProgram compiled = CompileProgram({"veelhoek", "punten(A;B;C)", "#"});
    EXPECT_EQ(compiled, (CompiledProgram{"veelhoek", "A1", "A2", "B1", "B2", "C1", "C2", "#"}));
}

TEST(Compiler, BlankAndCommentLinesEmitNothing) {
    // An empty compiled line would stop the block scan of a false "als".
    const CompiledProgram compiled =
        CompileProgram({"als(0)", "", "% uitleg", "   ", "a:=1", "eindals"});
    EXPECT_EQ(compiled, (CompiledProgram{"als", "0", "maak", "a", "1", "eindals"}));
}

TEST(Compiler, EveryCompiledLineKnowsItsSourceLine) {
    std::vector<size_t> lines;
    const CompiledProgram compiled = CompileProgram(
        {"% uitleg", "lijn(0;0;1;1)", "", "a:=2", "&\\ruimfig\\ruimfigprocs.txt", "eind"}, {},
        &lines);
    ASSERT_EQ(lines.size(), compiled.size());
    EXPECT_EQ(std::vector<size_t>(lines.begin(), lines.begin() + 8),
              (std::vector<size_t>{1, 1, 1, 1, 1, 3, 3, 3}));
    EXPECT_EQ(lines[8], 4u);  // the included library
    EXPECT_EQ(lines.back(), 5u);
}

TEST(Compiler, FigureLibraryIsIncludedCompiled) {
    const CompiledProgram compiled = CompileProgram({"&\\ruimfig\\ruimfigprocs.txt", "eind"});
    ASSERT_FALSE(compiled.empty());
    EXPECT_EQ(compiled.back(), "eind");
    for (const char* name : {"punt", "label", "lijnstukken", "zijden", "init"}) {
        bool found = false;
        for (size_t i = 0; i + 1 < compiled.size(); ++i) {
            if (compiled[i] == "defproc" && compiled[i + 1] == name) found = true;
        }
        EXPECT_TRUE(found) << name;
    }
}

TEST(Compiler, IncludesInsertCompiledFilesFromTheProgramFolder) {
    const auto folder = MakeTestFolder();
    std::filesystem::create_directories(folder / "sub");
    std::ofstream(folder / "sub" / "deel.txt") << "lijn\r\n0\r\n0\r\n1\r\n1\r\n";

    engine::CompileOptions options;
    options.programFolder = folder.string();
    EXPECT_EQ(CompileProgram({"&sub\\deel.txt", "eind"}, options),
              (CompiledProgram{"lijn", "0", "0", "1", "1", "eind"}));

    RecordingHost host;
    options.host = &host;
    EXPECT_EQ(CompileProgram({"&bestaatniet.txt", "eind"}, options), (CompiledProgram{"eind"}));
    std::filesystem::remove_all(folder);
}

}  // namespace
