// The command line as scripts use it: the zorvat binary run as a child process.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "../gif/gif_structure.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTestFolder(); }
    void TearDown() override { fs::remove_all(dir); }

    Result Zorvat(const std::vector<std::string>& args) {
        std::string command = Quote(ZORVAT_BINARY);
        for (const auto& arg : args) command += " " + Quote(arg);
        command += " >" + Quote((dir / "stdout").string()) + " 2>" +
                   Quote((dir / "stderr").string()) + " </dev/null";
        const int raw = std::system(command.c_str());
        Result result;
        EXPECT_TRUE(WIFEXITED(raw)) << "zorvat died: " << command;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = Slurp(dir / "stdout");
        result.err = Slurp(dir / "stderr");
        return result;
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    }

    fs::path dir;
};

bool Dark(const QImage& image, int x, int y) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (qGray(image.pixel(x + dx, y + dy)) < 128) return true;
        }
    }
    return false;
}

TEST_F(BatchTest, ErrorInTheMiddleStillGivesAxesAndGraph) {
    const std::string program = Write("parabool.txt",
                                      "% parabool\r\nxmin=-4\r\nxmax=4\r\nymin=-2\r\nymax=14\r\n"
                                      "a:=2\r\nb:=a*a\r\nc:=a+\r\nd:=4\r\nF=x^2\r\n");
    const std::string png = (dir / "uit.png").string();
    const Result r = Zorvat({"--batch", program, "--size", "320x240", "--png", png});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Oeps: Zorvat kan de uitdrukking:  a+ niet verwerken. De oorzaak kan deze "
              "uitdrukking zelf zijn, maar ook een fout in een voorafgaande programmaregel.\n");
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 320);
    EXPECT_EQ(image.height(), 240);
    // World -4..4 x -2..14 on 320x240: column = (x+4)*319/8, row = (14-y)*239/16.
    auto column = [](double x) { return static_cast<int>(std::lround((x + 4) * 319 / 8)); };
    auto row = [](double y) { return static_cast<int>(std::lround((14 - y) * 239 / 16)); };
    EXPECT_TRUE(Dark(image, column(-3.5), row(0)));  // x-axis
    EXPECT_TRUE(Dark(image, column(0), row(12)));    // y-axis
    for (double x : {-3.0, -1.5, 1.0, 2.5, 3.5})
        EXPECT_TRUE(Dark(image, column(x), row(x * x))) << x;
    EXPECT_FALSE(Dark(image, column(2), row(8)));
}

