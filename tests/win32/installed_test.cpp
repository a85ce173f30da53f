// Tonvale as its user gets it: the installer run silently into this Wine prefix, the installed tonvale.exe
// started beside the stand-in Word with a song sheet open, its window driven through window messages and the
// document checked through the stand-in after each step; then the uninstaller.
// Three groups run in this order (ctest fixtures): Install.*, Window.*, Uninstall.*.

#include "driver.h"

#include "prefs/registry/registrystore.h"
#include "word/messages.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{

using driver::Box;
using driver::Process;
using driver::StandInWord;
using form::Control;
using namespace std::chrono_literals;

constexpr const char *optionsKey = prefs::RegistryStore::optionsKey;

std::wstring installedProgram()
{
    return driver::installFolder() + L"\\tonvale.exe";
}

std::wstring quoted(const std::wstring &path)
{
    return L"\"" + path + L"\"";
}

bool hasDisplay()
{
    return GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) != 0;
}

TEST(Install, SilentlyForThisUserWithAStartMenuEntry)
{
    const std::wstring setup = driver::programFolder() + L"..\\..\\" TONVALE_SETUP_NAME;
    ASSERT_TRUE(driver::fileExists(setup)) << "build the installer first";
    ASSERT_EQ(driver::run(quoted(setup) + L" /S"), 0);
    EXPECT_TRUE(driver::fileExists(installedProgram()));
    EXPECT_TRUE(driver::fileExists(driver::installFolder() + L"\\uninstall.exe"));
    EXPECT_TRUE(driver::fileExists(driver::startMenuEntry()));
    wchar_t version[32] = {};
    DWORD bytes = sizeof(version);
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER,
                           L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tonvale",
                           L"DisplayVersion",
                           RRF_RT_REG_SZ,
                           nullptr,
                           version,
                           &bytes),
              ERROR_SUCCESS);
    EXPECT_STREQ(version, L"2.0.12");
}

// The installed program against a stand-in Word started as the user's own.
class Window : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!hasDisplay()) {
            GTEST_SKIP() << "no display for Wine's windows (the Windows suite starts Xvfb)";
        }
        ASSERT_TRUE(driver::fileExists(installedProgram())) << "run Install.* first";
    }
    void TearDown() override
    {
        m_tonvale.reset();
        m_word.reset();
    }

    void startWord(const char *sheet = nullptr)
    {
        m_word.emplace();
        if (sheet) {
            m_word->open(sheet);
        }
    }
    driver::Window &startTonvale()
    {
        const auto start = std::chrono::steady_clock::now();
        m_tonvale.emplace(quoted(installedProgram()));
        HWND found = nullptr;
        driver::waitFor(
            [&] {
                found = driver::Window::find(m_tonvale->id());
                return found != nullptr;
            },
            30s);
        if (!found) {
            throw std::runtime_error("Tonvale's window did not appear");
        }
        const auto shown =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        std::printf("tonvale.exe showed its window %lld ms after it was started\n",
                    static_cast<long long>(shown.count()));
        m_window.emplace(found);
        return *m_window;
    }
    static void clearPreferences()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Tonvale");
    }

    std::optional<StandInWord> m_word;
    std::optional<Process> m_tonvale;
    std::optional<driver::Window> m_window;
};

TEST_F(Window, WithoutWordTheFatalErrorAndNoWindow)
{
    // No "Word.Application" at all for this test; registered again afterwards for the others.
    const std::wstring fakeword = quoted(driver::programFolder() + L"..\\com\\fakeword.exe");
    ASSERT_EQ(driver::run(fakeword + L" /UnregServer"), 0);
    struct Reregister {
        std::wstring command;
        ~Reregister()
        {
            driver::run(command + L" /RegServer");
        }
    } reregister{fakeword};

    Process tonvale(quoted(installedProgram()));
    const Box box = driver::waitForMessageBox(tonvale.id(), 30s);
    ASSERT_NE(box.window, nullptr);
    const word::Message fatal = word::fatalMessage({"Microsoft Word", "Word"});
    EXPECT_EQ(box.title, "Fatal Error");
    EXPECT_EQ(box.text, fatal.text);
    EXPECT_EQ(driver::Window::find(tonvale.id()), nullptr) << "no main window";
    driver::answer(box, IDOK);
    EXPECT_EQ(tonvale.wait(10s), 1u);
}

