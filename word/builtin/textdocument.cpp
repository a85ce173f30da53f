#include "textdocument.h"

#include "word/wildcards/utf8.h"

#include <algorithm>
#include <stdexcept>

namespace word::builtin
{

namespace
{

constexpr std::size_t checkpointStep = 64;

// The spans of bytes [from, to), appended to out shifted by offset - from; remap, when given,
// translates their format ids (from another document's palette).
void copySpans(const std::vector<Span> &spans,
               std::size_t from,
               std::size_t to,
               std::size_t offset,
               std::vector<Span> &out,
               const std::vector<FormatId> *remap = nullptr)
{
    if (from >= to) {
        return;
    }
    auto it = std::upper_bound(spans.begin(), spans.end(), from, [](std::size_t v, const Span &s) {
        return v < s.end;
    });
    for (; it != spans.end(); ++it) {
        const std::size_t end = std::min<std::size_t>(it->end, to);
        appendSpan(out, static_cast<uint32_t>(end - from + offset), remap ? (*remap)[it->format] : it->format);
        if (it->end >= to) {
            break;
        }
    }
}

} // namespace

FormatId StoredText::formatId(const CharFormat &format)
{
    // Palettes are small (a handful of formats): a linear search beats any index.
    const auto it = std::find(palette.begin(), palette.end(), format);
    if (it != palette.end()) {
        return static_cast<FormatId>(it - palette.begin());
    }
    palette.push_back(format);
    return static_cast<FormatId>(palette.size() - 1);
}

void StoredText::append(std::string_view text, const CharFormat &format)
{
    if (text.empty()) {
        return;
    }
    bytes.append(text);
    const bool same = !spans.empty() && palette[spans.back().format] == format;
    appendSpan(spans, static_cast<uint32_t>(bytes.size()), same ? spans.back().format : formatId(format));
}

void StoredText::clear()
{
    bytes.clear();
    spans.clear();
    palette.clear();
}

void appendSpan(std::vector<Span> &spans, uint32_t end, FormatId format)
{
    if (!spans.empty() && spans.back().format == format) {
        spans.back().end = end;
    } else if (spans.empty() || spans.back().end < end) {
        spans.push_back({end, format});
    }
}

TextDocument::TextDocument()
    : m_store{std::string(1, '\r'), {{1, 0}}, {CharFormat{}}}
{
}

const std::string &TextDocument::bytes() const
{
    return m_store.bytes;
}

const std::vector<Span> &TextDocument::spans() const
{
    return m_store.spans;
}

const std::vector<CharFormat> &TextDocument::palette() const
{
    return m_store.palette;
}

const CharFormat &TextDocument::formatOf(FormatId id) const
{
    return m_store.palette[id];
}

void TextDocument::assign(StoredText text)
{
    m_store = std::move(text);
    invalidate();
}

void TextDocument::swap(TextDocument &other) noexcept
{
    std::swap(m_store, other.m_store);
    std::swap(m_lengthKnown, other.m_lengthKnown);
    std::swap(m_ascii, other.m_ascii);
    std::swap(m_length, other.m_length);
    std::swap(m_indexed, other.m_indexed);
    std::swap(m_checkpoints, other.m_checkpoints);
    std::swap(m_textCached, other.m_textCached);
    std::swap(m_text, other.m_text);
}

void TextDocument::assign(StoredText text, std::size_t length)
{
    assign(std::move(text));
    m_length = length;
    m_ascii = length == m_store.bytes.size();
    m_lengthKnown = true;
}

void TextDocument::release(StoredText &text)
{
    text = std::move(m_store);
    *this = TextDocument();
}

void TextDocument::invalidate()
{
    m_lengthKnown = false;
    m_indexed = false;
    m_textCached = false;
}

void TextDocument::countCharacters() const
{
    // A branch-free count the compiler vectorises.
    std::size_t count = 0;
    for (const char byte : m_store.bytes) {
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    }
    m_length = count;
    m_ascii = count == m_store.bytes.size();
    m_lengthKnown = true;
}

void TextDocument::buildIndex() const
{
    if (!m_lengthKnown) {
        countCharacters();
    }
    m_checkpoints.clear();
    if (!m_ascii) {
        std::size_t index = 0;
        for (std::size_t i = 0; i < m_store.bytes.size(); ++i) {
            if (utf8::isLead(m_store.bytes[i])) {
                if (index % checkpointStep == 0) {
                    m_checkpoints.push_back(static_cast<uint32_t>(i));
                }
                ++index;
            }
        }
    }
    m_indexed = true;
}

std::size_t TextDocument::length() const
{
    if (!m_lengthKnown) {
        countCharacters();
    }
    return m_length;
}

std::size_t TextDocument::byteOffset(std::size_t pos) const
{
    if (length() == m_store.bytes.size()) {
        return std::min(pos, m_store.bytes.size());
    }
    if (pos >= m_length) {
        return m_store.bytes.size();
    }
    if (!m_indexed) {
        buildIndex();
    }
    std::size_t byte = m_checkpoints[pos / checkpointStep];
    for (std::size_t k = pos % checkpointStep; k > 0; --k) {
        do {
            ++byte;
        } while (!utf8::isLead(m_store.bytes[byte]));
    }
    return byte;
}

std::size_t TextDocument::charIndex(std::size_t byte) const
{
    if (length() == m_store.bytes.size()) {
        return byte;
    }
    if (!m_indexed) {
        buildIndex();
    }
    const auto it = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), byte);
    const std::size_t k = static_cast<std::size_t>(it - m_checkpoints.begin()) - 1;
    std::size_t pos = k * checkpointStep;
    for (std::size_t b = m_checkpoints[k]; b < byte; ++b) {
        if (utf8::isLead(m_store.bytes[b])) {
            ++pos;
        }
    }
    return pos;
}

