// Whole-sheet wildcard passes at the host level: refused patterns, criteria and empty replacements.
// (What the chord marking and Nashville passes make of a sheet is tested with them, in tests/chords.)

#include "chords/marking.h"
#include "tests/support/automationerror.h"
#include "tests/support/hostfixture.h"
#include "word/replacetext.h"

#include <gtest/gtest.h>

using testsupport::SheetHost;
using word::FontProperty;

namespace
{

// The twenty marking passes, each giving the matched text the attributes in changes.
void markChords(word::Application &app, const std::vector<std::pair<FontProperty, int32_t>> &changes)
{
    for (const auto pattern : chords::catalogue) {
        testsupport::runReplace(app, {std::string(pattern), "", true, false, true, {}, changes});
    }
}

TEST(ChordMarking, EmptyReplacementWithoutAttributesDeletes)
{
    SheetHost h("G Am lyric");
    markChords(h.host, {});
    // Empty replacement and no formatting would delete: the caller must not run the passes then;
    // here the host deletes, as Word does, which is why chord marking skips them.
    EXPECT_EQ(h.sheet(), "  lyric");
}

TEST(WildcardErrors, MalformedPatternChangesNothing)
{
    SheetHost h("{b|G} (x");
    EXPECT_EQ(testsupport::automationError([&] {
                  testsupport::runReplace(h.host, {"(x", "y", true, true, true, {}, {}});
              }),
              "The Find What text contains a Pattern Match expression which is not valid.");
    EXPECT_THROW(testsupport::runReplace(h.host, {"(x)", "\\2", true, true, true, {}, {}}), word::AutomationError);
    EXPECT_EQ(h.sheet(), "{b|G} (x");
    EXPECT_FALSE(h.host.canUndo());
}

TEST(WildcardCriteria, CharactersWithoutTheCriterionCannotBeConsumed)
{
    SheetHost h("{b|Am}7 {b|A}m{b|7}");
    testsupport::runReplace(h.host, {"A?@", "X", true, true, true, {{FontProperty::Bold, word::wdTrue}}, {}});
    EXPECT_EQ(h.sheet(), "{b|X}7 {b|A}m{b|7}");
}

} // namespace
