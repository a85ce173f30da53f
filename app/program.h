#pragma once

namespace app
{

/// The whole program: the command line (read before the window system is needed, so that --help works
/// anywhere), the application, start-up, the window (and the built-in word processor's window beside
/// it), the event loop. Returns the exit code.
int runProgram(int argc, char *argv[]);

/// Make the window's pictures available (the resources of this static library).
void initResources();

} // namespace app
