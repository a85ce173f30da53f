#include "replaceall.h"

#include "word/wildcards/utf8.h"
#include "wildcard.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>
#include <type_traits>

namespace word::builtin
{

bool FontCriteria::any() const
{
    return bold || italic || underline || color;
}

bool FontCriteria::accepts(const CharFormat &format) const
{
    return (!bold || format.bold == *bold) && (!italic || format.italic == *italic)
        && (!underline || format.underline == *underline) && (!color || format.color == *color);
}

bool FontChanges::any() const
{
    return bold || italic || underline || color;
}

CharFormat FontChanges::applyTo(CharFormat format) const
{
    if (bold) {
        format.bold = *bold;
    }
    if (italic) {
        format.italic = *italic;
    }
    if (underline) {
        format.underline = *underline;
    }
    if (color) {
        format.color = *color;
    }
    return format;
}

namespace
{

// Walks the spans of a text forward (going back costs a binary search).
class SpanCursor
{
public:
    explicit SpanCursor(const std::vector<Span> &spans)
        : m_spans(spans)
    {
    }

    // The index of the span holding byte: forward by galloping, backward by a binary search.
    std::size_t at(std::size_t byte)
    {
        if (m_k > 0 && byte < m_spans[m_k - 1].end) {
            m_k = static_cast<std::size_t>(std::upper_bound(m_spans.begin(),
                                                            m_spans.end(),
                                                            byte,
                                                            [](std::size_t v, const Span &s) {
                                                                return v < s.end;
                                                            })
                                           - m_spans.begin());
            return m_k;
        }
        // The next match is usually a few spans on: a plain walk costs one mispredicted branch
        // where the galloping search below costs one at every step. (A local index: the member
        // would be stored at every step.)
        const Span *spans = m_spans.data();
        std::size_t k = m_k;
        const std::size_t walkEnd = std::min(k + 64, m_spans.size() - 1);
        while (k < walkEnd && spans[k].end <= byte) {
            ++k;
        }
        m_k = k;
        if (spans[k].end > byte) {
            return k;
        }
        std::size_t low = m_k; // spans[low].end <= byte
        std::size_t step = 1;
        while (low + step < m_spans.size() && m_spans[low + step].end <= byte) {
            low += step;
            step *= 2;
        }
        const std::size_t high = std::min(low + step, m_spans.size() - 1);
        m_k = static_cast<std::size_t>(std::upper_bound(m_spans.begin() + static_cast<std::ptrdiff_t>(low),
                                                        m_spans.begin() + static_cast<std::ptrdiff_t>(high) + 1,
                                                        byte,
                                                        [](std::size_t v, const Span &s) {
                                                            return v < s.end;
                                                        })
                                       - m_spans.begin());
        m_k = std::min(m_k, m_spans.size() - 1);
        return m_k;
    }

    // Whether every span over bytes [from, to) has an accepted format (accepted: one flag per id).
    bool allAccepted(std::size_t from, std::size_t to, const std::vector<uint8_t> &accepted)
    {
        for (std::size_t k = at(from); k < m_spans.size(); ++k) {
            if (!accepted[m_spans[k].format]) {
                return false;
            }
            if (m_spans[k].end >= to) {
                break;
            }
        }
        return true;
    }

