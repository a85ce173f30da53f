#include "replaceall.h"

#include "literalreplace.h"
#include "matcher.h"
#include "spancursor.h"
#include "word/wildcards/utf8.h"

#include <algorithm>
#include <memory>

namespace word::builtin
{

bool FontValues::any() const
{
    return bold || italic || underline || color;
}

bool FontValues::accepts(const CharFormat &format) const
{
    return (!bold || format.bold == *bold) && (!italic || format.italic == *italic)
        && (!underline || format.underline == *underline) && (!color || format.color == *color);
}

CharFormat FontValues::applyTo(CharFormat format) const
{
    format.bold = bold.value_or(format.bold);
    format.italic = italic.value_or(format.italic);
    format.underline = underline.value_or(format.underline);
    format.color = color.value_or(format.color);
    return format;
}

namespace
{

// Builds the new text of a Replace-All in one pass: output so far plus the rest of the input.
class Builder
{
public:
    // spare, when given, lends its memory to the output.
    Builder(const TextDocument &doc, const FindRequest &request, TextDocument *spare)
        : m_text(doc.bytes())
        , m_request(request)
        , m_formatOnly(request.format && request.changes.any() && request.replacement.empty())
        , m_cursor(doc.spans())
        , m_palette(doc.palette())
        , m_length(doc.length())
    {
        if (spare) {
            spare->release(m_out);
            m_out.clear();
        }
        // The new text starts with the same palette, so unchanged spans keep their ids.
        m_out.palette.assign(m_palette.begin(), m_palette.end());
        m_out.bytes.reserve(m_text.size() + m_text.size() / 4 + 16);
        m_out.spans.reserve(doc.spans().size() + 16);
        if (m_request.format && m_request.changes.any()) {
            m_changed.assign(m_palette.size(), unmapped);
        }
    }

    // Replace the match [s, e) by replacement.
    void replace(std::size_t s, std::size_t e, std::string_view replacement)
    {
        copyTo(s);
        if (m_formatOnly) {
            m_cursor.copy(s, e, m_out.bytes.size(), m_out.spans, [this](FormatId id) {
                return changed(id);
            });
            m_out.bytes.append(m_text.substr(s, e - s));
            m_copied = e;
            return;
        }
        if (!replacement.empty()) {
            FormatId format = m_cursor.formatAt(s);
            if (!m_changed.empty()) {
                format = changed(format);
            }
            m_out.bytes.append(replacement);
            appendSpan(m_out.spans, static_cast<uint32_t>(m_out.bytes.size()), format);
            m_length += characters(replacement);
        }
        // The final paragraph mark is never replaced or deleted: it stays after the new text.
        m_copied = std::max(s, std::min(e, m_text.size() - 1));
        m_length -= characters(m_text.substr(s, m_copied - s));
    }

    // The character before the end of the output, as the document now stands.
    Before before(std::size_t resume) const
    {
        Before b;
        b.resume = resume;
        const std::string &out = m_out.bytes;
        b.has = !out.empty();
        if (b.has) {
            b.c = utf8::at(out, utf8::prev(out, out.size()));
        }
        return b;
    }

    void finish(TextDocument &doc, TextDocument *previous)
    {
        copyTo(m_text.size());
        install(doc, std::move(m_out), m_length, previous);
    }

private:
    void copyTo(std::size_t s)
    {
        if (s > m_copied) {
            m_cursor.copy(m_copied, s, m_out.bytes.size(), m_out.spans);
            m_out.bytes.append(m_text.substr(m_copied, s - m_copied));
            m_copied = s;
        }
    }

    static constexpr FormatId unmapped = ~FormatId{0};

    // The id in the new text of format id with the replacement formatting applied.
    FormatId changed(FormatId id)
    {
        if (m_changed[id] == unmapped) {
            m_changed[id] = m_out.formatId(m_request.changes.applyTo(m_palette[id]));
        }
        return m_changed[id];
    }

