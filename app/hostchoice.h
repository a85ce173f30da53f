#pragma once

// Which word processor Tonvale works with, and the command line that chooses it.

#include "form/hostkind.h"
#include "word/automation.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace word::builtin
{
class Host;
}

namespace app
{

using form::HostKind;

/// The built-in host's in-process instance, shared by its "attach" and "start".
struct BuiltinInstance {
    /// The instance created with a document (--open); "attach" finds it, "start" replaces it.
    std::shared_ptr<word::builtin::Host> running;
};

/// The built-in host kind over instance (which must outlive the kind's use).
HostKind builtinHostKind(BuiltinInstance &instance);

/// Every host kind this build knows, the default first.
std::vector<HostKind> hostKinds(BuiltinInstance &builtin);

/// The kind called name, or null.
const HostKind *findHostKind(const std::vector<HostKind> &kinds, std::string_view name);

/// The command line.
struct Options {
    std::string host; ///< --host NAME (the first kind when not given)
    std::string open; ///< --open FILE: a song sheet for the built-in host ("" none)
    std::string settings; ///< --settings FILE, else $TONVALE_SETTINGS: a private preferences file ("" none)
    bool help = false; ///< --help
    bool version = false; ///< --version
    std::string error; ///< what is wrong with the command line ("" nothing)
    std::string usage; ///< the --help text
};

/// Reads arguments (the program name first) and the TONVALE_SETTINGS value settingsVariable.
Options parseOptions(const QStringList &arguments, const std::vector<HostKind> &kinds, const QString &settingsVariable);

} // namespace app