    // Append the formats of bytes [from, to) to out, at output offset outFrom, their ids translated
    // by changed when given.
    template<typename Changed = std::nullptr_t>
    void copy(std::size_t from, std::size_t to, std::size_t outFrom, std::vector<Span> &out, Changed changed = nullptr)
    {
        if (from >= to) {
            return;
        }
        std::size_t k = at(from);
        const auto shifted = [from, outFrom](std::size_t end) {
            return static_cast<uint32_t>(end - from + outFrom);
        };
        if constexpr (!std::is_same_v<Changed, std::nullptr_t>) {
            for (; k < m_spans.size(); ++k) {
                appendSpan(out, shifted(std::min<std::size_t>(m_spans[k].end, to)), changed(m_spans[k].format));
                if (m_spans[k].end >= to) {
                    break;
                }
            }
            m_k = std::min(k, m_spans.size() - 1);
            return;
        }
        // The first span may continue the output's last one; the spans after it differ from their
        // neighbours already and are copied as they are, shifted.
        appendSpan(out, shifted(std::min<std::size_t>(m_spans[k].end, to)), m_spans[k].format);
        if (m_spans[k].end >= to) {
            return;
        }
        const std::size_t first = ++k;
        while (m_spans[k].end < to) {
            ++k;
        }
        // Copied and shifted in one plain loop the compiler vectorises (a range insert copies
        // element by element, and a second pass would shift them).
        const std::size_t at = out.size();
        const std::size_t count = k - first;
        out.resize(at + count + 1);
        const auto shift = static_cast<uint32_t>(outFrom - from); // modulo 2^32, as the ends are
        const Span *src = m_spans.data() + first;
        Span *dst = out.data() + at;
        for (std::size_t i = 0; i < count; ++i) {
            dst[i].end = src[i].end + shift;
            dst[i].format = src[i].format;
        }
        dst[count] = {shifted(to), m_spans[k].format}; // differs from its neighbour before
        m_k = k;
    }

    FormatId formatAt(std::size_t byte)
    {
        return m_spans[at(byte)].format;
    }

private:
    const std::vector<Span> &m_spans;
    std::size_t m_k = 0;
};

// The neighbour before a match position, as the document now stands.
struct Before {
    std::size_t resume = 0; // the position right after the last replacement
    char32_t c = 0; // the character before resume, if any
    bool has = false;
};

char32_t charBefore(std::string_view text, std::size_t pos, const Before &before, bool &has)
{
    if (pos == before.resume) {
        has = before.has;
        return before.c;
    }
    has = pos > 0;
    return has ? utf8::at(text, utf8::prev(text, pos)) : 0;
}

// The first occurrence of needle in text at or after from. A single byte is left to memchr; a longer
// needle is looked for 16 places at a time by its first, middle and last bytes together (SSE2).
// Two bytes would not do: the first is often frequent (the "*" of the tone markers), and a
// marker's first and last bytes are the same for every tone, its middle one (the digit) is not.
std::size_t findBytes(std::string_view text, std::string_view needle, std::size_t from)
{
    const std::size_t k = needle.size();
    const std::size_t n = text.size();
    if (k == 0 || k > n || from > n - k) {
        return std::string_view::npos;
    }
    const char *const s = text.data();
    if (k == 1) {
        const void *hit = std::memchr(s + from, needle[0], n - from);
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - s) : std::string_view::npos;
    }
    const std::size_t middle = k / 2;
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i mid = _mm_set1_epi8(needle[middle]);
    const __m128i last = _mm_set1_epi8(needle[k - 1]);
    for (; i + k - 1 + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + middle));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + k - 1));
        const __m128i ends = _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(c, last));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(ends, _mm_cmpeq_epi8(b, mid))));
        while (mask != 0) {
            const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(mask));
            if (std::memcmp(s + at + 1, needle.data() + 1, k - 2) == 0) {
                return at;
            }
            mask &= mask - 1;
        }
    }
