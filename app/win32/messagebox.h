#pragma once

// The window's message boxes on Windows: word::Message shown with MessageBoxW.

#include "word/messages.h"

#include <windows.h>

namespace winui
{

/// The MessageBoxW style of message: its buttons, the default button and the icon.
UINT messageBoxStyle(const word::Message &message);

/// Shows every message as a modal box owned by a window (none before the window exists).
class MessageBoxPrompter : public word::Prompter
{
public:
    void setOwner(HWND owner);
    word::Answer show(const word::Message &message) override;

private:
    HWND m_owner = nullptr;
};

} // namespace winui
