#include "program.h"

#include "interimform.h"
#include "mainwindow.h"
#include "prefs/registry/registrystore.h"
#include "word/com/host.h"

namespace winui
{

int runProgram(HINSTANCE instance, int showCommand)
{
    prefs::RegistryStore store;
    MainWindow window(instance);
    InterimForm form(window, store);
    window.setHandlers({[&form](form::Control control) {
                            form.click(control);
                        },
                        [&form] {
                            form.close();
                        }});
    if (!form.Form_Load()) {
        return form.exitCode();
    }
    window.show(showCommand);
    return window.run();
}

} // namespace winui
