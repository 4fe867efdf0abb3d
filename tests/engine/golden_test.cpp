// Saved pictures of small programs compared with reviewed golden files. Set
// ZORVAT_UPDATE_GOLDEN=1 to write the golden files anew (then review the diff).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/text_file.h"
#include "export/whole_file.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

// The PDF names the moment it was made; the golden file holds a fixed one.
std::string WithoutCreationDate(std::string pdf) {
    const size_t start = pdf.find("/CreationDate (D:");
    if (start != std::string::npos) pdf.replace(start + 17, 14, "20260101000000");
    return pdf;
}

class GoldenTest : public ProgramTest, public ::testing::WithParamInterface<std::string> {
protected:
    fs::path Golden(const std::string& extension) const {
        return fs::path(ZORVAT_TEST_DATA) / "golden" / (GetParam() + extension);
    }
    void Compare(const std::string& actual, const fs::path& golden) {
        if (std::getenv("ZORVAT_UPDATE_GOLDEN") != nullptr) {
            ASSERT_TRUE(exporter::WriteWholeFile(golden.string(), actual));
        }
        EXPECT_EQ(actual, engine::ReadFileBytes(golden.string()).value_or("(missing)")) << golden;
    }
};

TEST_P(GoldenTest, EepicAndPdfMatch) {
    const auto source = engine::ReadTextLines(Golden(".txt").string());
    ASSERT_TRUE(source);
    runner.Program() = engine::CompileProgram(*source);
    runner.Run();
    const fs::path folder = MakeTestFolder();
    ASSERT_TRUE(runner.ExportEepic((folder / "fig.tex").string()));
    ASSERT_TRUE(runner.ExportPdf((folder / "fig.pdf").string()));
    EXPECT_TRUE(host.messages.empty());
    Compare(engine::ReadFileBytes((folder / "fig.tex").string()).value_or(""), Golden(".tex"));
    Compare(WithoutCreationDate(engine::ReadFileBytes((folder / "fig.pdf").string()).value_or("")),
            Golden(".pdf"));
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Programs, GoldenTest,
                         ::testing::Values("lijnen_en_vlakken", "kromme_met_assen", "cirkels"));

}  // namespace
