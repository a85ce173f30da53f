#pragma once

// The default preferences: the chord font parameters, the sharps/flats choice and "Keep Chord Columns", saved on
// request and restored at start-up, as ten string keys of the application's "Options" section.

#include "word/messages.h"

#include <optional>
#include <string>

namespace prefs
{

/// The per-user settings store seen as string keys of the "Options" section.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    /// The stored value of key; "" when absent or unreadable.
    virtual std::string get(const std::string &key) = 0;
    /// Store value under key.
    virtual void set(const std::string &key, const std::string &value) = 0;
    /// Write what was set to permanent storage and check it is there; the reason (a sentence) when it is not.
    virtual std::optional<std::string> commit()
    {
        return std::nullopt;
    }
    /// The file (or place) that could not be read, or not in full, when the store was opened; it stays as it
    /// is until something is set.
    virtual std::optional<std::string> unreadable() const
    {
        return std::nullopt;
    }
};

/// The controls that are saved, as they stand when "Save as Default Preferences" is clicked.
struct PreferenceControls {
    bool useStyle = false; ///< Check4 "Use Font Style:"
    bool bold = false; ///< Check1 "Bold"
    bool italic = false; ///< Check2 "Italics"
    bool underline = false; ///< Check7 "Underline"
    bool useColor = false; ///< Check3 "Use Font Color:"
    std::string red; ///< Text1
    std::string green; ///< Text2
    std::string blue; ///< Text3
    bool useSharps = false; ///< Option1 "Use Sharps" selected
    bool keepColumns = false; ///< Check8 "Keep Chord Columns"
};

/// Writes the ten keys in their order: "Use Font Style", "Bold", "Italics", "Underline", "Use Font Color",
/// "Red", "Green", "Blue", "Accidentals", "Keep Columns" ("0"/"1"), then commits them. When the store did not
/// take them, the message to show: "Could not save the preferences: <reason>"; the program goes on.
std::optional<word::Message> SavePreferences(SettingsStore &store, const PreferenceControls &controls);

/// When the store could not be read in full at start, the message to show once: which file, that what could be
/// read is used, and that the file stays as it is until the preferences are saved.
std::optional<word::Message> unreadableStoreMessage(const SettingsStore &store);

/// The control changes of the restore, to be applied in the order of the members (each as a user action).
struct Restore {
    std::optional<std::string> red; ///< new text of Text1 when a non-empty value is stored
    std::optional<std::string> green; ///< likewise Text2
    std::optional<std::string> blue; ///< likewise Text3
    bool useColor = false; ///< set Check3 to 1 ("Use Font Color" stored as "1")
    bool useStyle = false; ///< set Check4 to 1
    bool bold = false; ///< set Check1 to 1 (runs the interlock)
    bool italic = false; ///< set Check2 to 1 (runs the interlock)
    bool underline = false; ///< set Check7 to 1 (runs the interlock)
    bool useSharps = false; ///< select "Use Sharps"; false selects "Use Flats"
    bool keepColumns = false; ///< the state of Check8 "Keep Chord Columns" (clear at first start)

    bool operator==(const Restore &) const = default;
};

/// Reads the stored preferences ("Use Font Color" first, then the colours, the style boxes, "Accidentals" and
/// "Keep Columns") and says what to set. Only the exact string "1" counts as set.
Restore RestorePreferences(SettingsStore &store);

} // namespace prefs
