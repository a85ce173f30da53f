// The sheet notation reader: malformed input is std::invalid_argument, and a sheet read is written back and
// read again to the same text and formatting.

#include "word/builtin/textdocument.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

using namespace word::builtin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    TextDocument doc;
    try {
        doc = fromNotation(input);
    } catch (const std::invalid_argument &) {
        return 0;
    }
    const TextDocument again = fromNotation(toNotation(doc));
    if (again.text() != doc.text() || again.bytes() != doc.bytes()) {
        std::abort();
    }
    for (std::size_t pos = 0; pos < doc.length(); ++pos) {
        if (!(again.format(pos) == doc.format(pos))) {
            std::abort();
        }
    }
    return 0;
}
