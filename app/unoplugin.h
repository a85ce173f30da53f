#pragma once

// Finding and loading the LibreOffice Writer host module (see word/uno/plugin.h).

#include "word/uno/plugin.h"

#include <string>

namespace app
{

/// The module in path, loaded and kept loaded; null with the reason in error when it cannot be loaded
/// (missing, the office's libraries missing, no entry point, another interface or program version).
const word::uno::PluginInterface *loadUnoPlugin(const std::string &path, std::string *error);

/// The installed module, looked for next to the program, then in the program's library folder. Null when
/// there is none that loads: then the program has the built-in word processor only.
const word::uno::PluginInterface *installedUnoPlugin();

} // namespace app
