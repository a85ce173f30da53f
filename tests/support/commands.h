#pragma once

// The commands that change a sheet, each as one call on a host, with a sheet on which each has work: for the
// tests that make a command fail part-way, on every host.

#include "music/transpose.h"
#include "word/automation.h"
#include "word/messages.h"

#include <functional>
#include <span>

namespace testsupport
{

/// One command of the window, run on a host; its messages go to the prompter.
struct Command {
    const char *name;
    std::function<void(word::Application &, word::Prompter &)> run;
};

/// Six lines: bold chords (letters and a slash chord) over lyrics, a plain chord line to mark, a line of
/// Nashville numbers, so that every command has work on every line it reaches (test notation).
inline constexpr const char *commandSheet =
    "{b|G}    {b|D/F#}   {b|Em7}\n"
    "Amazing grace, how sweet\n"
    "C   Am7  Bbmaj7  F#dim\n"
    "the sound that saved\n"
    "{b|1}   {b|4}   {b|5/7}  {b|b7}\n"
    "a wretch like me";

/// Transpose's controls for the command sheet: bold chords from G up to A with sharps; 1 in nashvilleIn or
/// nashvilleOut ticks that Nashville box.
music::TransposeControls transposeControls(int nashvilleIn, int nashvilleOut);

/// Transpose (letters, from Nashville numbers, to Nashville numbers), Find and Mark (bold and a colour) and
/// Combine Lines, each changing the command sheet.
std::span<const Command> sheetCommands();

} // namespace testsupport
