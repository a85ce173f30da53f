#pragma once

// The office in UNO's own types, for code that reaches it by other ways than the host's own: the
// connection over the user's pipe on one side, and on the other the document operations (a Host)
// over the component context of an office however it was reached (over a pipe, or in the office's
// own process).

#include "unohost.h"

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <memory>
#include <string>

namespace word::uno
{

/// An office reached over a pipe.
struct PipeConnection {
    css::uno::Reference<css::uno::XComponentContext> remote; ///< the office's component context
    css::uno::Reference<css::lang::XComponent> bridge; ///< disposing it ends the connection
};

/// Connect to the office listening on the pipe. Throws AutomationError when none answers.
PipeConnection connectPipe(const std::string &pipeName);

/// The document operations on the office of context. A bridge, when there is one, is watched for
/// the office going away and ended with the host.
std::unique_ptr<Host> hostOn(const css::uno::Reference<css::uno::XComponentContext> &context,
                             const css::uno::Reference<css::lang::XComponent> &bridge = {});

} // namespace word::uno
