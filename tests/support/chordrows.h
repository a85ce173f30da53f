#pragma once

// Rows of what the commands' calls make of a sheet, the same on every host: the built-in host's tests and
// the LibreOffice Writer host's tests run each table.

#include "tests/support/rows.h"
#include "word/replacetext.h"

#include <ostream>
#include <span>
#include <string>

namespace testsupport
{

/// One literal ReplaceText (word::ReplaceText without wildcards) on a sheet.
struct ReplaceTextRow {
    const char *name;
    std::string before; ///< the sheet (test notation)
    word::ChordFont font;
    std::string find;
    std::string replacement;
    std::string after; ///< the sheet expected
};

inline void PrintTo(const ReplaceTextRow &row, std::ostream *os)
{
    *os << row.name;
}

/// Literal Replace-Alls: which text the chord font parameters let through, and what becomes of its formatting.
std::span<const ReplaceTextRow> replaceTextRows();

/// Chord marking with Bold as the chord font: the sheet before and after (test notation).
std::span<const TextRow> markingRows();

/// Nashville degrees converted to letters in A: the text before and after, both in the chord font (bold).
std::span<const TextRow> nashvilleRows();

} // namespace testsupport
