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

Shot StartAndGrab(const fs::path& folder, const std::string& program) {
    const fs::path shot = folder / "scherm.png";
    // The test runs with the offscreen platform; zorvat itself must use the X server.
    const std::string command =
        "cd '" + folder.string() +
        "' && env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1024x768x24' '" + ZORVAT_BINARY +
        "' " + program + " --screenshot '" + shot.string() + "' >out.txt 2>err.txt";
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
    EXPECT_TRUE(fs::exists(folder / "voorkeuren.txt"));
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

}  // namespace
