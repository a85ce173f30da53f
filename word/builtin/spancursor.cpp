#include "spancursor.h"

#include "word/wildcards/utf8.h"

namespace word::builtin
{

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
