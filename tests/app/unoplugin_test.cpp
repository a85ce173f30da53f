// Loading the LibreOffice host module: a module is used only when it is Tonvale's, of this version.

#include "app/unoplugin.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

namespace
{

struct ModuleRow {
    const char *name;
    const char *path;
    const char *error; // part of the reason it is refused; "" when it loads
};

class UnoPluginTest : public ::testing::TestWithParam<ModuleRow>
{
};

TEST_P(UnoPluginTest, LoadsOnlyTonvalesModuleOfThisVersion)
{
    const ModuleRow &row = GetParam();
    std::string error;
    const word::uno::PluginInterface *table = app::loadUnoPlugin(row.path, &error);
    if (*row.error == '\0') {
        ASSERT_NE(table, nullptr) << error;
        EXPECT_EQ(table->findSoffice(), "fake-soffice");
        EXPECT_THROW(table->attach(), std::runtime_error);
    } else {
        EXPECT_EQ(table, nullptr);
        EXPECT_NE(error.find(row.error), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modules,
    UnoPluginTest,
    ::testing::Values(ModuleRow{"this_version", FAKE_UNO_CURRENT, ""},
                      ModuleRow{"another_version", FAKE_UNO_OTHER, "another version"},
                      ModuleRow{"no_entry_point", FAKE_UNO_NOENTRY, "is not Tonvale's LibreOffice host"},
                      ModuleRow{"missing", "/nonexistent/libreoffice-host.so", "libreoffice-host.so"}),
    testsupport::RowName());

} // namespace
