#include "combinelines.h"

namespace edit
{

void CombineLines(word::Application &app)
{
    using word::wdCharacter;
    using word::wdExtend;
    using word::wdLine;
    constexpr std::nullopt_t move = std::nullopt; // an omitted Extend argument: the selection moves

    // The whole command is one step of the word processor's Undo.
    word::UndoGroup undo(app, "Combine Lines");
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

} // namespace edit
