#include "program.h"

#include "form/frmmain.h"
#include "mainwindow.h"
#include "prefs/registry/registrystore.h"
#include "word/com/host.h"

namespace winui
{

namespace
{

/// Microsoft Word over COM: the running Word, else a new one in the background.
form::HostKind wordHostKind()
{
    return {"word",
            {"Microsoft Word", "Word"},
            []() -> std::shared_ptr<word::Application> {
                return word::com::Host::attach();
            },
            []() -> std::shared_ptr<word::Application> {
                return word::com::Host::start();
            }};
}

/// Word running but out of reach (just starting, or run as administrator) has a message of its own.
std::optional<word::Message> startFailureMessage(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const word::com::ConnectError &error) {
        if (error.reason() == word::com::ConnectFailure::Unreachable) {
            return word::com::connectMessage(error);
        }
    } catch (...) {
    }
    return std::nullopt;
}

} // namespace

int runProgram(HINSTANCE instance, int showCommand)
{
    prefs::RegistryStore store;
    MainWindow window(instance);
    form::frmMain form(window, store);
    form.setStartFailureMessage(startFailureMessage);
    window.setHandlers({[&form](form::Control control) {
                            form.click(control);
                        },
                        [&form] {
                            form.closeRequested();
                        }});
    if (!form.Form_Load(wordHostKind())) {
        return form.exitCode();
    }
    window.show(showCommand);
    return window.run();
}

} // namespace winui
