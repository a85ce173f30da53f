#pragma once

// How the built-in word processor opens a web address: with the system's opener, and only "opened" when the
// opener says so.

#include <QString>
#include <QStringList>

#include <string>

namespace app
{

/// Runs program with arguments to open an address and waits up to waitMs for its answer: false when it cannot
/// be started, or ends with a failure (no browser configured). An opener still running after waitMs is taken
/// as a browser on its way, and is left to run.
bool openWith(const QString &program, const QStringList &arguments, int waitMs);

/// Opens address in the user's browser: xdg-open on Linux, the desktop's own service elsewhere.
bool openInBrowser(const std::string &address);

} // namespace app
