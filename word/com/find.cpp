// Selection.Find and the whole-sheet Replace-All: the settings Tonvale makes are kept by the host and
// applied afresh to Word's Find before each search.

#include "hoststate.h"

#include <utility>
#include <vector>

namespace word::com
{

namespace
{

// Word's Find options that its Find dialog keeps and ClearFormatting leaves alone; each would change
// what a search finds. Not every Word has every one.
const char *const keptFindOptions[] = {"MatchPrefix", "MatchSuffix", "IgnorePunct", "IgnoreSpace", "MatchFuzzy"};

// The parts of the document a whole-sheet search covers: the main text and the text boxes (where
// sheets laid out in columns keep their chords). Headers and footers (titles, keys, page numbers),
// footnotes, endnotes and comments are left alone.
constexpr int32_t wdMainTextStory = 1;
constexpr int32_t wdTextFrameStory = 5;

// Sets a kept option False; a Word that refuses the call but reads False is fine.
void clearKeptOption(Dispatch &find, const char *name)
{
    if (!find.has(name)) {
        return;
    }
    try {
        find.put(name, Variant::boolean(false));
    } catch (const CallError &error) {
        if (isDisconnected(error.code()) || error.code() == RPC_E_CALL_CANCELED
            || toBool(find.get(name), std::string("Find.") + name)) {
            throw;
        }
    }
}

// Every setting onto find, in the order Tonvale's searches make them, then the kept options.
void applySettings(Dispatch &find, const FindSettings &settings)
{
    Dispatch replacement = find.object("Replacement", "Replacement");
    find.call("ClearFormatting");
    replacement.call("ClearFormatting");
    find.put("Text", Variant::string(settings.text));
    replacement.put("Text", Variant::string(settings.replacement));
    find.put("Forward", Variant::boolean(settings.forward));
    find.put("Wrap", Variant::int32(settings.wrap));
    find.put("Format", Variant::boolean(settings.format));
    find.put("MatchCase", Variant::boolean(settings.matchCase));
    if (!settings.font.empty()) {
        Dispatch font = find.object("Font", "Font");
        for (const auto &[property, value] : settings.font) {
            font.put(propertyName(property), Variant::int32(value));
        }
    }
    find.put("MatchWholeWord", Variant::boolean(settings.wholeWord));
    find.put("MatchWildcards", Variant::boolean(settings.wildcards));
    find.put("MatchSoundsLike", Variant::boolean(settings.soundsLike));
    find.put("MatchAllWordForms", Variant::boolean(settings.allWordForms));
    for (const char *option : keptFindOptions) {
        clearKeptOption(find, option);
    }
    if (!settings.replacementFont.empty()) {
        Dispatch font = replacement.object("Font", "Font");
        for (const auto &[property, value] : settings.replacementFont) {
            font.put(propertyName(property), Variant::int32(value));
        }
    }
}

bool execute(Dispatch &find, int32_t replace)
{
    // Only Replace:=, by name: every other argument is omitted so that the properties apply.
    std::vector<NamedArgument> named;
    named.push_back({"Replace", Variant::int32(replace)});
    return toBool(find.call("Execute", {}, std::move(named)), "Find.Execute");
}

// The whole ranges of the parts a whole-sheet search covers: the main text, then every text box.
std::vector<Dispatch> sheetParts(Dispatch &application)
{
    Dispatch stories = application.object("ActiveDocument", "Document").object("StoryRanges", "StoryRanges");
    std::vector<Dispatch> parts;
    for (Dispatch &story : stories.items("Range")) {
        const int32_t type = toInt32(story.get("StoryType"), "Range.StoryType");
        if (type == wdMainTextStory) {
            parts.insert(parts.begin(), std::move(story));
        } else if (type == wdTextFrameStory) {
            std::optional<Dispatch> next = std::move(story);
            // Each text box is a story of its own, chained by NextStoryRange.
            for (int i = 0; next && i < 10000; ++i) {
                std::optional<Dispatch> after = next->objectOrNothing("NextStoryRange", "Range");
                parts.push_back(std::move(*next));
                next = std::move(after);
            }
        }
    }
    return parts;
}

// Sets changed in the host's state when a call changed the document (kept for undoing a failed command).
class ComFind final : public KeptFind<FontValues>
{
public:
    ComFind(Host::State &state, Dispatch selection)
        : KeptFind(state.find)
        , m_state(state)
        , m_selection(std::move(selection))
    {
    }

    bool Execute(int32_t replace) override
    {
        if (replace != wdReplaceAll) {
            Dispatch find = m_selection.object("Find", "Find");
            applySettings(find, m_settings);
            const bool found = execute(find, replace);
            m_state.changed = m_state.changed || (found && replace != wdReplaceNone);
            return found;
        }
        // Range.Find, not Selection.Find: the whole of each part, and the selection stays where it is.
        bool found = false;
        for (Dispatch &part : sheetParts(*m_state.application)) {
            Dispatch find = part.object("Find", "Find");
            applySettings(find, m_settings);
            found = execute(find, replace) || found;
            m_state.changed = m_state.changed || found;
        }
        return found;
    }

private:
    Host::State &m_state;
    Dispatch m_selection;
};

} // namespace

std::unique_ptr<Find> makeFind(Host::State &state, Dispatch selection)
{
    return std::make_unique<ComFind>(state, std::move(selection));
}

} // namespace word::com
