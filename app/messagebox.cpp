#include "messagebox.h"

#include <QMessageBox>

namespace app
{

namespace
{

QMessageBox::Icon toQt(word::Icon icon)
{
    switch (icon) {
    case word::Icon::Critical:
        return QMessageBox::Critical;
    case word::Icon::Question:
        return QMessageBox::Question;
    case word::Icon::Exclamation:
        return QMessageBox::Warning;
    case word::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::unique_ptr<QMessageBox> makeMessageBox(const word::Message &message, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(QString::fromStdString(message.title));
    // Plain text always: a message may quote what the user typed.
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromStdString(message.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box->setIcon(toQt(message.icon));
    if (message.buttons == word::Buttons::YesNoDefaultNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

MessageBoxPrompter::MessageBoxPrompter(QWidget *parent)
    : m_parent(parent)
{
}

void MessageBoxPrompter::setParent(QWidget *parent)
{
    m_parent = parent;
}

word::Answer MessageBoxPrompter::show(const word::Message &message)
{
    auto box = makeMessageBox(message, m_parent);
    const int pressed = box->exec();
    if (message.buttons == word::Buttons::YesNoDefaultNo) {
        return pressed == QMessageBox::Yes ? word::Answer::Yes : word::Answer::No;
    }
    return word::Answer::Ok;
}

} // namespace app
