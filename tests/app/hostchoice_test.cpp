// The command line that chooses the host, the sheet to open and the settings file.

#include "app/hostchoice.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

namespace
{

struct OptionsRow {
    const char *name;
    QStringList arguments; // after the program name
    QString variable; // TONVALE_SETTINGS
    std::string host, open, settings; // host "": the default, the first kind (a word processor installed)
    bool help;
    bool error;
};

class OptionsTest : public ::testing::TestWithParam<OptionsRow>
{
};

TEST_P(OptionsTest, ReadsTheCommandLine)
{
    app::BuiltinInstance builtin;
    const auto kinds = app::hostKinds(builtin);
    const OptionsRow &row = GetParam();
    const app::Options options =
        app::parseOptions(QStringList{QStringLiteral("tonvale")} + row.arguments, kinds, row.variable);
    EXPECT_EQ(!options.error.empty(), row.error) << options.error;
    EXPECT_FALSE(options.usage.empty());
    if (!row.error) {
        EXPECT_EQ(options.host, row.host.empty() ? kinds.front().name : row.host);
        EXPECT_EQ(options.open, row.open);
        EXPECT_EQ(options.settings, row.settings);
        EXPECT_EQ(options.help, row.help);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines,
    OptionsTest,
    ::testing::Values(
        OptionsRow{"nothing", {}, {}, "", "", "", false, false},
        OptionsRow{"builtin_with_sheet",
                   {QStringLiteral("--host"),
                    QStringLiteral("builtin"),
                    QStringLiteral("--open"),
                    QStringLiteral("song.html")},
                   {},
                   "builtin",
                   "song.html",
                   "",
                   false,
                   false},
        OptionsRow{"settings_option_wins",
                   {QStringLiteral("--settings=a.ini")},
                   QStringLiteral("b.ini"),
                   "",
                   "",
                   "a.ini",
                   false,
                   false},
        OptionsRow{"settings_variable", {}, QStringLiteral("b.ini"), "", "", "b.ini", false, false},
        OptionsRow{"help", {QStringLiteral("--help")}, {}, "", "", "", true, false},
        OptionsRow{"unknown_host", {QStringLiteral("--host"), QStringLiteral("notepad")}, {}, "", "", "", false, true},
        OptionsRow{"unknown_option", {QStringLiteral("--colour")}, {}, "", "", "", false, true},
        OptionsRow{"stray_argument", {QStringLiteral("song.html")}, {}, "", "", "", false, true},
        OptionsRow{"missing_value", {QStringLiteral("--open")}, {}, "", "", "", false, true}),
    testsupport::RowName());

TEST(HostKinds, TheBuiltinHostIsAlwaysThere)
{
    app::BuiltinInstance builtin;
    const auto kinds = app::hostKinds(builtin);
    const app::HostKind *kind = app::findHostKind(kinds, "builtin");
    ASSERT_NE(kind, nullptr);
    EXPECT_FALSE(kind->names.product.empty());
    EXPECT_EQ(app::findHostKind(kinds, "nothing"), nullptr);
}

} // namespace
