// The extension inside a headless office: each command sent as a "vnd.tonvale:" request to the
// window of a song sheet changes the sheet as expected (written out by hand, and as the same request
// does on the built-in host), is one step in the office's Undo, and undoing it restores the sheet.

#include "extoffice.h"
#include "prefs/qt/qsettingsstore.h"
#include "request.h"
#include "tests/support/fakeview.h"
#include "tests/uno/support/office.h"
#include "word/builtin/host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace
{

class OfficeEnvironment : public ::testing::Environment
{
public:
    void TearDown() override
    {
        oxttest::stopOffice();
    }
};

const auto *const environment = ::testing::AddGlobalTestEnvironment(new OfficeEnvironment);

std::vector<word::uno::TextRun> runsOf(const word::builtin::TextDocument &doc)
{
    std::vector<word::uno::TextRun> runs;
    for (const auto &run : doc.runs()) {
        runs.push_back({doc.utf8(run.start, run.start + run.length),
                        run.format.bold,
                        run.format.italic,
                        run.format.underline,
                        run.format.color});
    }
    if (!runs.empty() && !runs.back().text.empty()) {
        runs.back().text.pop_back(); // the final paragraph mark is implied on both sides
        if (runs.back().text.empty()) {
            runs.pop_back();
        }
    }
    return runs;
}

struct BuiltinRun {
    std::string notation; ///< the sheet afterwards
    std::string result; ///< the request's result lines
};

// The same request through the same form over controls in memory, on the built-in word processor.
BuiltinRun onBuiltin(const std::string &sheet, const std::string &url, int selStart, int selEnd)
{
    auto host = std::make_shared<word::builtin::Host>();
    host->open(word::builtin::fromNotation(sheet));
    host->setSelection(selStart, selEnd);
    oxt::SwitchPrompter prompter;
    oxt::MemoryView view(prompter);
    prefs::QSettingsStore store(QString::fromStdString(oxttest::settingsFile())); // the office's preferences
    form::frmMain form(view, store);
    EXPECT_TRUE(form.Form_Load(testsupport::kindAttachingTo(host)));
    const auto request = oxt::parseRequest(url);
    EXPECT_TRUE(std::holds_alternative<oxt::Request>(request));
    const auto outcome = oxt::runRequest(std::get<oxt::Request>(request), form, view, prompter);
    return {unotest::notationOf(runsOf(*host->activeText())), outcome.result};
}

const std::string sheet =
    "{b|C}   {b|G/B}   {b|Am7}\nAmazing Grace how {i|sweet} the sound\n"
    "{b|F#m7}  {b|Bb/D}\nThat saved a wretch like me";
const std::string numbers = "{b|1 4/5 6m}\nverse two\n{b|b7 5sus4}";
const std::string plain = "C   G/B   Am7\nAmazing Grace how sweet the sound";

struct Row {
    const char *name;
    const char *undoTitle; ///< the command's step in the office's Undo
    std::string sheet;
    std::string url;
    std::string expected; ///< the sheet afterwards, worked out by hand
    int selStart = 0;
    int selEnd = 0;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class Commands : public ::testing::TestWithParam<Row>
{
};

TEST_P(Commands, ChangeTheSheetInOneUndoStep)
{
    const Row &row = GetParam();
    auto &office = oxttest::office();
    office.closeAllDocuments();
    office.newDocument(unotest::runsFromNotation(row.sheet));
    office.setSelection(row.selStart, row.selEnd);
    const auto before = office.documentRuns();
    const int stepsBefore = oxttest::undoSteps();

    const auto done = oxttest::dispatch("vnd.tonvale:" + row.url);
    ASSERT_TRUE(done.ok) << done.result;
    EXPECT_EQ(done.value("status"), "ok");

    const std::string after = unotest::notationOf(office.documentRuns());
    EXPECT_EQ(after, row.expected);
    const auto builtin = onBuiltin(row.sheet, "vnd.tonvale:" + row.url, row.selStart, row.selEnd);
    EXPECT_EQ(after, builtin.notation);
    EXPECT_EQ(done.result, builtin.result + "view=memory\n");

    EXPECT_EQ(oxttest::undoSteps(), stepsBefore + 1);
    EXPECT_EQ(oxttest::lastUndoTitle(), row.undoTitle);
    ASSERT_TRUE(office.undo());
    EXPECT_EQ(office.documentRuns(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Extension,
    Commands,
    ::testing::Values(Row{"TransposeUpTwoWithSharps",
                          "Transpose",
                          sheet,
                          "transpose?Check1=1&Combo1=C&Combo2=D&Option1=1",
                          "{b|D}   {b|A/C#}   {b|Bm7}\nAmazing Grace how {i|sweet} the sound\n{b|G#m7}  {b|C/E}\n"
                          "That saved a wretch like me"},
                      Row{"TransposeDownThreeWithFlats",
                          "Transpose",
                          sheet,
                          "Command2?Check1=1&Combo1=D&Combo2=B&Option2=1",
                          "{b|A}   {b|E/Ab}   {b|Gbm7}\nAmazing Grace how {i|sweet} the sound\n{b|Ebm7}  {b|G/B}\n"
                          "That saved a wretch like me"},
                      Row{"TransposeToNashville",
                          "Transpose",
                          sheet,
                          "transpose?Check1=1&Combo1=C&Combo2=C&Check6=1",
                          "{b|1}   {b|5/7}   {b|6m7}\nAmazing Grace how {i|sweet} the sound\n{b|b5m7}  {b|b7/2}\n"
                          "That saved a wretch like me"},
                      Row{"TransposeFromNashville",
                          "Transpose",
                          numbers,
                          "transpose?Check1=1&Check5=1&Combo2=G&Option1=1",
                          "{b|G C/D Em}\nverse two\n{b|F Dsus4}"},
                      Row{"MarkChords",
                          "Find and Mark Chords",
                          plain,
                          "mark?Check1=1",
                          "{b|C}   {b|G}/{b|B}   {b|Am7}\n{b|Am}azing Grace how sweet the sound"},
                      Row{"CombineLines",
                          "Combine Lines",
                          sheet + "\n{b|C}\nAmen",
                          "combine",
                          "{b|C}   {b|G/B}   {b|Am7F#m7}  {b|Bb/D}\nAmazing Grace how {i|sweet} the soundThat saved a "
                          "wretch like me\n"
                          "{b|C}\nAmen"}));

// Get Font Parameters reads the selected sample chord into the boxes and changes nothing.
TEST(Extension, GetFontParametersFromTheSelection)
{
    auto &office = oxttest::office();
    office.closeAllDocuments();
    office.newDocument(unotest::runsFromNotation("{bu#FF0000|G7} la"));
    office.setSelection(0, 2);
    const auto done = oxttest::dispatch("vnd.tonvale:getfont?Check1=0&Check7=0");
    ASSERT_TRUE(done.ok) << done.result;
    EXPECT_EQ(done.value("Check1"), "1");
    EXPECT_EQ(done.value("Check7"), "1");
    EXPECT_EQ(done.value("Check2"), "0");
    EXPECT_EQ(done.value("Text1"), "255");
    EXPECT_EQ(unotest::notationOf(office.documentRuns()), "{bu#FF0000|G7} la");
}

// Without any chord font parameter Transpose asks first; the request's answer decides.
TEST(Extension, TransposeWithoutParametersAsksFirst)
{
    auto &office = oxttest::office();
    for (const bool yes : {false, true}) {
        office.closeAllDocuments();
        office.newDocument(unotest::runsFromNotation(plain));
        const auto done = oxttest::dispatch(std::string("vnd.tonvale:transpose?Check4=0&Check1=0&Check2=0&Check7=0")
                                            + "&Combo1=C&Combo2=D&answer=" + (yes ? "yes" : "no"));
        ASSERT_TRUE(done.ok) << done.result;
        EXPECT_NE(done.value("message"), "");
        EXPECT_EQ(unotest::notationOf(office.documentRuns()),
                  yes ? "D   A/Db   Bm7\nBmazing Arace how sweet the sound" : plain)
            << (yes ? "answered yes" : "answered no");
    }
}

TEST(Extension, BadRequestsFailWithAReason)
{
    auto &office = oxttest::office();
    office.closeAllDocuments();
    office.newDocument(unotest::runsFromNotation(plain));
    for (const char *url : {"vnd.tonvale:exit",
                            "vnd.tonvale:Command3",
                            "vnd.tonvale:nothing",
                            "vnd.tonvale:transpose?Combo1=H",
                            "vnd.tonvale:transpose?Check1=2"}) {
        const auto done = oxttest::dispatch(url);
        EXPECT_FALSE(done.ok) << url;
        EXPECT_NE(done.value("error"), "") << url;
    }
    EXPECT_EQ(unotest::notationOf(office.documentRuns()), plain);
}

// Save as Default Preferences writes the program's preferences store.
TEST(Extension, SaveWritesThePreferences)
{
    auto &office = oxttest::office();
    office.closeAllDocuments();
    office.newDocument(unotest::runsFromNotation(plain));
    const auto done = oxttest::dispatch("vnd.tonvale:save?Check2=1&Text1=12&Option1=1");
    ASSERT_TRUE(done.ok) << done.result;
    std::ifstream file(oxttest::settingsFile());
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_NE(content.str().find("Italics=1"), std::string::npos) << content.str();
    EXPECT_NE(content.str().find("Red=12"), std::string::npos) << content.str();
    EXPECT_NE(content.str().find("Accidentals=1"), std::string::npos) << content.str();
    std::filesystem::remove(oxttest::settingsFile()); // the other tests start from empty preferences
}

} // namespace
