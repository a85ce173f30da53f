// The control table at 96 dpi: every control once, its kind, container, caption and place in twips as
// drawn, the tab order, and an accessible name for each control.

#include "form/layout.h"
#include "tests/support/rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace
{

struct ControlRow {
    const char *name;
    const char *container;
    const char *caption;
    int left, top, width, height; // twips
    const char *accessibleName;
};

const ControlRow controls[] = {
    {"Frame1", "", "Chord Font Parameter Discriminators", 120, 120, 4455, 2895, "Chord Font Parameter Discriminators"},
    {"Label4", "", "Chord Accidentals:", 240, 3120, 1575, 255, "Chord Accidentals:"},
    {"Option1", "", "Use Sharps", 1920, 3120, 1335, 255, "Use Sharps"},
    {"Option2", "", "Use Flats", 3360, 3120, 1095, 255, "Use Flats"},
    {"Label5", "", "Current Key", 240, 3480, 1575, 255, "Current Key"},
    {"Label6", "", "New Key", 2040, 3480, 1575, 255, "New Key"},
    {"Label7", "", "Semi Tones", 3720, 3480, 855, 255, "Semi Tones"},
    {"Combo1", "", "", 240, 3720, 1575, 315, "Current Key"},
    {"Combo2", "", "", 2040, 3720, 1575, 315, "New Key"},
    {"Text4", "", "", 3720, 3720, 855, 285, "Semi Tones"},
    {"Check5", "", "Nashville Numbers", 240, 4080, 2055, 255, "Current Key in Nashville Numbers"},
    {"Check6", "", "Nashville Numbers", 2040, 4080, 1935, 255, "New Key in Nashville Numbers"},
    {"Command2", "", "Transpose", 720, 4440, 1575, 375, "Transpose"},
    {"Command3", "", "Exit", 2520, 4440, 1575, 375, "Exit"},
    {"Image1", "", "", 240, 5040, 4200, 540, "Tonvale home page"},
    {"Command4", "", "Help", 3000, 5880, 1575, 375, "Help"},
    {"Label8", "", "", 120, 6000, 2535, 255, "Version"},
    {"Label9", "", "", 120, 6240, 2535, 375, "Released"},
    {"Command5", "", "About", 3000, 6360, 1575, 375, "About"},
    {"Label10", "", "", 120, 6480, 2535, 255, "Comments"},
    {"Label11", "", "", 120, 6720, 2535, 375, "Home page"},
    {"Command7", "", "Combine Lines", 3000, 6840, 1575, 375, "Combine Lines"},
    {"Check8", "", "Keep Chord Columns", 720, 7320, 3375, 255, "Keep Chord Columns"},
    {"Label1", "Frame1", "Red", 2160, 360, 495, 255, "Red"},
    {"Label2", "Frame1", "Green", 2760, 360, 495, 255, "Green"},
    {"Label3", "Frame1", "Blue", 3360, 360, 615, 255, "Blue"},
    {"Check3", "Frame1", "Use Font Color:", 240, 600, 1695, 255, "Use Font Color:"},
    {"Text1", "Frame1", "", 2160, 600, 495, 285, "Red"},
    {"Text2", "Frame1", "", 2760, 600, 495, 285, "Green"},
    {"Text3", "Frame1", "", 3360, 600, 495, 285, "Blue"},
    {"Check4", "Frame1", "Use Font Style:", 240, 1080, 1455, 255, "Use Font Style:"},
    {"Check1", "Frame1", "Bold", 1800, 1080, 735, 255, "Bold"},
    {"Check2", "Frame1", "Italics", 2520, 1080, 735, 255, "Italics"},
    {"Check7", "Frame1", "Underline", 3360, 1080, 975, 255, "Underline"},
    {"Command1",
     "Frame1",
     "Get Font Parameters from Selected Text",
     240,
     1440,
     3975,
     375,
     "Get Font Parameters from Selected Text"},
    {"Command6",
     "Frame1",
     "Find and Mark Chords using Font Parameters",
     240,
     1920,
     3975,
     375,
     "Find and Mark Chords using Font Parameters"},
    {"Command8", "Frame1", "Save as Default Preferences", 240, 2400, 3975, 375, "Save as Default Preferences"},
};

const form::ControlSpec *byName(std::string_view name)
{
    const auto table = form::layout();
    const auto found = std::find_if(table.begin(), table.end(), [name](const form::ControlSpec &c) {
        return c.name == name;
    });
    return found == table.end() ? nullptr : &*found;
}

class LayoutTest : public ::testing::TestWithParam<ControlRow>
{
};

TEST_P(LayoutTest, NameCaptionPlaceContainerAndAccessibleName)
{
    const ControlRow &row = GetParam();
    const form::ControlSpec *c = byName(row.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(&form::spec(c->id), c);
    EXPECT_EQ(c->container ? form::spec(*c->container).name : std::string_view(), row.container);
    EXPECT_EQ(c->caption, row.caption);
    EXPECT_EQ(c->place.left, row.left);
    EXPECT_EQ(c->place.top, row.top);
    EXPECT_EQ(c->place.width, row.width);
    EXPECT_EQ(c->place.height, row.height);
    EXPECT_EQ(c->accessibleName, row.accessibleName);
}

INSTANTIATE_TEST_SUITE_P(EveryControl, LayoutTest, ::testing::ValuesIn(controls), testsupport::RowName());

TEST(Layout, EveryControlOnceAndContainersFirst)
{
    const auto table = form::layout();
    EXPECT_EQ(table.size(), std::size(controls));
    std::set<form::Control> seen;
    for (const form::ControlSpec &c : table) {
        EXPECT_TRUE(seen.insert(c.id).second) << c.name;
        if (c.container) {
            EXPECT_TRUE(seen.count(*c.container)) << c.name << " comes before its frame";
            EXPECT_EQ(form::spec(*c.container).kind, form::Kind::Frame) << c.name;
        }
    }
}

TEST(Layout, TabOrderFollowsTheTabColumn)
{
    std::vector<std::string_view> names;
    for (const form::Control c : form::tabOrder()) {
        names.push_back(form::spec(c).name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string_view>{"Check1",   "Check2",   "Check3",   "Check4",   "Check5",   "Check6",
                                             "Text1",    "Text2",    "Text3",    "Text4",    "Combo1",   "Combo2",
                                             "Option1",  "Option2",  "Command1", "Command2", "Command3", "Command4",
                                             "Command5", "Command6", "Check7",   "Command7", "Command8", "Check8"}));
}

TEST(Twips, FifteenToThePixelAt96DpiAndScaledAbove)
{
    EXPECT_EQ(form::twipsToPixels(form::windowWidth, 96), 314);
    EXPECT_EQ(form::twipsToPixels(form::windowHeight, 96), 515);
    EXPECT_EQ(form::twipsToPixels(4710, 144), 471);
    EXPECT_EQ(form::twipsToPixels(15, 192), 2);
}

} // namespace
