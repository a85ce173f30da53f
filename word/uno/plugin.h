#pragma once

// The LibreOffice Writer host as a module the program loads at run time (dlopen), so that a program
// built with it still starts where the office's libraries are missing: the module then fails to load
// and the built-in word processor is the only host.

#include "word/automation.h"

#include <memory>
#include <string>

namespace word::uno
{

/// Raised whenever the table below changes shape; a module of another shape is not used.
inline constexpr int pluginInterfaceVersion = 1;

/// What the module offers: the office's start command and the two ways to reach it (see unohost.h;
/// both throw when the office cannot be reached).
struct PluginInterface {
    int interfaceVersion = pluginInterfaceVersion;
    const char *programVersion = nullptr; ///< the version of the program the module was built with
    std::string (*findSoffice)() = nullptr;
    std::shared_ptr<Application> (*attach)() = nullptr;
    std::shared_ptr<Application> (*start)() = nullptr;
};

/// The name of the module's one exported function, which returns its PluginInterface.
inline constexpr const char *pluginEntryName = "tonvale_libreoffice_host";

} // namespace word::uno
