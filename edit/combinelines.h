#pragma once

// "Combine Lines": lines 3 and 4 below the insertion point appended to lines 1 and 2.

#include "word/automation.h"

namespace edit
{

/// Combine Lines: the seventeen moves, cuts, pastes and deletes on one selection object, with no check and
/// no message. Host failures propagate (a document left as far as the steps got).
void CombineLines(word::Application &app);

} // namespace edit
