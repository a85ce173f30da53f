// The built-in word processor's link opener believes the system's opener only when it says it succeeded.

#include "app/linkopener.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

namespace
{

struct OpenerRow {
    const char *name;
    const char *program;
    QStringList arguments;
    int waitMs; ///< generous where the opener ends, short where it is meant to outlast the wait
    bool opened;
};

class LinkOpener : public testing::TestWithParam<OpenerRow>
{
};

TEST_P(LinkOpener, TellsOpenedFromFailed)
{
    const auto &row = GetParam();
    EXPECT_EQ(app::openWith(QString::fromLatin1(row.program), row.arguments, row.waitMs), row.opened);
}

INSTANTIATE_TEST_SUITE_P(
    Openers,
    LinkOpener,
    testing::Values(
        OpenerRow{"Succeeds", "true", {}, 10000, true},
        OpenerRow{"FailsWithNoBrowser", "sh", {QStringLiteral("-c"), QStringLiteral("exit 3")}, 10000, false},
        OpenerRow{"Missing", "/nonexistent/xdg-open", {}, 10000, false},
        OpenerRow{"StillRunningIsABrowserOnItsWay", "sleep", {QStringLiteral("5")}, 100, true}),
    testsupport::RowName());

} // namespace
