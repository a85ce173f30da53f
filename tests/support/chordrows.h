#pragma once

// Rows of what the chord passes make of a sheet, the same on every host: the built-in host's tests and
// the LibreOffice Writer host's tests run each table.

#include "tests/support/rows.h"

#include <span>

namespace testsupport
{

/// Chord marking with Bold as the chord font: the sheet before and after (test notation).
std::span<const TextRow> markingRows();

/// Nashville degrees converted to letters in A: the text before and after, both in the chord font (bold).
std::span<const TextRow> nashvilleRows();

} // namespace testsupport
