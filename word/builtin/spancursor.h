#pragma once

// Plumbing shared by the Replace-All paths of the built-in host: a cursor over a text's spans, the
// character count of UTF-8 text, and installing a new text in a document.

#include "textdocument.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <type_traits>
#include <vector>

namespace word::builtin
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

/// The number of characters (code points) of UTF-8 text.
std::size_t characters(std::string_view text);

/// Make out (of length characters) the content of doc; previous, when given, receives the former
/// content.
void install(TextDocument &doc, StoredText &&out, std::size_t length, TextDocument *previous);

} // namespace word::builtin
