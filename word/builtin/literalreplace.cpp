#include "literalreplace.h"

#include "spancursor.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace word::builtin
{

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

// Replace matches (in order, not overlapping) when the replacements leave the spans as they are,
// only moved: each match lies inside one span, before the final paragraph mark, and its
// replacement is text in that span's format. The text is copied between the matches, and every
// span once with its end moved by the growth of the text before it. This avoids the general
// builder's work per match, which dominates a chord transposition.
bool keepsSpans(const FindRequest &request)
{
    return !request.replacement.empty() && !(request.format && request.changes.any());
}

void replaceKeepingSpans(TextDocument &doc,
                         const FindRequest &request,
                         const std::vector<MatchRange> &matches,
                         const std::vector<std::size_t> &spanOf,
                         TextDocument *previous)
{
    const std::vector<Span> &spans = doc.spans();
    StoredText out;
    if (previous) {
        previous->release(out); // its memory serves the new text
        out.bytes.clear();
        // The spans are all overwritten below: left as they are, only a longer tail is zeroed.
    }
    const std::string &text = doc.bytes();
    const std::string_view replacement = request.replacement;
    const std::size_t replacementCharacters = characters(replacement);
    std::size_t removed = 0;
    std::size_t removedCharacters = 0;
    for (const MatchRange &m : matches) {
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
    for (const MatchRange &m : matches) {
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
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const MatchRange &m = matches[i];
        for (; k < spanOf[i]; ++k) {
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

} // namespace word::builtin
