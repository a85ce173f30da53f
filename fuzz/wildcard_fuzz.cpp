// The wildcard compiler and matcher: a pattern (the input's first line) and a replacement (the second) are
// compiled, and where they compile the pattern is matched at every character of the rest. A malformed pattern
// is an error value, a runaway match the TooComplex error; anything else that goes wrong (a crash, a sanitizer
// report, a match outside the text) is a finding.

#include "word/builtin/wildcard.h"
#include "word/wildcards/pattern.h"
#include "word/wildcards/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

using namespace word;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const auto cut = input.find('\n');
    const std::string_view pattern = input.substr(0, cut);
    const std::string_view rest = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
    const auto second = rest.find('\n');
    const std::string_view replacement = rest.substr(0, second);
    const std::string_view text = second == std::string_view::npos ? std::string_view() : rest.substr(second + 1);
    std::optional<builtin::wildcard::Program> program;
    try {
        program = builtin::wildcard::Program::compile(pattern);
        wildcards::Replacement::parse(replacement, program->groupCount());
    } catch (const wildcards::PatternError &) {
        return 0; // refused with a code and a position
    }
    builtin::wildcard::Subject subject;
    subject.text = text;
    builtin::wildcard::Captures captures;
    // The groups' slots; the slots after them are the matcher's own.
    const std::size_t groupSlots = 2 * (static_cast<std::size_t>(program->groupCount()) + 1);
    for (std::size_t pos = 0; pos <= text.size(); ++pos) {
        if (pos < text.size() && !utf8::isLead(text[pos])) {
            continue; // inside a character
        }
        try {
            if (!program->matchAt(subject, pos, captures)) {
                continue;
            }
        } catch (const wildcards::PatternError &error) {
            if (error.code() != wildcards::ErrorCode::TooComplex) {
                std::abort();
            }
            return 0; // the host refuses the whole request at the first runaway attempt
        }
        if (captures.size() < 2 || captures[0] != pos || captures[1] < pos || captures[1] > text.size()) {
            std::abort();
        }
        for (std::size_t slot = 2; slot + 1 < std::min(captures.size(), groupSlots); slot += 2) {
            const std::size_t start = captures[slot];
            const std::size_t end = captures[slot + 1];
            // A group that took part in the match lies inside it; one that did not has no end after its start.
            if (start != builtin::wildcard::notSet && end != builtin::wildcard::notSet && start <= end
                && (start < pos || end > captures[1])) {
                std::abort();
            }
        }
    }
    return 0;
}
