// zorvat and the file writer killed with SIGKILL at random moments while they write:
// every time the old file is whole or the new one is, never a mix or half a file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int Setting(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::atoi(value) : fallback;
}

pid_t Start(const std::vector<std::string>& args) {
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Runs the command to its end once and says how long it takes.
double Seconds(const std::vector<std::string>& args) {
    const auto start = Clock::now();
    int status = 0;
    waitpid(Start(args), &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Kills the command at a random moment between `from` and `to` seconds after its start;
// true when it had finished.
bool KillSomewhere(const std::vector<std::string>& args, double from, double to,
                   std::mt19937& random) {
    const pid_t child = Start(args);
    std::uniform_real_distribution<double> moment(from, to);
    std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
    const bool killed = kill(child, SIGKILL) == 0;
    int status = 0;
    waitpid(child, &status, 0);
    return !killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(KillTest, AProgramFileIsOldOrNewNeverHalf) {
    const fs::path folder = MakeTestFolder();
    const fs::path target = folder / "programma.txt";
    const std::string tool = WRITE_TOOL;
    const int megabytes = Setting("ZORVAT_KILL_MB", 4);
    ASSERT_EQ(
        std::system(
            (tool + " '" + target.string() + "' " + std::to_string(megabytes) + " 0").c_str()),
        0);
    const double seconds = Seconds({tool, target.string(), std::to_string(megabytes), "1"});
    std::mt19937 random(12345);
    const int kills = Setting("ZORVAT_KILL_COUNT", 100);
    int whole = 1;
    for (int i = 2; i < kills + 2; ++i) {
        KillSomewhere({tool, target.string(), std::to_string(megabytes), std::to_string(i)},
                      0, seconds * 1.2, random);
        const std::string bytes = ReadWholeFile(target);
        ASSERT_EQ(bytes.size(), static_cast<size_t>(megabytes) << 20) << "kill " << i;
        const std::string header = bytes.substr(0, bytes.find('\n'));
        const bool old = header == "seed " + std::to_string(whole);
        const bool fresh = header == "seed " + std::to_string(i);
        ASSERT_TRUE(old || fresh) << header << " at kill " << i;
        const char fill = static_cast<char>('a' + (fresh ? i : whole) % 26);
        ASSERT_EQ(bytes.find_first_not_of(fill, header.size() + 1), std::string::npos);
        if (fresh) whole = i;
    }
    fs::remove_all(folder);
}

TEST(KillTest, APdfExportIsOldOrNewNeverHalf) {
    const fs::path folder = MakeTestFolder();
    const int dots = Setting("ZORVAT_KILL_PDF_DOTS", 80000);
    std::ofstream(folder / "stippen.txt")
        << "assen=geen\nfor(i;1;" << dots << ";1)\nstip(sin(i);cos(i*1.1);0)\nvolgende\n";
    const fs::path pdf = folder / "stippen.pdf";
    const std::vector<std::string> command = {
        ZORVAT_BINARY, "--batch", (folder / "stippen.txt").string(), "--pdf", pdf.string()};
    const double seconds = Seconds(command);
    const std::string first = ReadWholeFile(pdf);
    ASSERT_GT(first.size(), 1000u);
    const auto complete = [&first](const std::string& bytes) {
        // Each save has its own date; the length and the end are the same.
        return bytes.size() == first.size() && bytes.ends_with("%%EOF\r\n");
    };
    std::mt19937 random(54321);
    std::string previous = first;
    const int kills = Setting("ZORVAT_KILL_PDF_COUNT", 25);
    int finished = 0;
    for (int i = 0; i < kills; ++i) {
        // The file is written at the end of the run: the kills fall around it.
        finished += KillSomewhere(command, seconds * 0.85, seconds * 1.05, random);
        const std::string bytes = ReadWholeFile(pdf);
        ASSERT_TRUE(bytes == previous || complete(bytes)) << "kill " << i;
        previous = bytes;
    }
    std::cout << kills << " kills, " << finished << " saves finished first, " << first.size()
              << " bytes a file\n";
    fs::remove_all(folder);
}

}  // namespace
