#pragma once

// What a host call that must fail says: for tests of refusals and failures.

#include "word/automation.h"

#include <functional>
#include <string>

namespace testsupport
{

/// What a call returning without an AutomationError gives in place of a description.
inline const std::string noAutomationError = "(no AutomationError)";

/// The description of the AutomationError call throws, or noAutomationError when it returns; other
/// exceptions pass.
inline std::string automationError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const word::AutomationError &error) {
        return error.what();
    }
    return noAutomationError;
}

} // namespace testsupport
