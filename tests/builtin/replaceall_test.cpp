// Literal Replace-All against a reference built from the document's own edit operations, on
// generated sheets: matches inside one span, at span edges, across spans, over the final mark,
// with and without font criteria and replacement formatting.

#include "word/builtin/replaceall.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace word::builtin;

namespace
{

// The formats the generated sheets use.
std::vector<CharFormat> sheetFormats()
{
    CharFormat plain;
    CharFormat bold;
    bold.bold = true;
    CharFormat chord = bold;
    chord.color = 0x0000C0;
    CharFormat underlined;
    underlined.underline = word::wdUnderlineSingle;
    return {plain, bold, chord, underlined};
}

const char32_t *const pieces[] = {U"A", U"B", U"b", U"#", U"m7", U" ", U"é", U"♯", U"\r", U"Bb"};

TextDocument randomSheet(std::mt19937 &random)
{
    const std::vector<CharFormat> formats = sheetFormats();
    TextDocument doc;
    const int count = std::uniform_int_distribution<int>(0, 30)(random);
    for (int i = 0; i < count; ++i) {
        const char32_t *piece = pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(random)];
        const CharFormat &format = formats[std::uniform_int_distribution<std::size_t>(0, formats.size() - 1)(random)];
        doc.insert(doc.length() - 1, piece, format);
    }
    return doc;
}

std::u32string randomText(std::mt19937 &random, int most)
{
    std::u32string text;
    const int count = std::uniform_int_distribution<int>(0, most)(random);
    for (int i = 0; i < count; ++i) {
        text += pieces[std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(random)];
    }
    return text;
}

// The same Replace-All by character positions: the matches of the unchanged text (a literal match
// never depends on what was replaced before it), applied from the last with erase and insert.
TextDocument reference(const TextDocument &doc, const FindRequest &request)
{
    const std::u32string text(doc.text());
    const std::u32string needle = toU32(request.text);
    const bool criteria = request.format && request.criteria.any();
    const bool changes = request.format && request.changes.any();
    std::vector<std::size_t> starts;
    for (std::size_t p = 0; !needle.empty() && p + needle.size() <= text.size();) {
        bool found = text.compare(p, needle.size(), needle) == 0;
        for (std::size_t i = p; found && criteria && i < p + needle.size(); ++i) {
            found = request.criteria.accepts(doc.format(i));
        }
        if (found) {
            starts.push_back(p);
            p += needle.size();
        } else {
            ++p;
        }
    }
    TextDocument result = doc;
    const std::u32string replacement = toU32(request.replacement);
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        const std::size_t s = *it;
        const std::size_t e = s + needle.size();
        if (changes && replacement.empty()) {
            for (std::size_t i = s; i < e; ++i) {
                result.setFormat(i, i + 1, request.changes.applyTo(result.format(i)));
            }
            continue;
        }
        CharFormat format = result.format(s);
        if (request.format) {
            format = request.changes.applyTo(format);
        }
        result.erase(s, e); // the final mark stays
        result.insert(s, replacement, format);
    }
    return result;
}

TEST(LiteralReplaceAll, AgreesWithEditsOnGeneratedSheets)
{
    std::mt19937 random(11);
    const std::vector<CharFormat> formats = sheetFormats();
    for (int round = 0; round < 3000; ++round) {
        const TextDocument doc = randomSheet(random);
        FindRequest request;
        request.text = toUtf8(randomText(random, 2));
        request.replacement = toUtf8(randomText(random, 3));
        request.matchCase = true;
        request.format = random() % 4 != 0;
        if (random() % 2 == 0) {
            request.criteria.bold = true;
        }
        if (random() % 3 == 0) {
            request.criteria.color = 0x0000C0;
        }
        if (random() % 3 == 0) {
            request.changes.italic = true;
        }
        const TextDocument expected = reference(doc, request);
        TextDocument actual = doc;
        TextDocument previous;
        const bool matched = replaceAll(actual, request, &previous);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + toNotation(doc) + " / " + request.text + " -> "
                     + request.replacement);
        ASSERT_EQ(toNotation(actual), toNotation(expected));
        ASSERT_EQ(actual.length(), actual.text().size());
        ASSERT_EQ(actual.spans().back().end, actual.bytes().size());
        for (std::size_t k = 1; k < actual.spans().size(); ++k) {
            ASSERT_LT(actual.spans()[k - 1].end, actual.spans()[k].end);
            ASSERT_NE(actual.formatOf(actual.spans()[k - 1].format), actual.formatOf(actual.spans()[k].format));
        }
        if (matched) {
            ASSERT_EQ(toNotation(previous), toNotation(doc)); // the undo step
        } else {
            ASSERT_EQ(toNotation(actual), toNotation(doc));
        }
    }
}

// The fast literal path (matches inside single spans, moved spans) against the general builder.
TEST(LiteralReplaceAll, FastPathAgreesWithGeneralPath)
{
    std::mt19937 random(23);
    int changed = 0;
    for (int round = 0; round < 3000; ++round) {
        const TextDocument doc = randomSheet(random);
        FindRequest request;
        request.text = toUtf8(randomText(random, 2));
        request.replacement = toUtf8(randomText(random, 3));
        request.matchCase = random() % 3 != 0;
        request.format = random() % 2 == 0;
        if (random() % 2 == 0) {
            request.criteria.bold = true;
        }
        TextDocument fast = doc;
        TextDocument general = doc;
        TextDocument fastPrevious;
        TextDocument generalPrevious;
        const bool fastMatched = replaceAll(fast, request, &fastPrevious);
        const bool generalMatched = detail::replaceAllGeneral(general, request, &generalPrevious);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + toNotation(doc) + " / " + request.text + " -> "
                     + request.replacement);
        ASSERT_EQ(fastMatched, generalMatched);
        ASSERT_EQ(toNotation(fast), toNotation(general));
        ASSERT_EQ(fast.length(), general.length());
        ASSERT_EQ(fast.spans().size(), general.spans().size());
        if (fastMatched) {
            ASSERT_EQ(toNotation(fastPrevious), toNotation(doc));
            changed += toNotation(fast) != toNotation(doc) ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 500); // the rows do replace things
}

} // namespace
