#include "preferences.h"

namespace prefs
{

namespace
{

const char *flag(bool set)
{
    return set ? "1" : "0";
}

} // namespace

std::optional<word::Message> SavePreferences(SettingsStore &store, const PreferenceControls &controls)
{
    store.set("Use Font Style", flag(controls.useStyle));
    store.set("Bold", flag(controls.bold));
    store.set("Italics", flag(controls.italic));
    store.set("Underline", flag(controls.underline));
    store.set("Use Font Color", flag(controls.useColor));
    store.set("Red", controls.red);
    store.set("Green", controls.green);
    store.set("Blue", controls.blue);
    store.set("Accidentals", controls.useSharps ? "1" : "0");
    store.set("Keep Columns", controls.keepColumns ? "1" : "0");
    if (const auto problem = store.commit()) {
        return word::Message{"Could not save the preferences: " + *problem,
                             "Tonvale",
                             word::Icon::Exclamation,
                             word::Buttons::Ok};
    }
    return std::nullopt;
}

std::optional<word::Message> unreadableStoreMessage(const SettingsStore &store)
{
    const auto file = store.unreadable();
    if (!file) {
        return std::nullopt;
    }
    return word::Message{"Could not read the preferences in " + *file
                             + ". The preferences that could be read are used; the file stays as it is until you "
                               "save the preferences.",
                         "Tonvale",
                         word::Icon::Exclamation,
                         word::Buttons::Ok};
}

Restore RestorePreferences(SettingsStore &store)
{
    Restore restore;
    restore.useColor = store.get("Use Font Color") == "1";
    auto text = [&store](const char *key) -> std::optional<std::string> {
        std::string value = store.get(key);
        if (value.empty()) {
            return std::nullopt;
        }
        return value;
    };
    restore.red = text("Red");
    restore.green = text("Green");
    restore.blue = text("Blue");
    restore.useStyle = store.get("Use Font Style") == "1";
    restore.bold = store.get("Bold") == "1";
    restore.italic = store.get("Italics") == "1";
    restore.underline = store.get("Underline") == "1";
    restore.useSharps = store.get("Accidentals") == "1";
    restore.keepColumns = store.get("Keep Columns") == "1";
    return restore;
}

} // namespace prefs
