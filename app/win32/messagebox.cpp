#include "messagebox.h"

#include "prefs/registry/registrystore.h"

namespace winui
{

UINT messageBoxStyle(const word::Message &message)
{
    UINT style = message.buttons == word::Buttons::YesNoDefaultNo ? MB_YESNO | MB_DEFBUTTON2 : MB_OK;
    switch (message.icon) {
    case word::Icon::Critical:
        style |= MB_ICONSTOP;
        break;
    case word::Icon::Question:
        style |= MB_ICONQUESTION;
        break;
    case word::Icon::Exclamation:
        style |= MB_ICONEXCLAMATION;
        break;
    case word::Icon::None:
        break;
    }
    return style;
}

void MessageBoxPrompter::setOwner(HWND owner)
{
    m_owner = owner;
}

word::Answer MessageBoxPrompter::show(const word::Message &message)
{
    // A hidden owner (before the window is shown, or after an error hid it) would hide the box with it.
    const HWND owner = m_owner && IsWindowVisible(m_owner) ? m_owner : nullptr;
    const UINT style = messageBoxStyle(message) | (owner ? 0 : MB_TASKMODAL | MB_SETFOREGROUND);
    const int pressed =
        MessageBoxW(owner, prefs::toWide(message.text).c_str(), prefs::toWide(message.title).c_str(), style);
    if (message.buttons == word::Buttons::YesNoDefaultNo) {
        return pressed == IDYES ? word::Answer::Yes : word::Answer::No;
    }
    return word::Answer::Ok;
}

} // namespace winui