TEST_F(BatchTest, AnEmptyWindowIsAnErrorThatNamesTheRange) {
    const Result r = Zorvat({"--batch", Write("p.txt", "xmin=3\nxmax=-3\nlijn(0;0;1;1)\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Oeps: xmin (3) moet kleiner zijn dan xmax (-3). Pas het venster aan.\n");
    // A decimal comma reads as a point.
    EXPECT_EQ(Zorvat({"--batch", Write("q.txt", "ymin=-0,5\nymax=1,5\n")}).status, 0);
}

TEST_F(BatchTest, SlidersAnswersAndStopForProgramsThatAskTheUser) {
    const std::string program =
        Write("vraag.txt",
              "schuifbalk(1;p;-2;2)\ninvoerdialoog$($a;Vraag;Eerste?;x)\n"
              "invoerdialoog$($b;Vraag;Tweede?;y)\nstop(Kijk)\nschrijfregel(u;p)\n"
              "schrijfregel(t;$a)\nschrijfregel(t;$b)\n");
    Result r = Zorvat({"--batch", program, "--slider", "1=50", "--answer", "ja"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\nja\n\n");  // no answer left: Cancel, an empty text
    EXPECT_EQ(r.err, "stop: Kijk\n");
    for (const char* wrong : {"3=10", "1=101", "1=vijf"}) {
        EXPECT_EQ(Zorvat({"--batch", program, "--slider", wrong}).status, 2) << wrong;
    }
}

TEST_F(BatchTest, MouseAndDragMoveAFreePoint) {
    const std::string program = Write(
        "vrij.txt", "reset=nee\nvrijpunt(p;1;2;0.5)\nschrijfregel(u;p1)\nschrijfregel(u;p2)\n");
    Result r = Zorvat({"--batch", program, "--mouse", "3,-1.5", "--drag", "p"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\n2\n3\n-1.5\n");  // the first run, then the run of the drag
    // Without reset=nee every run puts the point back.
    r = Zorvat({"--batch", Write("terug.txt", "vrijpunt(p;1;2;0.5)\nschrijfregel(u;p1)\n"),
                "--mouse", "3,-1.5", "--drag", "p"});
    EXPECT_EQ(r.out, "1\n1\n");
    r = Zorvat({"--batch", Write("muis.txt", "schrijfregel(u;muisx+muisy)\n"), "--mouse", "2,0.5"});
    EXPECT_EQ(r.out, "2.5\n");
    const std::pair<std::vector<std::string>, const char*> wrong[] = {
        {{"--drag", "p"}, "--drag verwacht ook --mouse X,Y: waarheen het punt gaat"},
        {{"--mouse", "3;4"}, "--mouse verwacht X,Y in wereldcoordinaten, niet '3;4'"},
        {{"--mouse", "3,4", "--drag", "q"}, "--drag: het programma heeft geen punt q"},
    };
    for (const auto& [options, message] : wrong) {
        std::vector<std::string> args = {"--batch", program};
        args.insert(args.end(), options.begin(), options.end());
        r = Zorvat(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
}

TEST_F(BatchTest, CleanRunExitsZeroAndSavesPreferences) {
    const std::string program = Write("p.txt", "ymax=8\nF=x^2\nG=2*x+3\n");
    const std::string prefs = (dir / "voorkeuren.txt").string();
    Result r = Zorvat(
        {"--batch", program, "--set", "assen=zijden", "--field", "H=1", "--save-prefs", prefs});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string saved = Slurp(prefs);
    EXPECT_NE(saved.find("ymax=8\r\n"), std::string::npos);
    EXPECT_NE(saved.find("G=2*x+3\r\n"), std::string::npos);
    EXPECT_NE(saved.find("H=1\r\n"), std::string::npos);
    EXPECT_NE(saved.find("assen=zijden\r\n"), std::string::npos);

    // Loading those preferences gives the same state back.
    const std::string again = (dir / "opnieuw.txt").string();
    r = Zorvat({"--batch", Write("leeg.txt", ""), "--prefs", prefs, "--save-prefs", again});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(again), saved);
}

TEST_F(BatchTest, EvalMatchesTheExpressionRules) {
    const std::pair<std::string, std::string> values[] = {
        {"2*(3+4)", "14"},
        {"((1))", "1"},
        {"2-3-4", "-5"},
        {"16/4/2", "2"},
        {"-2^2", "-4"},
        {"2^-1", "0.5"},
        {"7MOD3", "1"},
        {"-7MOD3", "-1"},
        {"7DIV2", "3"},
        {"2^(3^2)", "512"},
        {"pi", "3.14159265358979324"},
        {"-Pi", "-3.14159265358979324"},
        {"", "0"},
        {"1/3", "0.333333333333333333"},
        {"10^20", "1E20"},
        {"1.5E-7", "1.5E-7"},
    };
    for (const auto& [expression, value] : values) {
        const Result r = Zorvat({"--eval", expression});
        EXPECT_EQ(r.status, 0) << expression << ": " << r.err;
        EXPECT_EQ(r.out, value + "\n") << expression;
    }
    const Result withVariable = Zorvat({"--eval", "-x+1", "--var", "x=2.5"});
    EXPECT_EQ(withVariable.out, "-1.5\n");

    const std::pair<std::string, std::string> errors[] = {
        {"7 MOD 3", "Expression has blanks"},
        {"(a+b", "Missing brackets in expression"},
        {"sin(x", "Missing brackets in expression"},
        {"onbekend*2", "Error parsing expression:\nONBEKEND"},
        {"2^3^2", "Error parsing expression:"},
        {"-x-1", "Error parsing expression:"},
        {"sin)x(", "Error parsing expression:"},
        {"1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1", "Expression contains too many nestings"},
        {"ln(0)", ""},
    };
    for (const auto& [expression, message] : errors) {
        const Result r = Zorvat({"--eval", expression});
        EXPECT_EQ(r.status, 1) << expression;
        EXPECT_EQ(r.out, "") << expression;
        EXPECT_EQ(r.err.rfind(message, 0), 0u) << expression << " gave " << r.err;
    }
    EXPECT_EQ(Zorvat({"--eval", "1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1"}).out, "21\n");

    // A balanced product of 64 factors, 51 of them negated: 51 operations on one level.
    std::vector<std::string> terms;
    for (int leaf = 0; leaf < 64; ++leaf) terms.push_back(leaf < 51 ? "(-x)" : "x");
    while (terms.size() > 1) {
        std::vector<std::string> joined;
        for (size_t i = 0; i < terms.size(); i += 2) {
            joined.push_back("(" + terms[i] + ")*(" + terms[i + 1] + ")");
        }
        terms = joined;
    }
    const Result complex = Zorvat({"--eval", terms.front(), "--var", "x=1"});
    EXPECT_EQ(complex.status, 1);
    EXPECT_EQ(complex.err, "Expression is too complex\n");
}

TEST_F(BatchTest, CompilePrintsOneTokenALine) {
    const std::string program =
        Write("c.txt",
              "a:=b+1\n$t:=hallo\n#a:=2002\nlijn(0;0;1;1) % diagonaal\n"
              "tekst(0;0;50\\% korting)\nproc teken(1;2)\nproc init\nlocal(a;b)\n"
              "F=x^2\nxmin=-3\nstop()\n");
    const Result r = Zorvat({"--compile", program});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "maak\na\nb+1\nmaak$\n$t\nhallo\nmaak#\n#a\n2002\nlijn\n0\n0\n1\n1\ntekst\n0\n0\n"
              "50% korting\nproc\nteken\n1\n2\n#\nproc\ninit\n#\nlocal\na\nb\n#\nF=x^2\n"
              "xmin=-3\nstop\n\n");
}

TEST_F(BatchTest, InterruptEndsARunawayLoopAtItsEnd) {
    const std::string program =
        Write("lus.txt", "n:=0\nherhaal\nn:=n+1\ntotdat(0)\nschrijfregel(t;gestopt)\n");
    const std::string output = (dir / "stdout").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(file, STDOUT_FILENO);
        dup2(file, STDERR_FILENO);
        signal(SIGINT, SIG_DFL);  // whatever the test runner ignores
        execl(ZORVAT_BINARY, "zorvat", "--batch", program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(child, SIGINT);
    int raw = 0;
    pid_t done = 0;
    for (int i = 0; i < 200 && done == 0; ++i) {
        done = waitpid(child, &raw, WNOHANG);
        if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &raw, 0);
        FAIL() << "zorvat did not stop after the interrupt";
    }
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 0);
    EXPECT_EQ(Slurp(dir / "stdout"), "gestopt\n");
}

TEST_F(BatchTest, MissingIncludeSaysSoAndAppendsNothing) {
    const Result r = Zorvat({"--compile", Write("i.txt", "&weg.txt\neind\n")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "eind\n");
    EXPECT_NE(r.err.find("weg.txt"), std::string::npos);
}

TEST_F(BatchTest, UsageAndFileErrorsExitTwo) {
    EXPECT_EQ(Zorvat({"--batch", (dir / "bestaatniet.txt").string()}).status, 2);
    const std::string program = Write("p.txt", "a:=1\n");
    EXPECT_EQ(Zorvat({"--batch", program, "--size", "groot"}).status, 2);
    EXPECT_EQ(Zorvat({"--batch", program, "--size", "0x10"}).status, 2);
    EXPECT_EQ(Zorvat({"--batch", program, "--onzin", "1"}).status, 2);
    EXPECT_EQ(Zorvat({"--batch", program, "--field", "user9=1"}).status, 2);
    EXPECT_EQ(Zorvat({"--batch", program, "--png", (dir / "geen/map/x.png").string()}).status, 2);
    const Result badPrefs =
        Zorvat({"--batch", program, "--prefs", Write("v.txt", "asdikte=dik\n")});
    EXPECT_EQ(badPrefs.status, 0);
    EXPECT_EQ(badPrefs.err, "Zorvat: voorkeuren " + (dir / "v.txt").string() +
                                ": asdikte: 'dik' is geen geldig geheel getal\n");
    EXPECT_EQ(Zorvat({"--eval", "x", "--var", "x=twee"}).status, 2);
    EXPECT_FALSE(fs::exists(dir / "geen"));
}

TEST_F(BatchTest, GifAndAnimationOptions) {
    const std::string film = Write("film.txt", "film(k;1;5;1)\nstip(k-3;0;4)\nvolgende\n");
    const std::string gif = (dir / "uit.gif").string(), animation = (dir / "film.gif").string();
    // The export run of --pdf does not add frames of its own.
    Result r = Zorvat({"--batch", film, "--gif", gif, "--animate", animation, "--delay", "300",
                       "--pdf", (dir / "uit.pdf").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    auto picture = ReadGifStructure(Slurp(gif));
    ASSERT_TRUE(picture && picture->frames.size() == 1);
    EXPECT_EQ(picture->frames[0].packed, 0x01);  // white transparent
    EXPECT_EQ(picture->frames[0].descriptorPacked, 0x40);
    auto frames = ReadGifStructure(Slurp(animation));
    ASSERT_TRUE(frames);
    ASSERT_EQ(frames->frames.size(), 5u);
    EXPECT_EQ(frames->frames[4].delay, 30);

    for (const std::string delay : {"abc", "-5", "10.5", "700000", ""}) {
        r = Zorvat({"--batch", film, "--animate", animation, "--delay", delay});
        EXPECT_EQ(r.status, 2) << delay;
        EXPECT_NE(r.err.find("--delay verwacht een geheel aantal milliseconden (0 tot 655350), "
                             "niet '" +
                             delay + "'"),
                  std::string::npos)
            << r.err;
    }
    EXPECT_EQ(Zorvat({"--batch", film, "--delay", "10"}).status, 2);

    const std::string still = Write("stil.txt", "lijn(0;0;1;1)\n");
    const std::string none = (dir / "geen.gif").string();
    r = Zorvat({"--batch", still, "--animate", none});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Zorvat: Geen beelden voor " + none +
                         ": het programma heeft geen film-lus doorlopen en geen plaatje "
                         "opgeslagen\n");
    EXPECT_FALSE(fs::exists(none));
    const std::string unwritable = (dir / "geen" / "map.gif").string();
    r = Zorvat({"--batch", film, "--animate", unwritable, "--gif", unwritable});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Zorvat: Kan " + unwritable + " niet opslaan\nZorvat: Kan " + unwritable +
                         " niet opslaan\n");
}

TEST_F(BatchTest, PictureFormatsAndTheFlipbook) {
    // Texts with the characters XML and LaTeX give a meaning.
    const std::string film =
        Write("film.txt", "tekst(-4;4;a<b & #{1})\nfilm(k;1;3;1)\nstip(k;0;4)\nvolgende\n");
    const std::map<std::string, std::string> files = {{"--bmp", "p.bmp"},  {"--jpg", "p.jpg"},
                                                      {"--emf", "p.emf"},  {"--svg", "p.svg"},
                                                      {"--tikz", "p.tex"}, {"--flipbook", "boek"}};
    std::vector<std::string> args = {"--batch", film, "--delay", "70"};
    for (const auto& [option, name] : files) {
        args.push_back(option);
        args.push_back((dir / name).string());
    }
    Result r = Zorvat(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(dir / "p.bmp").substr(0, 2), "BM");
    EXPECT_EQ(Slurp(dir / "p.jpg").substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_EQ(Slurp(dir / "p.emf").substr(40, 4), " EMF");
    EXPECT_NE(Slurp(dir / "p.svg").find(">a&lt;b &amp; #{1}</text>"), std::string::npos);
    EXPECT_NE(Slurp(dir / "p.tex").find("{a$<$b \\& \\#\\{1\\}};"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "boek" / "tekening12.gif"));
    EXPECT_FALSE(fs::exists(dir / "boek" / "tekening13.gif"));
    EXPECT_NE(Slurp(dir / "boek" / "mijnfilm.htm").find("var maxnr=12\r\nvar pauze=70\r\n"),
              std::string::npos);
    EXPECT_NE(Slurp(dir / "boek" / "film.js").find("function startvertoning()"), std::string::npos);

    // A folder that cannot be there: a message for each file and none of them written.
    Write("bestand", "x");
    for (const auto& [option, name] : files) {
        const std::string missing = (dir / "bestand" / name).string();
        r = Zorvat({"--batch", film, option, missing});
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_NE(r.err.find(missing), std::string::npos) << option << r.err;
        EXPECT_TRUE(fs::is_regular_file(dir / "bestand")) << option;
    }
    const std::string still = Write("stil.txt", "lijn(0;0;1;1)\n");
    r = Zorvat({"--batch", still, "--flipbook", (dir / "leeg").string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Geen beelden voor het flipboek"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "leeg"));
}

// The largest picture the batch mode draws: the metafile at double size, its figures
// still in 16-bit coordinates.
TEST_F(BatchTest, TheLargestPictureGivesWholeVectorFiles) {
    const std::string program = Write("p.txt", "lijn(-5;-5;5;5)\ntekst(0;0;midden)\n");
    Result r =
        Zorvat({"--batch", program, "--size", "10000x10000", "--emf", (dir / "p.emf").string(),
                "--svg", (dir / "p.svg").string(), "--tikz", (dir / "p.tex").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string emf = Slurp(dir / "p.emf");
    ASSERT_GT(emf.size(), 100u);
    EXPECT_EQ(emf[72] | emf[73] << 8, 20000);  // reference width: 2 x 10 000 pixels
    EXPECT_NE(Slurp(dir / "p.svg").find("viewBox=\"0 0 10000 10000\""), std::string::npos);
    EXPECT_NE(Slurp(dir / "p.tex").find("\\end{tikzpicture}"), std::string::npos);
}

// Regression: --pdf, --eepic and --save-prefs replaced a link with a plain file, and
// an export into a full device replaced the node (as root) or reported success.
TEST_F(BatchTest, ExportsWriteThroughLinksAndReportFullDevices) {
    const std::string program = Write("p.txt", "lijn(0;0;1;1)\n");
    // Made here, so that a faulty writer can only replace this node; without the
    // right to make one, the system's own, which then cannot be replaced either.
    fs::path full = dir / "vol";
    if (::mknod(full.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) full = "/dev/full";
    for (const std::string option : {"--pdf", "--eepic", "--png", "--gif", "--save-prefs", "--bmp",
                                     "--jpg", "--emf", "--svg", "--tikz"}) {
        const fs::path real = dir / ("echt" + option), link = dir / ("link" + option);
        Write(real.filename().string(), "oud");
        fs::create_symlink(real.filename(), link);
        Result r = Zorvat({"--batch", program, option, link.string()});
        EXPECT_EQ(r.status, 0) << option << ": " << r.err;
        EXPECT_TRUE(fs::is_symlink(link)) << option;
        EXPECT_GT(fs::file_size(real), 3u) << option;

        r = Zorvat({"--batch", program, option, full.string()});
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_NE(r.err, "") << option;
        EXPECT_TRUE(fs::is_character_file(full)) << option;
    }
}

// Regression: a folder ran as an empty program with exit 0, and /dev/zero was read
// until the memory ran out.
TEST_F(BatchTest, FoldersDevicesAndHugeFilesAreNoInput) {
    const std::string program = Write("p.txt", "a:=1\n");
    const std::string folder = dir.string(), huge = Write("groot.txt", "");
    fs::resize_file(huge, 65 * 1024 * 1024);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--batch", folder}, "kan programma '" + folder + "' niet lezen: het is een map"},
        {{"--compile", folder}, "kan programma '" + folder + "' niet lezen: het is een map"},
        {{"--batch", program, "--prefs", folder},
         "kan voorkeuren '" + folder + "' niet lezen: het is een map"},
        {{"--batch", "/dev/zero"},
         "kan programma '/dev/zero' niet lezen: het is geen gewoon bestand"},
        {{"--batch", huge},
         "kan programma '" + huge + "' niet lezen: het bestand is te groot (meer dan 64 MB)"},
    };
    for (const auto& [args, message] : cases) {
        const Result r = Zorvat(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err.rfind("zorvat: " + message + "\n", 0), 0u) << r.err;
    }
}

// Regression: a byte-order mark hid the first line of a program, include or
// preferences file (xmin=-10 was dropped), and UTF-16 files ran as nothing.
TEST_F(BatchTest, ByteOrderMarksAndUtf16FilesAreRead) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("eind\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    Write("deel.txt", utf16);
    const Result compiled =
        Zorvat({"--compile", Write("p.txt", "\xEF\xBB\xBFxmin=-10\r\n&deel.txt\r\n")});
    EXPECT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_EQ(compiled.out, "xmin=-10\neind\n");

    const std::string saved = (dir / "uit.txt").string();
    const Result r = Zorvat({"--batch", Write("leeg.txt", ""), "--prefs",
                             Write("v.txt", "\xEF\xBB\xBFxmin=-10\r\n"), "--save-prefs", saved});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(saved).rfind("xmin=-10\r\n", 0), 0u);
}

TEST_F(BatchTest, MalformedInputNeverCrashes) {
    std::string junk;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        junk += static_cast<char>(state >> 16);
    }
    const std::string longLine(1 << 20, '(');
    const std::string nested = std::string(10000, '(') + "1" + std::string(10000, ')');
    const std::vector<std::string> programs = {
        junk,
        "a:=" + longLine + "\n",
        "a:=" + nested + "\nF=" + nested + "\n",
        "lijn(" + std::string(100000, ';') + ")\n",
        "xmin=" + junk.substr(0, 1000) + "\n",
        "F=" + longLine + "\n",
    };
    for (size_t i = 0; i < programs.size(); ++i) {
        const std::string program = Write("p" + std::to_string(i) + ".txt", programs[i]);
        const Result r = Zorvat({"--batch", program, "--size", "50x50"});
        EXPECT_TRUE(r.status == 0 || r.status == 1) << "program " << i << ": " << r.status;
        EXPECT_EQ(Zorvat({"--compile", program}).status, 0) << "program " << i;
    }
    // One argument may hold at most 128 KiB on Linux, and no NUL.
    std::string argumentJunk = junk.substr(0, 5000);
    std::replace(argumentJunk.begin(), argumentJunk.end(), '\0', 'x');
    for (const std::string& expression : {nested, longLine.substr(0, 100000), argumentJunk}) {
        const Result r = Zorvat({"--eval", expression});
        EXPECT_TRUE(r.status == 0 || r.status == 1);
    }
    const std::string prefs = Write("v.txt", junk);
    const Result r = Zorvat({"--batch", Write("p.txt", ""), "--prefs", prefs});
    EXPECT_TRUE(r.status == 0 || r.status == 1);
}

}  // namespace

namespace {

TEST_F(BatchTest, ListsComeFromAFileAndGoToAnother) {
    // A spreadsheet export: decimal commas, CRLF, an empty cell that leaves L2(2) at 0.
    const std::string lists = Write("data.txt", "1\t2,5\r\n2\t\t9\r\n3\t7,5\r\n");
    const std::string program = Write("fit.txt",
                                      "linreg(L1,L2;1;1;$v;r)\nstats(L1;1;3;m;s)\n"
                                      "schrijfregel(u;m)\nschrijfregel(u;L3(2))\nL6(100):=m*2\n");
    const std::string dump = (dir / "uit.txt").string();
    Result r = Zorvat({"--batch", program, "--lists", lists, "--dump-lists", dump});
    EXPECT_EQ(r.status, 1);  // linreg over one element: all x equal
    EXPECT_EQ(r.err, "Zorvat: linreg: alle x-waarden zijn gelijk, dus er is geen regressielijn.\n");
    EXPECT_EQ(r.out, "");
    r = Zorvat({"--batch",
                Write("fit2.txt",
                      "stats(L1;1;3;m;s)\nschrijfregel(u;m)\n"
                      "schrijfregel(u;L3(2))\nL6(100):=m*2\n"),
                "--lists", lists, "--dump-lists", dump});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2\n9\n");
    const std::string written = Slurp(dump);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 100);
    EXPECT_EQ(written.substr(0, written.find('\n', written.find('\n') + 1) + 1),
              "1\t2.5\t0\t0\t0\t0\n2\t0\t9\t0\t0\t0\n");
    EXPECT_EQ(written.substr(written.rfind('\n', written.size() - 2) + 1), "0\t0\t0\t0\t0\t4\n");
    // The dump reads back as it was written.
    r = Zorvat({"--batch", Write("leeg.txt", "schrijfregel(u;L6(100))\n"), "--lists", dump});
    EXPECT_EQ(r.out, "4\n");

    // A value that is no number, or too many columns: nothing runs, usage exit.
    r = Zorvat({"--batch", program, "--lists", Write("fout.txt", "1\nveel\n")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "zorvat: --lists " + (dir / "fout.txt").string() +
                                                     ": 'veel' is geen getal (regel 2, kolom 1).");
    EXPECT_EQ(
        Zorvat({"--batch", program, "--lists", Write("breed.txt", "1\t2\t3\t4\t5\t6\t7\n")}).status,
        2);
    EXPECT_EQ(Zorvat({"--batch", program, "--lists", (dir / "nergens.txt").string()}).status, 2);
}

}  // namespace
