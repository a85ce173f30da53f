#pragma once

// The Windows program: Word as the host, the registry as the preferences store, frmMain as a native window.

#include <windows.h>

namespace winui
{

/// Runs Tonvale until its window closes; returns the exit code (0 normal, 1 after an error report or when
/// no Word could be obtained).
int runProgram(HINSTANCE instance, int showCommand);

} // namespace winui
