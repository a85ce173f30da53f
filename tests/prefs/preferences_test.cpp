#include "prefs/preferences.h"
#include "tests/support/printers.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace
{

/// An in-memory store that records the order of every read and write.
class RecordingStore : public prefs::SettingsStore
{
public:
    std::string get(const std::string &key) override
    {
        reads.push_back(key);
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    }
    void set(const std::string &key, const std::string &value) override
    {
        writes.emplace_back(key, value);
        values[key] = value;
    }

    std::optional<std::string> commit() override
    {
        return commitProblem;
    }
    std::optional<std::string> unreadable() const override
    {
        return unreadableFile;
    }

    std::map<std::string, std::string> values;
    std::vector<std::string> reads;
    std::vector<std::pair<std::string, std::string>> writes;
    std::optional<std::string> commitProblem; ///< what commit says
    std::optional<std::string> unreadableFile; ///< what unreadable says
};

using Writes = std::vector<std::pair<std::string, std::string>>;

TEST(SavePreferences, WritesTheTenKeysInOrder)
{
    RecordingStore store;
    prefs::SavePreferences(store,
                           {.useStyle = true,
                            .bold = true,
                            .italic = false,
                            .underline = true,
                            .useColor = true,
                            .red = "255",
                            .green = "",
                            .blue = "abc",
                            .useSharps = true});
    const Writes expected{{"Use Font Style", "1"},
                          {"Bold", "1"},
                          {"Italics", "0"},
                          {"Underline", "1"},
                          {"Use Font Color", "1"},
                          {"Red", "255"},
                          {"Green", ""},
                          {"Blue", "abc"},
                          {"Accidentals", "1"},
                          {"Keep Columns", "0"}};
    EXPECT_EQ(store.writes, expected);
}

TEST(RestorePreferences, ReadsUseFontColorFirstThenTheRestInOrder)
{
    RecordingStore store;
    prefs::RestorePreferences(store);
    const std::vector<std::string> expected{"Use Font Color",
                                            "Red",
                                            "Green",
                                            "Blue",
                                            "Use Font Style",
                                            "Bold",
                                            "Italics",
                                            "Underline",
                                            "Accidentals",
                                            "Keep Columns"};
    EXPECT_EQ(store.reads, expected);
}

TEST(RestorePreferences, FirstStartChangesNothingAndSelectsFlats)
{
    RecordingStore store;
    EXPECT_EQ(prefs::RestorePreferences(store), prefs::Restore{});
}

TEST(RestorePreferences, ColourTextsComeBackExactly)
{
    RecordingStore store;
    store.values = {{"Red", "abc"}, {"Green", "300"}, {"Blue", ""}};
    const auto restore = prefs::RestorePreferences(store);
    EXPECT_EQ(restore.red, "abc");
    EXPECT_EQ(restore.green, "300");
    EXPECT_FALSE(restore.blue);
}

TEST(RestorePreferences, BoldWithoutUseStyleIsRestoredAsBold)
{
    RecordingStore store;
    store.values = {{"Use Font Style", "0"}, {"Bold", "1"}};
    const auto restore = prefs::RestorePreferences(store);
    EXPECT_TRUE(restore.bold); // the window's interlock then checks "Use Font Style:"
    EXPECT_FALSE(restore.useStyle);
}

struct FlagRow {
    const char *name;
    std::string stored;
    bool set;
};

class StoredFlag : public testing::TestWithParam<FlagRow>
{
};

TEST_P(StoredFlag, OnlyTheExactOneCounts)
{
    const auto &row = GetParam();
    RecordingStore store;
    for (const char *key :
         {"Use Font Style", "Bold", "Italics", "Underline", "Use Font Color", "Accidentals", "Keep Columns"}) {
        store.values[key] = row.stored;
    }
    prefs::Restore expected;
    expected.useColor = expected.useStyle = expected.bold = expected.italic = expected.underline = row.set;
    expected.useSharps = expected.keepColumns = row.set;
    EXPECT_EQ(prefs::RestorePreferences(store), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows,
                         StoredFlag,
                         testing::Values(FlagRow{"One", "1", true},
                                         FlagRow{"Zero", "0", false},
                                         FlagRow{"Two", "2", false},
                                         FlagRow{"Word", "yes", false},
                                         FlagRow{"Blank", " 1", false},
                                         FlagRow{"Empty", "", false}),
                         testsupport::RowName());

TEST(RestorePreferences, RestoresWhatWasSaved)
{
    RecordingStore store;
    prefs::SavePreferences(store,
                           {.useStyle = true,
                            .italic = true,
                            .useColor = true,
                            .red = "86",
                            .green = "52",
                            .blue = "18",
                            .useSharps = true,
                            .keepColumns = true});
    const prefs::Restore saved{.red = "86",
                               .green = "52",
                               .blue = "18",
                               .useColor = true,
                               .useStyle = true,
                               .italic = true,
                               .useSharps = true,
                               .keepColumns = true};
    EXPECT_EQ(prefs::RestorePreferences(store), saved);
}

TEST(SavePreferences, AStoreThatDidNotTakeThemIsReported)
{
    RecordingStore store;
    EXPECT_EQ(prefs::SavePreferences(store, {}), std::nullopt);
    store.commitProblem = "/home/me/.config/Tonvale/Tonvale.conf cannot be written.";
    const auto message = prefs::SavePreferences(store, {});
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              "Could not save the preferences: /home/me/.config/Tonvale/Tonvale.conf cannot be written.");
    EXPECT_EQ(message->title, "Tonvale");
    EXPECT_EQ(message->buttons, word::Buttons::Ok);
}

TEST(RestorePreferences, AStoreThatCouldNotBeReadIsNamedOnce)
{
    RecordingStore store;
    EXPECT_EQ(prefs::unreadableStoreMessage(store), std::nullopt);
    store.unreadableFile = "/home/me/.config/Tonvale/Tonvale.conf";
    const auto message = prefs::unreadableStoreMessage(store);
    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find("Could not read the preferences in /home/me/.config/Tonvale/Tonvale.conf."),
              std::string::npos);
    EXPECT_EQ(message->title, "Tonvale");
}

} // namespace
