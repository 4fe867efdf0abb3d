// The real zorvat on a virtual X display: it starts, draws, and its screen is no
// blank. Prints the start-up time to a drawn window.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

struct Shot {
    int status = -1;
    std::string out;
    QImage image;
};

// Starts zorvat on a virtual X display and presses Return on each "Oeps" box, as a
// user would; the screenshot is taken once no box is open any more.
Shot StartAndGrab(const fs::path& folder, const std::string& program) {
    const fs::path shot = folder / "scherm.png";
    {
        std::ofstream script(folder / "start.sh");
        script << "'" << ZORVAT_BINARY << "' " << program << " --screenshot '" << shot.string()
               << "' >out.txt 2>err.txt &\n"
               << "z=$!\n"
               << "for i in $(seq 300); do\n"
               << "  w=$(xdotool search --name '^Oeps$' 2>/dev/null | head -1)\n"
               << "  [ -n \"$w\" ] && xdotool key --window \"$w\" Return 2>/dev/null\n"
               << "  kill -0 $z 2>/dev/null || break\n"
               << "  sleep 0.1\n"
               << "done\n"
               << "wait $z\n";
    }
    // The test runs with the offscreen platform; zorvat itself must use the X server.
    const std::string command =
        "cd '" + folder.string() + "' && env -u QT_QPA_PLATFORM XDG_CONFIG_HOME='" +
        (folder / "config").string() + "' XDG_DATA_HOME='" + (folder / "data").string() +
        "' xvfb-run -a -s '-screen 0 1024x768x24' sh start.sh";
    Shot result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(folder / "out.txt");
    std::getline(in, result.out);
    result.image.load(QString::fromStdString(shot.string()));
    return result;
}

// Pixels of the area where the window sits (top left of the screen).
void Survey(const QImage& image, int& white, int& dark, size_t& colours) {
    std::set<QRgb> seen;
    white = dark = 0;
    for (int y = 0; y < std::min(image.height(), 560); y += 2) {
        for (int x = 0; x < std::min(image.width(), 780); x += 2) {
            const QRgb pixel = image.pixel(x, y);
            seen.insert(pixel);
            if (qGray(pixel) > 245) ++white;
            if (qGray(pixel) < 60) ++dark;
        }
    }
    colours = seen.size();
}

TEST(GuiStartup, OpensDrawsAndShowsTheWindowUnderXvfb) {
    const fs::path folder = MakeTestFolder();
    const std::string example =
        "'" + (fs::path(ZORVAT_TEST_DATA) / ".." / ".." / "examples" / "parabool.txt").string() +
        "'";
    const Shot withProgram = StartAndGrab(folder, example);
    ASSERT_EQ(withProgram.status, 0) << withProgram.out;
    ASSERT_FALSE(withProgram.image.isNull());
    int white = 0, dark = 0;
    size_t colours = 0;
    Survey(withProgram.image, white, dark, colours);
    EXPECT_GT(white, 20000);  // the plot
    EXPECT_GT(dark, 300);     // axes, graphs and text
    EXPECT_GT(colours, 8u);   // and the controls of the panel
    EXPECT_TRUE(fs::exists(folder / "config" / "Zorvat" / "voorkeuren.txt"));
    EXPECT_FALSE(fs::exists(folder / "voorkeuren.txt"));
    // "opstarttijd N ms", from the start of the process to the drawn window.
    ASSERT_EQ(withProgram.out.rfind("opstarttijd ", 0), 0u) << withProgram.out;
    std::cout << "zorvat met programma: " << withProgram.out << '\n';

    const Shot empty = StartAndGrab(folder, "");
    ASSERT_EQ(empty.status, 0);
    Survey(empty.image, white, dark, colours);
    EXPECT_GT(white, 20000);
    EXPECT_GT(dark, 100);  // the axes
    std::cout << "zorvat zonder programma: " << empty.out << '\n';
    fs::remove_all(folder);
}

int CountPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
    }
    return count;
}

// Regression: a start-up run that failed showed its box while the window was still
// being shown, and pressing OK crashed at every start. The failing line is marked in
// the program window.
TEST(GuiStartup, AnErrorAtStartUpIsShownAndItsLineMarked) {
    const fs::path folder = MakeTestFolder();
    std::ofstream(folder / "voorkeuren.txt") << "xmin=-2,5\r\nF=3x\r\n";
    std::ofstream(folder / "fout.txt") << "lijn(0;0;1;1)\n% uitleg\nx:=1/0\nlijn(0;0;2;2)\n";
    const Shot shot = StartAndGrab(folder, "fout.txt");
    ASSERT_EQ(shot.status, 0) << shot.out;
    ASSERT_FALSE(shot.image.isNull());
    // The marked line's background, wide as the editor.
    EXPECT_GT(CountPixels(shot.image, qRgb(255, 210, 210)), 5000);
    fs::remove_all(folder);
}

// An open presentation: the page's text at the right of the plot, its program drawn.
TEST(GuiStartup, APresentationShowsItsTextAndItsPicture) {
    const fs::path folder = MakeTestFolder();
    const fs::path page =
        fs::path(ZORVAT_TEST_DATA) / ".." / ".." / "data" / "presentaties" / "parabool.rtf";
    const Shot shot = StartAndGrab(folder, "'" + page.string() + "'");
    ASSERT_EQ(shot.status, 0) << shot.out;
    ASSERT_FALSE(shot.image.isNull());
    shot.image.save(QString::fromStdString((folder / "presentatie.png").string()));
    // The red top of the parabola and the page's text, dark on white, right of the plot.
    EXPECT_GT(CountPixels(shot.image, qRgb(255, 0, 0)), 20);
    int text = 0;
    for (int y = 40; y < 300; ++y) {
        for (int x = 420; x < 780; ++x) text += qGray(shot.image.pixel(x, y)) < 80;
    }
    EXPECT_GT(text, 500);
    fs::remove_all(folder);
}

}  // namespace