TEST_F(Window, TransposeWithTheChosenKeysAndBold)
{
    clearPreferences();
    startWord("{b|C}  {b|G}  {b|Am7}\nCome sing along");
    driver::Window &window = startTonvale();
    EXPECT_EQ(window.text(Control::Label8), "Version: 2.0.12");
    EXPECT_EQ(window.value(Control::Option2), 1) << "no saved preference: Use Flats";

    window.choose(Control::Combo1, 3); // C
    window.choose(Control::Combo2, 5); // D
    EXPECT_EQ(window.text(Control::Text4), "2");
    window.click(Control::Check1);
    EXPECT_EQ(window.value(Control::Check4), 1) << "ticking Bold ticks Use Font Style:";
    window.click(Control::Command2);
    EXPECT_EQ(m_word->text(), "{b|D}  {b|A}  {b|Bm7}\nCome sing along");
    EXPECT_EQ(window.text(Control::Combo1), "D") << "the new key is now the current key";
    EXPECT_EQ(window.text(Control::Text4), "0");

    // The keyboard: Escape runs nothing; Tab goes to Transpose (the layout's tab order), Enter runs it.
    const std::string transposed = m_word->text();
    window.choose(Control::Combo2, 7); // E
    window.key(VK_ESCAPE);
    int tabs = 0;
    do {
        const HWND before = window.focus();
        window.key(VK_TAB); // keys are handled in order: once the focus moves, Escape has been handled
        ASSERT_TRUE(driver::waitFor([&] {
            return window.focus() != before;
        }));
    } while (++tabs < 40 && window.focus() != window.control(Control::Command2));
    ASSERT_EQ(window.focus(), window.control(Control::Command2));
    EXPECT_EQ(m_word->text(), transposed);
    window.key(VK_RETURN);
    const std::string expected = "{b|E}  {b|B}  {b|Dbm7}\nCome sing along"; // spelt with flats
    driver::waitFor([&] {
        return m_word->text() == expected; // the command's steps show on the way (tone markers)
    });
    EXPECT_EQ(m_word->text(), expected);
}

TEST_F(Window, NoChordFontAsksBeforeChangingEveryLetter)
{
    clearPreferences();
    startWord("{b|A}  {b|E}\nA lyric");
    driver::Window &window = startTonvale();
    window.choose(Control::Combo1, 0);
    window.choose(Control::Combo2, 2);
    window.clickLater(Control::Command2);
    const Box question = driver::waitForMessageBox(m_tonvale->id());
    ASSERT_NE(question.window, nullptr);
    EXPECT_EQ(question.title, "Error");
    EXPECT_EQ(question.text, "Chord font parameters are not set.\r\nDo you want to continue?");
    driver::answer(question, IDNO);
    EXPECT_EQ(m_word->text(), "{b|A}  {b|E}\nA lyric") << "No changes nothing";
}

TEST_F(Window, FindAndMarkGivesChordShapedTextTheChordFont)
{
    clearPreferences();
    startWord("Am7  F#m  Bb/D\nsing a song\nG  D/F#");
    driver::Window &window = startTonvale();
    window.click(Control::Check1);
    window.click(Control::Command6);
    // Root and bass are marked, the slash between them is not.
    EXPECT_EQ(m_word->text(), "{b|Am7}  {b|F#m}  {b|Bb}/{b|D}\nsing a song\n{b|G}  {b|D}/{b|F#}");
}

TEST_F(Window, GetFontParametersFromTheSelectedSample)
{
    clearPreferences();
    startWord("{b#563412|Am7} lyrics");
    driver::Window &window = startTonvale();

    m_word->select(0, 0);
    window.clickLater(Control::Command1);
    const Box warning = driver::waitForMessageBox(m_tonvale->id());
    EXPECT_EQ(warning.title, "Warning");
    EXPECT_EQ(warning.text, "You must select a sample chord font before you can get the font parameters.");
    driver::answer(warning, IDOK);
    EXPECT_EQ(window.value(Control::Check1), 0);

    m_word->select(0, 3);
    window.click(Control::Command1);
    EXPECT_EQ(window.value(Control::Check1), 1);
    EXPECT_EQ(window.value(Control::Check4), 1);
    EXPECT_EQ(window.value(Control::Check2), 0);
    EXPECT_EQ(window.text(Control::Text1), "86");
    EXPECT_EQ(window.text(Control::Text2), "52");
    EXPECT_EQ(window.text(Control::Text3), "18");
    EXPECT_EQ(m_word->text(), "{b#563412|Am7} lyrics") << "the document is only read";
}

TEST_F(Window, CombineLinesJoinsTheNextPair)
{
    startWord("C   G\nfirst half\nD   A\nsecond half\nnext");
    driver::Window &window = startTonvale();
    m_word->select(0, 0);
    window.click(Control::Command7);
    EXPECT_EQ(m_word->text(), "C   GD   A\nfirst halfsecond half\nnext");
}

