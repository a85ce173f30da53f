#pragma once

// The window's message boxes: word::Message shown as a modal QMessageBox.

#include "word/messages.h"

#include <QPointer>
#include <memory>

class QMessageBox;
class QWidget;

namespace app
{

/// A message box built from message, not yet shown: the title, the text (lines joined by "\r\n"
/// become line breaks), the icon and the buttons; for Yes/No, No is the default and Escape answers No.
std::unique_ptr<QMessageBox> makeMessageBox(const word::Message &message, QWidget *parent);

/// Shows every message as a modal box over parent (which may be null or go away).
class MessageBoxPrompter : public word::Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr);
    void setParent(QWidget *parent);
    word::Answer show(const word::Message &message) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace app
