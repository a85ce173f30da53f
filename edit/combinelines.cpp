#include "combinelines.h"

namespace edit
{

namespace
{

void combine(word::Application &app)
{
    using word::wdCharacter;
    using word::wdExtend;
    using word::wdLine;
    constexpr std::nullopt_t move = std::nullopt; // an omitted Extend argument: the selection moves

    auto selection = app.selection();
    // Line 3's text to the end of line 1.
    selection->MoveDown(wdLine, 2, move);
    selection->MoveDown(wdLine, 1, wdExtend);
    selection->MoveLeft(wdCharacter, 1, wdExtend);
    selection->Cut();
    selection->MoveUp(wdLine, 1, move);
    selection->MoveLeft(wdCharacter, 1, move);
    selection->PasteAndFormat(word::wdPasteDefault);
    selection->MoveRight(wdCharacter, 1, move);
    selection->MoveDown(wdLine, 1, move);
    selection->Delete(wdCharacter, 1);
    // Line 4's text to the end of line 2.
    selection->MoveDown(wdLine, 1, wdExtend);
    selection->MoveLeft(wdCharacter, 1, wdExtend);
    selection->Cut();
    selection->MoveLeft(wdCharacter, 1, move);
    selection->PasteAndFormat(word::wdPasteDefault);
    selection->MoveRight(wdCharacter, 1, move);
    selection->Delete(wdCharacter, 1);
}

} // namespace

void CombineLines(word::Application &app)
{
    // The whole command is one step of the word processor's Undo; a step that fails takes the others back.
    word::runAsOneStep(app, "Combine Lines", [&] {
        combine(app);
    });
}

} // namespace edit
