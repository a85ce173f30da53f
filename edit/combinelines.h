#pragma once

// "Combine Lines": lines 3 and 4 below the insertion point appended to lines 1 and 2.

#include "word/automation.h"

namespace edit
{

/// Combine Lines: the seventeen moves, cuts, pastes and deletes on one selection object, with no check and
/// no message, as one undo step. A host failure undoes the steps made so far and then propagates (see
/// word::runAsOneStep); the clipboard may then hold a cut line.
void CombineLines(word::Application &app);

} // namespace edit
