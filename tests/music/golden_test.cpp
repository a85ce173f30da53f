// Whole song sheets through the Transpose command, compared with expected sheets in tests/golden/.
// With TONVALE_UPDATE_GOLDEN=1 in the environment the expected files are rewritten from the results
// (tests/golden/regenerate.sh); review the diff before committing it.

#include "music/transpose.h"
#include "tests/support/prompter.h"
#include "tests/support/rows.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{

std::string goldenPath(const std::string &name)
{
    return std::string(TONVALE_GOLDEN_DIR) + "/" + name;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string content = text.str();
    if (!content.empty() && content.back() == '\n') {
        content.pop_back(); // the final paragraph mark is implied
    }
    return content;
}

struct GoldenRow {
    const char *name; ///< files <name>.in.txt and <name>.out.txt
    music::TransposeControls controls;
};

class Golden : public testing::TestWithParam<GoldenRow>
{
};

TEST_P(Golden, WholeSheet)
{
    const auto &row = GetParam();
    const std::string input = readFile(goldenPath(std::string(row.name) + ".in.txt"));
    ASSERT_FALSE(input.empty());
    word::builtin::Host host;
    host.open(word::builtin::fromNotation(input));
    testsupport::TestPrompter prompter;
    const auto result = music::Transpose(host, prompter, row.controls);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(result.newCurrentKey, row.controls.newKey);
    const std::string actual = word::builtin::toNotation(*host.activeText());

    const std::string expectedPath = goldenPath(std::string(row.name) + ".out.txt");
    if (const char *update = std::getenv("TONVALE_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream(expectedPath, std::ios::binary) << actual << '\n';
        return;
    }
    EXPECT_EQ(actual, readFile(expectedPath));
}

music::TransposeControls controls(int current, int next, const char *semiTones, bool sharps, int nashvilleIn)
{
    return {.font = {.useStyle = true, .bold = true},
            .color = {"0", "0", "0"},
            .nashvilleIn = nashvilleIn != 0,
            .currentKey = current,
            .newKey = next,
            .useSharps = sharps,
            .semiTones = semiTones};
}

INSTANTIATE_TEST_SUITE_P(Sheets,
                         Golden,
                         testing::Values(GoldenRow{"letters", controls(10, 1, "3", false, 0)},
                                         GoldenRow{"nashville", controls(0, 5, "5", true, 1)}),
                         testsupport::RowName());

} // namespace
