#pragma once

// The office's message boxes as the form's prompter.

#include "unocommon.h"
#include "word/messages.h"

#include <com/sun/star/awt/XWindowPeer.hpp>

namespace oxt
{

/// Message boxes of the toolkit, parented to the panel; "\r\n" in a text is shown as one line break.
class MessageBoxes : public word::Prompter
{
public:
    MessageBoxes(const Reference<css::uno::XComponentContext> &context, const Reference<css::awt::XWindowPeer> &parent);

    word::Answer show(const word::Message &message) override;

private:
    Reference<css::uno::XComponentContext> m_context;
    Reference<css::awt::XWindowPeer> m_parent;
};

} // namespace oxt
