#include "messageboxes.h"

#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/MessageBoxResults.hpp>
#include <com/sun/star/awt/MessageBoxType.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XMessageBox.hpp>
#include <com/sun/star/awt/XMessageBoxFactory.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <string>

namespace oxt
{

MessageBoxes::MessageBoxes(const Reference<css::uno::XComponentContext> &context,
                           const Reference<css::awt::XWindowPeer> &parent)
    : m_context(context)
    , m_parent(parent)
{
}

word::Answer MessageBoxes::show(const word::Message &message)
{
    const bool question = message.buttons == word::Buttons::YesNoDefaultNo;
    css::awt::MessageBoxType type = css::awt::MessageBoxType_MESSAGEBOX;
    switch (message.icon) {
    case word::Icon::Critical:
        type = css::awt::MessageBoxType_ERRORBOX;
        break;
    case word::Icon::Question:
        type = css::awt::MessageBoxType_QUERYBOX;
        break;
    case word::Icon::Exclamation:
        type = css::awt::MessageBoxType_WARNINGBOX;
        break;
    case word::Icon::None:
        break;
    }
    std::string text;
    for (std::size_t i = 0; i < message.text.size(); ++i) {
        if (message.text.compare(i, 2, "\r\n") == 0) {
            text += '\n';
            ++i;
        } else {
            text += message.text[i];
        }
    }
    const sal_Int32 buttons = question
        ? css::awt::MessageBoxButtons::BUTTONS_YES_NO | css::awt::MessageBoxButtons::DEFAULT_BUTTON_NO
        : css::awt::MessageBoxButtons::BUTTONS_OK;
    Reference<css::awt::XMessageBoxFactory> factory(css::awt::Toolkit::create(m_context), UNO_QUERY_THROW);
    const auto box = factory->createMessageBox(m_parent, type, buttons, ou(message.title), ou(text));
    const sal_Int16 result = box->execute();
    Reference<css::lang::XComponent>(box, UNO_QUERY_THROW)->dispose();
    if (!question) {
        return word::Answer::Ok;
    }
    return result == css::awt::MessageBoxResults::YES ? word::Answer::Yes : word::Answer::No;
}

} // namespace oxt
