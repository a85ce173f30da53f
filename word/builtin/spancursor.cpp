#include "spancursor.h"

#include "word/wildcards/utf8.h"

namespace word::builtin
{

bool SpanCursor::allAccepted(std::size_t from, std::size_t to, const std::vector<uint8_t> &accepted)
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

std::size_t characters(std::string_view text)
{
    std::size_t count = 0;
    for (const char byte : text) {
        count += utf8::isLead(byte) ? 1 : 0;
    }
    return count;
}

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

} // namespace word::builtin
