#pragma once

// The word processor the window works with: how to attach to a running one, or start one.

#include "word/automation.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace form
{

/// One kind of word processor. attach and start each return the host's Application, or fail by
/// returning null or throwing (any exception).
struct HostKind {
    std::string name; ///< the --host value: "builtin", "libreoffice", "word"
    word::HostNames names; ///< how the messages name it (the fatal message)
    std::function<std::shared_ptr<word::Application>()> attach; ///< the running instance
    std::function<std::shared_ptr<word::Application>()> start; ///< a newly started instance
};

/// Attach to a running instance of kind, else start one; every failure is silent. Null when both fail, and
/// then startFailure (when given) holds what start threw (null when it returned null or is not set).
std::shared_ptr<word::Application> obtainHost(const HostKind &kind, std::exception_ptr *startFailure = nullptr);

} // namespace form
