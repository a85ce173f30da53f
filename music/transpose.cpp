#include "transpose.h"

#include "prefs/number.h"

namespace music
{

namespace
{

word::Message transposeError(const std::string &text)
{
    return {text, "Transpose Error", word::Icon::Critical, word::Buttons::Ok};
}

} // namespace

TransposeResult Transpose(word::Application &app, word::Prompter &prompter, const TransposeControls &controls)
{
    TransposeResult result;
    if (app.DocumentsCount() == 0) {
        prompter.show(word::noDocumentMessage(app));
        return result;
    }
    if (controls.currentKey == -1) {
        prompter.show(transposeError("You must set the current key"));
        return result;
    }
    if (controls.newKey == -1) {
        prompter.show(transposeError("You must set the new key"));
        return result;
    }
    const auto color = prefs::chordColor(controls.color);
    if (color.error) {
        prompter.show(*color.error);
        return result;
    }
    result.lColor = color.lColor;
    result.bUseSharps = controls.useSharps;

    word::ChordFont font = controls.font;
    font.lColor = *color.lColor;
    const auto lDelta = prefs::roundToInt32(prefs::leadingNumber(controls.semiTones));
    if (!lDelta) {
        prompter.show(transposeError("Overflow"));
        return result;
    }
    try {
        // The question comes before the undo step opens: some word processors freeze their view inside one.
        const PassOptions options{controls.nashvilleIn ? Notation::Nashville : Notation::Letters,
                                  controls.nashvilleOut ? Notation::Nashville : Notation::Letters,
                                  controls.useSharps ? Spelling::Sharps : Spelling::Flats,
                                  controls.keepColumns};
        if (confirmPass(prompter, font)) {
            word::runAsOneStep(app, "Transpose", [&] {
                replaceConfirmed(app, font, options, *lDelta);
            });
        }
    } catch (...) {
        prompter.show(transposeError(word::currentFailure()));
        return result;
    }
    result.newCurrentKey = controls.newKey;
    return result;
}

} // namespace music