std::size_t TextDocument::spanAt(std::size_t byte) const
{
    const auto it =
        std::upper_bound(m_store.spans.begin(), m_store.spans.end(), byte, [](std::size_t v, const Span &s) {
            return v < s.end;
        });
    return std::min<std::size_t>(static_cast<std::size_t>(it - m_store.spans.begin()), m_store.spans.size() - 1);
}

std::u32string_view TextDocument::text() const
{
    if (!m_textCached) {
        m_text = toU32(m_store.bytes);
        m_textCached = true;
    }
    return m_text;
}

std::string TextDocument::utf8(std::size_t from, std::size_t to) const
{
    to = std::min(to, length());
    if (from >= to) {
        return {};
    }
    const std::size_t b = byteOffset(from);
    return m_store.bytes.substr(b, byteOffset(to) - b);
}

CharFormat TextDocument::format(std::size_t pos) const
{
    return m_store.palette[m_store.spans[spanAt(byteOffset(std::min(pos, length() - 1)))].format];
}

std::vector<Run> TextDocument::runs() const
{
    std::vector<Run> result;
    std::size_t byte = 0;
    std::size_t pos = 0;
    for (const Span &span : m_store.spans) {
        std::size_t count = 0;
        for (; byte < span.end; ++byte) {
            count += utf8::isLead(m_store.bytes[byte]) ? 1 : 0;
        }
        result.push_back({pos, count, m_store.palette[span.format]});
        pos += count;
    }
    return result;
}

void TextDocument::insert(std::size_t pos, std::u32string_view text, const CharFormat &fmt)
{
    const std::string bytes = toUtf8(text);
    if (bytes.empty()) {
        return;
    }
    const std::size_t at = byteOffset(std::min(pos, length() - 1));
    std::vector<Span> spans;
    copySpans(m_store.spans, 0, at, 0, spans);
    appendSpan(spans, static_cast<uint32_t>(at + bytes.size()), m_store.formatId(fmt));
    copySpans(m_store.spans, at, m_store.bytes.size(), at + bytes.size(), spans);
    m_store.bytes.insert(at, bytes);
    m_store.spans = std::move(spans);
    invalidate();
}

void TextDocument::insert(std::size_t pos, const TextDocument &fragment, std::size_t from, std::size_t to)
{
    to = std::min(to, fragment.length());
    if (from >= to) {
        return;
    }
    const std::size_t fb = fragment.byteOffset(from);
    const std::size_t fe = fragment.byteOffset(to);
    const std::size_t at = byteOffset(std::min(pos, length() - 1));
    std::vector<Span> spans;
    copySpans(m_store.spans, 0, at, 0, spans);
    std::vector<FormatId> remap;
    remap.reserve(fragment.m_store.palette.size());
    for (const CharFormat &format : fragment.m_store.palette) {
        remap.push_back(m_store.formatId(format));
    }
    copySpans(fragment.m_store.spans, fb, fe, at, spans, &remap);
    copySpans(m_store.spans, at, m_store.bytes.size(), at + (fe - fb), spans);
    m_store.bytes.insert(at, fragment.m_store.bytes, fb, fe - fb);
    m_store.spans = std::move(spans);
    invalidate();
}

void TextDocument::erase(std::size_t from, std::size_t to)
{
    to = std::min(to, length() - 1);
    if (from >= to) {
        return;
    }
    const std::size_t b = byteOffset(from);
    const std::size_t e = byteOffset(to);
    std::vector<Span> spans;
    copySpans(m_store.spans, 0, b, 0, spans);
    copySpans(m_store.spans, e, m_store.bytes.size(), b, spans);
    m_store.bytes.erase(b, e - b);
    m_store.spans = std::move(spans);
    invalidate();
}

void TextDocument::setFormat(std::size_t from, std::size_t to, const CharFormat &fmt)
{
    to = std::min(to, length());
    if (from >= to) {
        return;
    }
    const std::size_t b = byteOffset(from);
    const std::size_t e = byteOffset(to);
    std::vector<Span> spans;
    copySpans(m_store.spans, 0, b, 0, spans);
    appendSpan(spans, static_cast<uint32_t>(e), m_store.formatId(fmt));
    copySpans(m_store.spans, e, m_store.bytes.size(), e, spans);
    m_store.spans = std::move(spans);
}

std::u32string toU32(std::string_view text)
{
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        result.push_back(utf8::decode(text, pos));
    }
    return result;
}

std::string toUtf8(std::u32string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char32_t c : text) {
        utf8::append(result, c);
    }
    return result;
}

} // namespace word::builtin
