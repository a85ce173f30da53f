#pragma once

// One headless office per test program with the freshly built extension installed in a private
// profile: the office is started, takes the package through its extension manager, and is started
// again so that it loads the component. Documents are made and read through the pipe host; the
// extension's requests go through the office's own dispatch helper, as a macro sends them.

#include "word/uno/unohost.h"

#include <com/sun/star/uno/XComponentContext.hpp>

#include <string>

namespace oxttest
{

namespace css = ::com::sun::star;

/// The result of one "vnd.tonvale:" request.
struct Dispatched {
    bool ok = false; ///< DispatchResultState SUCCESS
    std::string result; ///< the result's lines
    /// The value of "name=" in the result ("" when absent).
    std::string value(const std::string &name) const;
};

/// Before the first office(): start the office with its windows on display (an X display name)
/// instead of headless.
void showWindowsOn(const std::string &display);
/// The office of this test program, started (twice) on first use.
word::uno::Host &office();
/// Ends the office and removes its files (at the end of the program; also done at exit).
void stopOffice();
/// The office's component context, over a connection of its own.
css::uno::Reference<css::uno::XComponentContext> officeContext();
/// Sends url to the window of the active document and waits for its result.
Dispatched dispatch(const std::string &url);
/// The number of steps in the active document's undo list.
int undoSteps();
/// The title of the step Undo would undo now.
std::string lastUndoTitle();
/// The settings file the extension's preferences go to in this office (TONVALE_SETTINGS).
std::string settingsFile();

} // namespace oxttest
