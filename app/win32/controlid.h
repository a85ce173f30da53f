#pragma once

// The child-window identifiers of frmMain's controls on Windows, which GetDlgItem finds them by (the tests
// drive the window through them). They start above IDOK and IDCANCEL, which Enter and Escape send.

#include "form/layout.h"

#include <cstddef>

namespace winui
{

/// How many controls the window has.
inline constexpr std::size_t controlCount = static_cast<std::size_t>(form::Control::Command8) + 1;

/// The control's child-window identifier.
constexpr int controlId(form::Control control)
{
    return 100 + static_cast<int>(control);
}

/// The control of a child-window identifier; false when id names none.
constexpr bool controlOf(int id, form::Control &control)
{
    if (id < 100 || id >= 100 + static_cast<int>(controlCount)) {
        return false;
    }
    control = static_cast<form::Control>(id - 100);
    return true;
}

} // namespace winui