    std::string_view m_text;
    const FindRequest &m_request;
    bool m_formatOnly;
    SpanCursor m_cursor;
    const std::vector<CharFormat> &m_palette; // the input's
    StoredText m_out;
    std::vector<FormatId> m_changed; // input id -> output id, with replacement formatting
    std::size_t m_copied = 0;
    std::size_t m_length; // characters of the new text
};

// Replace every match with the general builder: each match is looked for in the document as it
// stands after the replacements before it.
bool replaceEach(TextDocument &doc, const FindRequest &request, Matcher &matcher, TextDocument *previous)
{
    std::unique_ptr<Builder> builder; // made at the first match: no match, no copy
    std::string replacement;
    Before before;
    std::size_t from = 0;
    while (const auto match = matcher.next(from, before)) {
        if (!builder) {
            builder = std::make_unique<Builder>(doc, request, previous);
        }
        matcher.replacement(replacement);
        builder->replace(match->start, match->end, replacement);
        from = match->end;
        before = builder->before(match->end);
    }
    if (!builder) {
        return false;
    }
    builder->finish(doc, previous);
    return true;
}

} // namespace

bool replaceAll(TextDocument &doc, const FindRequest &request, TextDocument *previous)
{
    Matcher matcher(doc, request);
    if (!matcher.independent()) {
        return replaceEach(doc, request, matcher, previous);
    }
    // The matches of the unchanged text, found first; the replacement is the same for each. When
    // each lies inside one span, the fast path moves the spans instead of building them anew.
    std::vector<MatchRange> matches;
    std::vector<std::size_t> spanOf;
    bool fast = keepsSpans(request);
    const std::size_t finalMark = doc.bytes().size() - 1;
    const Before none; // not consulted by an independent search
    while (const auto match = matcher.next(matches.empty() ? 0 : matches.back().end, none)) {
        matches.push_back(*match);
        if (fast) {
            spanOf.push_back(matcher.spanHolding(*match));
            fast = match->end <= finalMark && spanOf.back() != std::string_view::npos;
        }
    }
    if (matches.empty()) {
        return false;
    }
    if (fast) {
        replaceKeepingSpans(doc, request, matches, spanOf, previous);
        return true;
    }
    Builder builder(doc, request, previous);
    for (const MatchRange &m : matches) {
        builder.replace(m.start, m.end, request.replacement);
    }
    builder.finish(doc, previous);
    return true;
}

bool detail::replaceAllGeneral(TextDocument &doc, const FindRequest &request, TextDocument *previous)
{
    Matcher matcher(doc, request);
    return replaceEach(doc, request, matcher, previous);
}

std::optional<MatchRange>
findMatch(const TextDocument &doc, const FindRequest &request, std::size_t from, bool forward, bool wrap)
{
    Matcher matcher(doc, request);
    const std::size_t fromByte = doc.byteOffset(std::min(from, doc.length()));
    std::optional<MatchRange> first;
    std::optional<MatchRange> last;
    std::optional<MatchRange> found;
    Before before;
    std::size_t p = 0;
    while (const auto match = matcher.next(p, before)) {
        if (!first) {
            first = match;
        }
        if (forward && match->start >= fromByte) {
            found = match;
            break;
        }
        if (!forward && match->end <= fromByte) {
            found = match;
        }
        last = match;
        p = match->end;
        before.resume = p; // searching without replacing: the neighbour is the text itself
        before.has = true;
        before.c = utf8::at(doc.bytes(), utf8::prev(doc.bytes(), p));
    }
    if (!found && wrap) {
        found = forward ? first : last;
    }
    if (!found) {
        return std::nullopt;
    }
    return MatchRange{doc.charIndex(found->start), doc.charIndex(found->end)};
}

std::size_t replaceOne(TextDocument &doc, const FindRequest &request, MatchRange match)
{
    // The same rules as one step of a Replace-All, on the document's own characters.
    const std::size_t s = doc.byteOffset(match.start);
    Matcher matcher(doc, request);
    Before before;
    before.resume = s;
    before.has = s > 0;
    if (before.has) {
        before.c = utf8::at(doc.bytes(), utf8::prev(doc.bytes(), s));
    }
    const auto found = matcher.next(s, before);
    if (!found || found->start != s) {
        return match.end;
    }
    std::string replacement;
    matcher.replacement(replacement);
    const bool formatOnly = request.format && request.changes.any() && request.replacement.empty();
    Builder builder(doc, request, nullptr);
    builder.replace(found->start, found->end, replacement);
    builder.finish(doc, nullptr);
    const std::size_t after = formatOnly ? found->end : s + replacement.size();
    return doc.charIndex(std::min(after, doc.bytes().size() - 1));
}

} // namespace word::builtin
