// The one file writer: links, FIFOs and devices are written, never replaced.
#include "export/whole_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using exporter::WriteWholeFile;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Regression: the temporary file was renamed over a link, turning it into a plain
// file while the file it named kept its old text.
TEST(WholeFile, WritesThroughLinksToTheRealFile) {
    const auto folder = MakeTestFolder();
    std::ofstream(folder / "echt.pdf") << "oud";
    fs::permissions(folder / "echt.pdf", fs::perms(0640));
    fs::create_directory(folder / "sub");
    fs::create_symlink("../echt.pdf", folder / "sub" / "tussen");
    fs::create_symlink("sub/tussen", folder / "link.pdf");         // a chain of two, both relative
    fs::create_symlink(folder / "nieuw.tex", folder / "los.tex");  // dangling
    fs::create_symlink("rond2", folder / "rond1");
    fs::create_symlink("rond1", folder / "rond2");

    ASSERT_TRUE(WriteWholeFile((folder / "link.pdf").string(), "nieuw"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.pdf"));
    EXPECT_TRUE(fs::is_symlink(folder / "sub" / "tussen"));
    EXPECT_EQ(Slurp(folder / "echt.pdf"), "nieuw");
    EXPECT_EQ(fs::status(folder / "echt.pdf").permissions(), fs::perms(0640));

    ASSERT_TRUE(WriteWholeFile((folder / "los.tex").string(), "tekst"));
    EXPECT_TRUE(fs::is_symlink(folder / "los.tex"));
    EXPECT_EQ(Slurp(folder / "nieuw.tex"), "tekst");

    EXPECT_FALSE(WriteWholeFile((folder / "rond1").string(), "x"));
    EXPECT_FALSE(WriteWholeFile((folder / "sub").string(), "x"));
    EXPECT_TRUE(fs::is_directory(folder / "sub"));
    // Nothing but the files above: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 7);
    fs::remove_all(folder);
}

// Regression: a FIFO or device node was replaced by a regular file and the save
// reported success.
TEST(WholeFile, WritesFifosAndDevicesDirectly) {
    const auto folder = MakeTestFolder();
    const fs::path fifo = folder / "pijp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The reading end open first, so that the writer's open does not wait.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteWholeFile(fifo.string(), "door de pijp"));
    char received[64] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 12);
    EXPECT_STREQ(received, "door de pijp");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A device that is always full, made here so that a faulty writer can only
    // replace this node; without the right to make one, the system's own.
    fs::path full = folder / "vol";
    if (::mknod(full.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) full = "/dev/full";
    EXPECT_FALSE(WriteWholeFile(full.string(), "past niet"));
    EXPECT_TRUE(fs::is_character_file(full));
    fs::remove_all(folder);
}

}  // namespace
