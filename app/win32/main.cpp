#include "program.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    // The window's thread is a single-threaded apartment: Word's calls and its Quit event come through its
    // message loop.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const int code = winui::runProgram(instance, showCommand);
    CoUninitialize();
    return code;
}
