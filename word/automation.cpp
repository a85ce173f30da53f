#include "automation.h"

namespace word
{

const char *propertyName(FontProperty property)
{
    switch (property) {
    case FontProperty::Bold:
        return "Bold";
    case FontProperty::Italic:
        return "Italic";
    case FontProperty::Underline:
        return "Underline";
    case FontProperty::Color:
        return "Color";
    }
    return "?";
}

void Application::setQuitHandler(std::function<void()> handler)
{
    m_quitHandler = std::move(handler);
}

void Application::setEventPoster(std::function<void(std::function<void()>)> poster)
{
    m_poster = std::move(poster);
}

void Application::raiseQuit()
{
    if (!m_quitHandler) {
        return;
    }
    if (m_poster) {
        m_poster(m_quitHandler);
    } else {
        m_quitHandler();
    }
}

UndoGroup::UndoGroup(Application &app, const std::string &name)
    : m_app(app)
{
    m_app.StartUndoGroup(name);
    m_started = true;
}

UndoGroup::~UndoGroup()
{
    if (!m_started) {
        return;
    }
    try {
        m_app.EndUndoGroup();
    } catch (...) {
        // The command's own error, if any, is the one to report.
    }
}

} // namespace word
