#include "automation.h"

#include <new>

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

bool UndoGroup::rollBack() noexcept
{
    if (!m_started) {
        return true; // the step never opened, so nothing changed
    }
    m_started = false;
    try {
        m_app.EndUndoGroup();
    } catch (...) {
        // UndoLastGroup ends a step that is still open.
    }
    try {
        m_app.UndoLastGroup();
        return true;
    } catch (...) {
        return false;
    }
}

std::string currentFailure()
{
    try {
        throw;
    } catch (const std::bad_alloc &) {
        return "Out of memory.";
    } catch (const std::exception &error) {
        return error.what();
    } catch (...) {
        return "Unknown error";
    }
}

void runAsOneStep(Application &app, const std::string &name, const std::function<void()> &command)
{
    std::optional<UndoGroup> group;
    group.emplace(app, name); // a failure here changed nothing and goes on as it is
    try {
        command();
    } catch (...) {
        if (group->rollBack()) {
            throw;
        }
        throw AutomationError(currentFailure() + "\r\n\r\nThe document may hold unfinished changes of \"" + name
                              + "\". Undo in " + app.names().product + " takes them back.");
    }
}

} // namespace word
