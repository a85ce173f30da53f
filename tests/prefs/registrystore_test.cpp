// The registry store under Wine: string values under the user's key, read back as they were written, and
// what a user's existing registry holds read as Windows programs of this kind always read it.

#include "prefs/preferences.h"
#include "prefs/registry/registrystore.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace
{

using prefs::RegistryStore;

constexpr const wchar_t *testKey = L"Software\\VB and VBA Program Settings\\Tonvale test\\Options";
constexpr const char *testKeyUtf8 = "Software\\VB and VBA Program Settings\\Tonvale test\\Options";

class RegistryStoreTest : public testing::Test
{
protected:
    void SetUp() override
    {
        removeKey();
    }
    void TearDown() override
    {
        removeKey();
    }
    static void removeKey()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Tonvale test");
    }
    // Writes a raw value as another program (or an older version) would have left it.
    static void writeRaw(const wchar_t *name, DWORD type, const void *data, DWORD bytes)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, testKey, name, type, data, bytes), ERROR_SUCCESS);
    }
    static std::wstring readRaw(const wchar_t *name)
    {
        wchar_t value[256] = {};
        DWORD bytes = sizeof(value);
        if (RegGetValueW(HKEY_CURRENT_USER, testKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
            return L"<absent>";
        }
        return value;
    }

    RegistryStore m_store{testKeyUtf8};
};

TEST_F(RegistryStoreTest, TheUsersKeyIsTheOneProgramsOfThisKindUse)
{
    EXPECT_STREQ(RegistryStore::optionsKey, "Software\\VB and VBA Program Settings\\Tonvale\\Options");
}

struct RoundTrip {
    const char *name;
    const char *value;
};

class RegistryRoundTrip : public RegistryStoreTest, public testing::WithParamInterface<RoundTrip>
{
};

TEST_P(RegistryRoundTrip, ReadsBackWhatWasWritten)
{
    m_store.set("Red", GetParam().value);
    EXPECT_EQ(m_store.get("Red"), GetParam().value);
    EXPECT_EQ(RegistryStore(testKeyUtf8).get("Red"), GetParam().value) << "a later run reads the same";
}

INSTANTIATE_TEST_SUITE_P(Values,
                         RegistryRoundTrip,
                         testing::Values(RoundTrip{"Digit", "1"},
                                         RoundTrip{"Empty", ""},
                                         RoundTrip{"NotANumber", " 12abc "},
                                         RoundTrip{"NonAscii", "r\xc3\xb6t \xe2\x99\xaf"},
                                         RoundTrip{"Long",
                                                   "0123456789012345678901234567890123456789"
                                                   "0123456789012345678901234567890123456789"}),
                         [](const testing::TestParamInfo<RoundTrip> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(RegistryStoreTest, WritesOneStringValuePerKeyUnderItsOwnName)
{
    prefs::PreferenceControls controls;
    controls.useStyle = true;
    controls.bold = true;
    controls.red = "86";
    controls.useSharps = true;
    prefs::SavePreferences(m_store, controls);

    EXPECT_EQ(readRaw(L"Use Font Style"), L"1");
    EXPECT_EQ(readRaw(L"Bold"), L"1");
    EXPECT_EQ(readRaw(L"Italics"), L"0");
    EXPECT_EQ(readRaw(L"Use Font Color"), L"0");
    EXPECT_EQ(readRaw(L"Red"), L"86");
    EXPECT_EQ(readRaw(L"Green"), L"");
    EXPECT_EQ(readRaw(L"Accidentals"), L"1");
}

TEST_F(RegistryStoreTest, ExistingPreferencesAreRestoredAsTheyAre)
{
    const wchar_t one[] = L"1";
    const wchar_t blue[] = L"200";
    writeRaw(L"Bold", REG_SZ, one, sizeof(one));
    writeRaw(L"Blue", REG_SZ, blue, sizeof(blue));
    writeRaw(L"Accidentals", REG_SZ, one, sizeof(one));

    const prefs::Restore restore = prefs::RestorePreferences(m_store);
    EXPECT_TRUE(restore.bold);
    EXPECT_FALSE(restore.italic);
    EXPECT_EQ(restore.blue, "200");
    EXPECT_EQ(restore.red, std::nullopt);
    EXPECT_TRUE(restore.useSharps);
}

TEST_F(RegistryStoreTest, WhatIsNotAStoredStringReadsAsAbsent)
{
    EXPECT_EQ(m_store.get("Bold"), "") << "no key at all";
    const DWORD number = 1;
    writeRaw(L"Bold", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(m_store.get("Bold"), "") << "a number is not a string setting";
    const wchar_t unterminated[] = {L'1', L'2'};
    writeRaw(L"Red", REG_SZ, unterminated, sizeof(unterminated));
    EXPECT_EQ(m_store.get("Red"), "12") << "a string without its terminating zero";
    EXPECT_EQ(m_store.get("Green"), "") << "a value never written";
}

TEST_F(RegistryStoreTest, AWriteTheRegistryRefusesIsAnError)
{
    // Key names are limited to 255 characters: the registry refuses to create this one.
    RegistryStore refused(std::string(testKeyUtf8) + "\\" + std::string(300, 'k'));
    EXPECT_THROW(refused.set("Bold", "1"), std::runtime_error);
    EXPECT_EQ(refused.get("Bold"), "");
}

} // namespace
