#pragma once

// The main window's controls, toolkit-free: their names, kinds, captions, places in twips, containers and
// tab order. Every view (Qt on Linux, Win32 on Windows, the office's own controls in a panel) builds its
// window from this one table.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace form
{

/// Every control of frmMain, by its name.
enum class Control {
    Frame1, ///< group box "Chord Font Parameter Discriminators"
    Label1, ///< "Red"
    Label2, ///< "Green"
    Label3, ///< "Blue"
    Label4, ///< "Chord Accidentals:"
    Label5, ///< "Current Key"
    Label6, ///< "New Key"
    Label7, ///< "Semi Tones"
    Label8, ///< version
    Label9, ///< release date
    Label10, ///< comments
    Label11, ///< the home-page address, a link
    Image1, ///< the logo, a link
    Check1, ///< "Bold"
    Check2, ///< "Italics"
    Check3, ///< "Use Font Color:"
    Check4, ///< "Use Font Style:"
    Check5, ///< "Nashville Numbers" under Current Key
    Check6, ///< "Nashville Numbers" under New Key
    Check7, ///< "Underline"
    Check8, ///< "Keep Chord Columns"
    Text1, ///< red component
    Text2, ///< green component
    Text3, ///< blue component
    Text4, ///< semitone shift
    Combo1, ///< current key
    Combo2, ///< new key
    Option1, ///< "Use Sharps"
    Option2, ///< "Use Flats"
    Command1, ///< "Get Font Parameters from Selected Text"
    Command2, ///< "Transpose"
    Command3, ///< "Exit"
    Command4, ///< "Help"
    Command5, ///< "About"
    Command6, ///< "Find and Mark Chords using Font Parameters"
    Command7, ///< "Combine Lines"
    Command8, ///< "Save as Default Preferences"
};

/// How many controls there are: one per value of Control.
inline constexpr std::size_t controlCount = 37;

/// What kind of standard control a view makes for an entry.
enum class Kind {
    Frame, ///< a group box with a caption; holds other controls
    Label, ///< static text, top-left aligned, clipped
    Link, ///< static text that opens an address when clicked (pointing hand)
    Image, ///< the logo picture, a link (pointing hand)
    CheckBox, ///< value 0 or 1
    OptionButton, ///< value 0 or 1; the option buttons of one container form a group
    TextBox, ///< single-line edit box
    ComboBox, ///< drop-down list (no typing), index -1 = nothing chosen
    Button, ///< push button, never a default button
};

/// A place in the control's container, in twips (1/1440 inch; 15 twips a pixel at 96 dpi).
struct Place {
    int left;
    int top;
    int width;
    int height;
};

/// One control of the window.
struct ControlSpec {
    Control id; ///< its name as an enum
    Kind kind; ///< what a view makes for it
    std::string_view name; ///< its name as text ("Check1"), a view's object name
    std::string_view caption; ///< its caption at creation (empty for text boxes, key lists, info labels)
    std::optional<Control> container; ///< the frame it sits in, or none for the window itself
    Place place; ///< in its container, in twips
    std::string_view accessibleName; ///< what a screen reader announces
};

/// The window's title.
inline constexpr std::string_view windowTitle = "Tonvale";
/// The window's fixed client size, in twips.
inline constexpr int windowWidth = 4710;
inline constexpr int windowHeight = 7725;

/// Every control, containers before what they contain.
std::span<const ControlSpec> layout();
/// The entry of one control.
const ControlSpec &spec(Control id);
/// The order in which Tab moves the focus (controls that take focus only).
std::span<const Control> tabOrder();

/// Twips to pixels at the given dots per inch (96 on a standard screen), rounded to nearest.
int twipsToPixels(int twips, double dpi);

} // namespace form
