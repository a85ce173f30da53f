#include "layout.h"

#include <algorithm>
#include <cmath>

namespace form
{

namespace
{

constexpr std::optional<Control> window = std::nullopt;
constexpr std::optional<Control> frame = Control::Frame1;

// clang-format off
constexpr std::array<ControlSpec, controlCount> controls{{
    {Control::Frame1, Kind::Frame, "Frame1", "Chord Font Parameter Discriminators", window, {120, 120, 4455, 2895},
     "Chord Font Parameter Discriminators"},
    {Control::Label1, Kind::Label, "Label1", "Red", frame, {2160, 360, 495, 255}, "Red"},
    {Control::Label2, Kind::Label, "Label2", "Green", frame, {2760, 360, 495, 255}, "Green"},
    {Control::Label3, Kind::Label, "Label3", "Blue", frame, {3360, 360, 615, 255}, "Blue"},
    {Control::Check3, Kind::CheckBox, "Check3", "Use Font Color:", frame, {240, 600, 1695, 255}, "Use Font Color:"},
    {Control::Text1, Kind::TextBox, "Text1", "", frame, {2160, 600, 495, 285}, "Red"},
    {Control::Text2, Kind::TextBox, "Text2", "", frame, {2760, 600, 495, 285}, "Green"},
    {Control::Text3, Kind::TextBox, "Text3", "", frame, {3360, 600, 495, 285}, "Blue"},
    {Control::Check4, Kind::CheckBox, "Check4", "Use Font Style:", frame, {240, 1080, 1455, 255}, "Use Font Style:"},
    {Control::Check1, Kind::CheckBox, "Check1", "Bold", frame, {1800, 1080, 735, 255}, "Bold"},
    {Control::Check2, Kind::CheckBox, "Check2", "Italics", frame, {2520, 1080, 735, 255}, "Italics"},
    {Control::Check7, Kind::CheckBox, "Check7", "Underline", frame, {3360, 1080, 975, 255}, "Underline"},
    {Control::Command1, Kind::Button, "Command1", "Get Font Parameters from Selected Text", frame,
     {240, 1440, 3975, 375}, "Get Font Parameters from Selected Text"},
    {Control::Command6, Kind::Button, "Command6", "Find and Mark Chords using Font Parameters", frame,
     {240, 1920, 3975, 375}, "Find and Mark Chords using Font Parameters"},
    {Control::Command8, Kind::Button, "Command8", "Save as Default Preferences", frame, {240, 2400, 3975, 375},
     "Save as Default Preferences"},
    {Control::Label4, Kind::Label, "Label4", "Chord Accidentals:", window, {240, 3120, 1575, 255},
     "Chord Accidentals:"},
    {Control::Option1, Kind::OptionButton, "Option1", "Use Sharps", window, {1920, 3120, 1335, 255}, "Use Sharps"},
    {Control::Option2, Kind::OptionButton, "Option2", "Use Flats", window, {3360, 3120, 1095, 255}, "Use Flats"},
    {Control::Label5, Kind::Label, "Label5", "Current Key", window, {240, 3480, 1575, 255}, "Current Key"},
    {Control::Label6, Kind::Label, "Label6", "New Key", window, {2040, 3480, 1575, 255}, "New Key"},
    {Control::Label7, Kind::Label, "Label7", "Semi Tones", window, {3720, 3480, 855, 255}, "Semi Tones"},
    {Control::Combo1, Kind::ComboBox, "Combo1", "", window, {240, 3720, 1575, 315}, "Current Key"},
    {Control::Combo2, Kind::ComboBox, "Combo2", "", window, {2040, 3720, 1575, 315}, "New Key"},
    {Control::Text4, Kind::TextBox, "Text4", "", window, {3720, 3720, 855, 285}, "Semi Tones"},
    {Control::Check5, Kind::CheckBox, "Check5", "Nashville Numbers", window, {240, 4080, 2055, 255},
     "Current Key in Nashville Numbers"},
    {Control::Check6, Kind::CheckBox, "Check6", "Nashville Numbers", window, {2040, 4080, 1935, 255},
     "New Key in Nashville Numbers"},
    {Control::Command2, Kind::Button, "Command2", "Transpose", window, {720, 4440, 1575, 375}, "Transpose"},
    {Control::Command3, Kind::Button, "Command3", "Exit", window, {2520, 4440, 1575, 375}, "Exit"},
    {Control::Image1, Kind::Image, "Image1", "", window, {240, 5040, 4200, 540}, "Tonvale home page"},
    {Control::Command4, Kind::Button, "Command4", "Help", window, {3000, 5880, 1575, 375}, "Help"},
    {Control::Label8, Kind::Label, "Label8", "", window, {120, 6000, 2535, 255}, "Version"},
    {Control::Label9, Kind::Label, "Label9", "", window, {120, 6240, 2535, 375}, "Released"},
    {Control::Command5, Kind::Button, "Command5", "About", window, {3000, 6360, 1575, 375}, "About"},
    {Control::Label10, Kind::Label, "Label10", "", window, {120, 6480, 2535, 255}, "Comments"},
    {Control::Label11, Kind::Link, "Label11", "", window, {120, 6720, 2535, 375}, "Home page"},
    {Control::Command7, Kind::Button, "Command7", "Combine Lines", window, {3000, 6840, 1575, 375},
     "Combine Lines"},
    // The one row the window grew by: every other control keeps its place.
    {Control::Check8, Kind::CheckBox, "Check8", "Keep Chord Columns", window, {720, 7320, 3375, 255},
     "Keep Chord Columns"},
}};

constexpr std::array<Control, 24> tabs{
    Control::Check1,   Control::Check2,   Control::Check3,   Control::Check4,   Control::Check5,  Control::Check6,
    Control::Text1,    Control::Text2,    Control::Text3,    Control::Text4,    Control::Combo1,  Control::Combo2,
    Control::Option1,  Control::Option2,  Control::Command1, Control::Command2, Control::Command3, Control::Command4,
    Control::Command5, Control::Command6, Control::Check7,   Control::Command7, Control::Command8, Control::Check8,
};
// clang-format on

} // namespace

std::span<const ControlSpec> layout()
{
    return controls;
}

const ControlSpec &spec(Control id)
{
    const auto *found = std::find_if(controls.begin(), controls.end(), [id](const ControlSpec &c) {
        return c.id == id;
    });
    return *found; // every Control has an entry (checked by the layout tests)
}

std::span<const Control> tabOrder()
{
    return tabs;
}

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

} // namespace form