#endif
    for (; i + k <= n; ++i) {
        if (s[i] == needle[0] && s[i + middle] == needle[middle] && s[i + k - 1] == needle[k - 1]
            && std::memcmp(s + i + 1, needle.data() + 1, k - 2) == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t characters(std::string_view text)
{
    std::size_t count = 0;
    for (const char byte : text) {
        count += utf8::isLead(byte) ? 1 : 0;
    }
    return count;
}

// Make out (of length characters) the content of doc; previous, when given, receives the former
// content.
void install(TextDocument &doc, StoredText &&out, std::size_t length, TextDocument *previous)
{
    if (previous) {
        TextDocument old;
        old.assign(std::move(out), length);
        doc.swap(old); // doc now holds the new text, old the former one
        *previous = std::move(old);
    } else {
        doc.assign(std::move(out), length);
    }
}

// Finds the matches of one request in one text, in order.
class Matcher
{
public:
    Matcher(const TextDocument &doc, const FindRequest &request)
        : m_text(doc.bytes())
        , m_request(request)
        , m_criteria(request.format && request.criteria.any())
        , m_spans(doc.spans())
        , m_cursor(doc.spans())
    {
        if (m_criteria) {
            // Whether each format of the palette meets the criteria, decided once per call.
            for (const CharFormat &format : doc.palette()) {
                m_accepted.push_back(request.criteria.accepts(format) ? 1 : 0);
            }
        }
        if (request.wildcards) {
            m_program = std::make_unique<wildcard::Program>(wildcard::Program::compile(request.text));
            m_replacement = wildcards::Replacement::parse(request.replacement, m_program->groupCount());
            if (m_criteria) {
                m_allowed.resize(m_text.size());
                std::size_t start = 0;
                for (const Span &span : doc.spans()) {
                    std::fill(m_allowed.begin() + static_cast<std::ptrdiff_t>(start),
                              m_allowed.begin() + span.end,
                              m_accepted[span.format]);
                    start = span.end;
                }
            }
        } else {
            m_needle = toUtf8(toU32(request.text)); // only valid UTF-8 can match
            if (!request.matchCase) {
                for (const char32_t c : toU32(m_needle)) {
                    m_folded.push_back(utf8::foldCase(c));
                }
            }
        }
    }

    // The next match [s, e) starting at or after from, not empty.
    bool next(std::size_t from, const Before &before, std::size_t &s, std::size_t &e)
    {
        return m_program ? nextWildcard(from, before, s, e) : nextLiteral(from, before, s, e);
    }

    // The index of the span holding byte s when it holds all of [s, e), else npos (called after
    // next found them: the span cursor is there already).
    std::size_t spanHolding(std::size_t s, std::size_t e)
    {
        const std::size_t k = m_cursor.at(s);
        return m_spans[k].end >= e ? k : std::string_view::npos;
    }

    // Whether a match never depends on the text before it (literal, not whole words): then the
    // matches of a Replace-All are those of the unchanged text, and can all be found first.
    bool independent() const
    {
        return !m_program && !m_request.wholeWord;
    }

    // The replacement text of the last match.
    void replacement(std::string &out) const
    {
        out.clear();
        if (m_program) {
            m_replacement.expand(m_text, m_captures, out);
        } else {
            out = m_request.replacement;
        }
    }

private:
    bool nextWildcard(std::size_t p, const Before &before, std::size_t &s, std::size_t &e)
    {
        const std::size_t n = m_text.size();
        wildcard::Subject subject{m_text,
                                  before.resume,
                                  before.c,
                                  before.has,
                                  m_allowed.empty() ? nullptr : m_allowed.data()};
        while (p < n) {
            while (p < n && !m_program->canStartWith(static_cast<unsigned char>(m_text[p]))) {
                ++p;
            }
            if (p >= n) {
                break;
            }
            if (m_program->matchAt(subject, p, m_captures) && m_captures[1] > m_captures[0]) {
                s = m_captures[0];
                e = m_captures[1];
                return true;
            }
            do {
                ++p;
            } while (p < n && !utf8::isLead(m_text[p]));
        }
        return false;
    }

    bool nextLiteral(std::size_t p, const Before &before, std::size_t &s, std::size_t &e)
    {
        if (m_needle.empty()) {
            return false;
        }
        const std::size_t n = m_text.size();
        while (p < n) {
            std::size_t end = 0;
            if (m_request.matchCase) {
                p = findExact(p);
                if (p == std::string_view::npos) {
                    return false;
                }
                end = p + m_needle.size();
            } else if (!foldedAt(p, end)) {
                do {
                    ++p;
                } while (p < n && !utf8::isLead(m_text[p]));
                continue;
            }
            if ((!m_criteria || m_cursor.allAccepted(p, end, m_accepted))
                && (!m_request.wholeWord || wholeWordAt(p, end, before))) {
                s = p;
                e = end;
                return true;
            }
            do {
                ++p;
            } while (p < n && !utf8::isLead(m_text[p]));
        }
        return false;
    }

    // The needle at or after p.
    std::size_t findExact(std::size_t p) const
    {
        return findBytes(m_text, m_needle, p);
    }

    bool foldedAt(std::size_t p, std::size_t &end) const
    {
        for (const char32_t want : m_folded) {
            if (p >= m_text.size() || utf8::foldCase(utf8::decode(m_text, p)) != want) {
                return false;
            }
        }
        end = p;
        return true;
    }

    bool wholeWordAt(std::size_t s, std::size_t e, const Before &before) const
    {
        bool has = false;
        const char32_t prev = charBefore(m_text, s, before, has);
        return !(has && utf8::isWordChar(prev)) && !(e < m_text.size() && utf8::isWordChar(utf8::at(m_text, e)));
    }

    std::string_view m_text;
    const FindRequest &m_request;
    bool m_criteria;
    const std::vector<Span> &m_spans;
    SpanCursor m_cursor;
    std::unique_ptr<wildcard::Program> m_program;
    wildcards::Replacement m_replacement;
    wildcard::Captures m_captures;
    std::vector<uint8_t> m_accepted; // per palette id, with criteria
    std::vector<uint8_t> m_allowed;
    std::string m_needle;
    std::u32string m_folded;
};

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

struct ByteRange {
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t span = 0; // the span holding it, when a single one does
};

// Replace matches (in order, not overlapping) when the replacements leave the spans as they are,
// only moved: each match lies inside one span, before the final paragraph mark, and its
// replacement is text in that span's format. The text is copied between the matches, and every
// span once with its end moved by the growth of the text before it. This avoids the general
// builder's work per match, which dominates a chord transposition.
void replaceKeepingSpans(TextDocument &doc,
                         const FindRequest &request,
                         const std::vector<ByteRange> &matches,
                         TextDocument *previous)
{
    StoredText out;
    if (previous) {
        previous->release(out); // its memory serves the new text
        out.bytes.clear();
        // The spans are all overwritten below: left as they are, only a longer tail is zeroed.
    }
    const std::string &text = doc.bytes();
    const std::vector<Span> &spans = doc.spans();
    const std::string_view replacement = request.replacement;
    const std::size_t replacementCharacters = characters(replacement);
    std::size_t removed = 0;
    std::size_t removedCharacters = 0;
    for (const ByteRange &m : matches) {
        removed += m.end - m.start;
        if (!request.matchCase) { // otherwise each match is the find text itself
            removedCharacters += characters(std::string_view(text).substr(m.start, m.end - m.start));
        }
    }
    if (request.matchCase) {
        removedCharacters = matches.size()
            * characters(std::string_view(text).substr(matches[0].start, matches[0].end - matches[0].start));
    }
    // With room to spare, as the builder does: the buffers pass from call to call, and one grown
    // every time by a few bytes would be moved (and its pages touched afresh) every time.
    const std::size_t size = text.size() - removed + matches.size() * replacement.size();
    if (out.bytes.capacity() < size) {
        out.bytes.reserve(size + size / 4 + 16);
    }
    std::size_t copied = 0;
    for (const ByteRange &m : matches) {
        out.bytes.append(text, copied, m.start - copied);
        out.bytes.append(replacement);
        copied = m.end;
    }
    out.bytes.append(text, copied);

    // A span moves by the growth of all the matches before it and in it: counted loops between
    // the matches' spans, which the compiler vectorises.
    out.spans.resize(spans.size());
    const Span *in = spans.data();
    Span *to = out.spans.data();
    uint32_t growth = 0; // modulo 2^32, as the ends are
    std::size_t k = 0;
    for (const ByteRange &m : matches) {
        for (; k < m.span; ++k) {
            to[k] = {in[k].end + growth, in[k].format};
        }
        growth += static_cast<uint32_t>(replacement.size() - (m.end - m.start));
    }
    for (; k < spans.size(); ++k) {
        to[k] = {in[k].end + growth, in[k].format};
    }
    out.palette.assign(doc.palette().begin(), doc.palette().end());
    const std::size_t length = doc.length() + matches.size() * replacementCharacters - removedCharacters;
    install(doc, std::move(out), length, previous);
}

} // namespace

bool replaceAll(TextDocument &doc, const FindRequest &request, TextDocument *previous)
{
    Matcher matcher(doc, request);
    if (matcher.independent()) {
        std::vector<ByteRange> matches;
        const Before none; // not consulted by an independent search
        const std::size_t finalMark = doc.bytes().size() - 1;
        bool keepsSpans = !request.replacement.empty() && !(request.format && request.changes.any());
        std::size_t s = 0;
        std::size_t e = 0;
        while (matcher.next(matches.empty() ? 0 : matches.back().end, none, s, e)) {
            matches.push_back({s, e, 0});
            if (keepsSpans) {
                matches.back().span = matcher.spanHolding(s, e);
                keepsSpans = e <= finalMark && matches.back().span != std::string_view::npos;
            }
        }
        if (matches.empty()) {
            return false;
        }
        if (keepsSpans) {
            replaceKeepingSpans(doc, request, matches, previous);
        } else {
            Builder builder(doc, request, previous);
            for (const ByteRange &m : matches) {
                builder.replace(m.start, m.end, request.replacement);
            }
            builder.finish(doc, previous);
        }
        return true;
    }
    std::unique_ptr<Builder> builder; // made at the first match: no match, no copy
    std::string replacement;
    Before before;
    std::size_t s = 0;
    std::size_t e = 0;
    std::size_t from = 0;
    while (matcher.next(from, before, s, e)) {
        if (!builder) {
            builder = std::make_unique<Builder>(doc, request, previous);
        }
        matcher.replacement(replacement);
        builder->replace(s, e, replacement);
        from = e;
        before = builder->before(e);
    }
    if (!builder) {
        return false;
    }
    builder->finish(doc, previous);
    return true;
}

std::optional<MatchRange>
findMatch(const TextDocument &doc, const FindRequest &request, std::size_t from, bool forward, bool wrap)
{
    Matcher matcher(doc, request);
    const std::size_t fromByte = doc.byteOffset(std::min(from, doc.length()));
    std::optional<std::pair<std::size_t, std::size_t>> first;
    std::optional<std::pair<std::size_t, std::size_t>> last;
    std::optional<std::pair<std::size_t, std::size_t>> found;
    std::size_t s = 0;
    std::size_t e = 0;
    std::size_t p = 0;
    Before before;
    before.has = false;
    while (matcher.next(p, before, s, e)) {
        if (!first) {
            first.emplace(s, e);
        }
        if (forward && s >= fromByte) {
            found.emplace(s, e);
            break;
        }
        if (!forward && e <= fromByte) {
            found.emplace(s, e);
        }
        last.emplace(s, e);
        p = e;
        before.resume = e; // searching without replacing: the neighbour is the text itself
        before.has = true;
        before.c = utf8::at(doc.bytes(), utf8::prev(doc.bytes(), e));
    }
    if (!found && wrap) {
        found = forward ? first : last;
    }
    if (!found) {
        return std::nullopt;
    }
    return MatchRange{doc.charIndex(found->first), doc.charIndex(found->second)};
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
    std::size_t ms = 0;
    std::size_t me = 0;
    if (!matcher.next(s, before, ms, me) || ms != s) {
        return match.end;
    }
    std::string replacement;
    matcher.replacement(replacement);
    const bool formatOnly = request.format && request.changes.any() && request.replacement.empty();
    Builder builder(doc, request, nullptr);
    builder.replace(ms, me, replacement);
    builder.finish(doc, nullptr);
    const std::size_t after = formatOnly ? me : s + replacement.size();
    return doc.charIndex(std::min(after, doc.bytes().size() - 1));
}

} // namespace word::builtin