TEST_F(Window, SavedPreferencesComeBackFromTheRegistry)
{
    clearPreferences();
    startWord("{i|G} sheet");
    {
        driver::Window &window = startTonvale();
        window.click(Control::Check2); // Italics, and with it Use Font Style:
        window.click(Control::Check3);
        window.setText(Control::Text1, "12");
        window.setText(Control::Text3, "not a number");
        window.click(Control::Option1);
        window.click(Control::Command8);
        window.click(Control::Command3); // Exit: Word keeps its document
        EXPECT_EQ(m_tonvale->wait(10s), 0u);
    }
    prefs::RegistryStore store;
    EXPECT_EQ(store.get("Italics"), "1");
    EXPECT_EQ(store.get("Use Font Style"), "1");
    EXPECT_EQ(store.get("Bold"), "0");
    EXPECT_EQ(store.get("Use Font Color"), "1");
    EXPECT_EQ(store.get("Red"), "12");
    EXPECT_EQ(store.get("Green"), "");
    EXPECT_EQ(store.get("Blue"), "not a number");
    EXPECT_EQ(store.get("Accidentals"), "1");

    driver::Window &again = startTonvale();
    EXPECT_EQ(again.value(Control::Check2), 1);
    EXPECT_EQ(again.value(Control::Check4), 1);
    EXPECT_EQ(again.value(Control::Check1), 0);
    EXPECT_EQ(again.text(Control::Text1), "12");
    EXPECT_EQ(again.text(Control::Text2), "");
    EXPECT_EQ(again.text(Control::Text3), "not a number");
    EXPECT_EQ(again.value(Control::Option1), 1);
    EXPECT_EQ(again.value(Control::Option2), 0);
    clearPreferences();
}

TEST_F(Window, HelpAboutLogoAndAddressOpenThroughWord)
{
    startWord("sheet");
    driver::Window &window = startTonvale();
    const std::string home = window.text(Control::Label11);
    EXPECT_EQ(home.rfind("http", 0), 0u) << home;
    window.click(Control::Command4);
    window.click(Control::Command5);
    window.clickStatic(Control::Image1);
    window.clickStatic(Control::Label11);
    EXPECT_EQ(m_word->links(),
              (std::vector<std::string>{home + "/transposer.shtml#help", home + "/transposer.shtml", home, home}));
}

TEST_F(Window, ExitWithADocumentLeavesWordRunning)
{
    startWord("sheet");
    driver::Window &window = startTonvale();
    window.clickLater(Control::Command3);
    EXPECT_EQ(m_tonvale->wait(10s), 0u);
    EXPECT_TRUE(m_word->running());
    EXPECT_EQ(m_word->documentsCount(), 1);
}

TEST_F(Window, WhenTheUserQuitsWordTheWindowCloses)
{
    startWord("sheet");
    startTonvale();
    m_word->userQuit();
    // It ends by itself: no error report about the Word that has gone.
    const auto code = m_tonvale->wait(10s);
    EXPECT_EQ(code, 0u) << "still running, showing: " << driver::waitForMessageBox(m_tonvale->id(), 0s).text;
}

TEST_F(Window, ClosingWithoutADocumentQuitsWord)
{
    startWord();
    driver::Window &window = startTonvale();
    PostMessageW(window.handle(), WM_CLOSE, 0, 0); // the close box, as Exit
    EXPECT_EQ(m_tonvale->wait(10s), 0u);
    EXPECT_TRUE(m_word->wait(10s).has_value()) << "the stand-in Word was told to quit";
}

TEST(Uninstall, LeavesNoFileAndKeepsThePreferences)
{
    prefs::RegistryStore store;
    store.set("Bold", "1");
    const std::wstring uninstaller = driver::installFolder() + L"\\uninstall.exe";
    ASSERT_TRUE(driver::fileExists(uninstaller));
    // The uninstaller copies itself away and returns at once; the copy removes the folder.
    ASSERT_EQ(driver::run(quoted(uninstaller) + L" /S"), 0);
    EXPECT_TRUE(driver::waitFor(
        [] {
            return !driver::fileExists(driver::installFolder());
        },
        30s))
        << "the install folder is gone, with every file in it";
    EXPECT_FALSE(driver::fileExists(driver::startMenuEntry()));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER,
                            L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tonvale",
                            0,
                            KEY_READ,
                            &key),
              ERROR_SUCCESS);
    EXPECT_EQ(store.get("Bold"), "1") << "the preferences are the user's: they stay";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Tonvale");
}

} // namespace
