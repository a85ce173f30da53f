#include "commands.h"

#include "chords/marking.h"
#include "edit/combinelines.h"

namespace testsupport
{

music::TransposeControls transposeControls(int nashvilleIn, int nashvilleOut)
{
    return {.font = {.useStyle = true, .bold = true},
            .color = {"0", "0", "0"},
            .nashvilleIn = nashvilleIn != 0,
            .nashvilleOut = nashvilleOut != 0,
            .currentKey = 10, // G
            .newKey = 0, // A
            .useSharps = true,
            .semiTones = "2"};
}

namespace
{

void transpose(word::Application &app, word::Prompter &prompter, int nashvilleIn, int nashvilleOut)
{
    music::Transpose(app, prompter, transposeControls(nashvilleIn, nashvilleOut));
}

const Command commands[] = {
    {"TransposeLetters",
     [](word::Application &app, word::Prompter &prompter) {
         transpose(app, prompter, 0, 0);
     }},
    {"TransposeFromNashville",
     [](word::Application &app, word::Prompter &prompter) {
         transpose(app, prompter, 1, 0);
     }},
    {"TransposeToNashville",
     [](word::Application &app, word::Prompter &prompter) {
         transpose(app, prompter, 0, 1);
     }},
    {"FindAndMark",
     [](word::Application &app, word::Prompter &prompter) {
         chords::FindChords(app,
                            prompter,
                            {.font = {.useColor = true, .useStyle = true, .bold = true}, .color = {"200", "0", "0"}});
     }},
    {"CombineLines",
     [](word::Application &app, word::Prompter &) {
         edit::CombineLines(app);
     }},
};

} // namespace

std::span<const Command> sheetCommands()
{
    return commands;
}

} // namespace testsupport
