#pragma once

// The LibreOffice Writer host inside the office's own process (an extension): the same document
// operations as over the pipe, on the document of one window, without a connection.

#include "unohost.h"

#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <memory>

namespace word::uno
{

/// The host on document, reached through the office's own component context. Every call works on
/// that document, whichever window is active; DocumentsCount counts the office's Writer documents.
/// The host raises no Quit event (it ends with the office) and its Quit does nothing: the office
/// belongs to its user, not to a panel inside it.
std::unique_ptr<Application> inProcessHost(const css::uno::Reference<css::uno::XComponentContext> &context,
                                           const css::uno::Reference<css::text::XTextDocument> &document);

} // namespace word::uno
