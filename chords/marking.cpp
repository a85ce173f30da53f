#include "marking.h"

namespace chords
{

const std::array<std::string_view, 20> catalogue{
    "<[A-G]{1}>",
    "<[A-G]{1}[#bMm1-79+-]{1,7}",
    "<[A-G]{1}[#b]{1}sus>",
    "<[A-G]{1}[#b]{1}sus[24]{1}",
    "<[A-G]{1}sus>",
    "<[A-G]{1}sus[24]{1}",
    "<[A-G]{1}[#b]{1}dim>",
    "<[A-G]{1}dim>",
    "<[A-G]{1}[#b]{1}dim7",
    "<[A-G]{1}dim7",
    "<[A-G]{1}[#b]{1}[Mm]{1}aj",
    "<[A-G]{1}[Mm]{1}aj",
    "<[A-G]{1}[#b]{1}[Mm]{1}aj[7913]{1,2}",
    "<[A-G]{1}[Mm]{1}aj[7913]{1,2}",
    "<[A-G]{1}[#b]{1}[Aa]{1}ug",
    "<[A-G]{1}[Aa]{1}ug",
    "<[A-G]{1}[#b]{1}[Aa]{1}dd[249]{1}",
    "<[A-G]{1}[Aa]{1}dd[249]{1}",
    "<[A-G]{1}[#b]{1}7[Aa]{1}dd[249]{1}",
    "<[A-G]{1}7[Aa]{1}dd[249]{1}",
};

namespace
{

/// Whether a pass would give its matches any attribute. Without one, a pass would replace every match by
/// the empty replacement text and delete it.
bool appliesAnything(const word::ChordFont &font)
{
    return font.useColor || (font.useStyle && (font.bold || font.italic || font.underline));
}

} // namespace

void FindChord(word::Application &app, const word::ChordFont &font, const std::string &Exp)
{
    auto selection = app.selection();
    auto find = selection->find();
    find->ClearFormatting();
    find->ClearReplacementFormatting();
    find->setText(Exp);
    find->setReplacementText("");
    find->setForward(true);
    find->setWrap(word::wdFindContinue);
    find->setFormat(true);
    find->setMatchCase(false);
    find->setMatchWholeWord(false);
    find->setMatchAllWordForms(false);
    find->setMatchSoundsLike(false);
    find->setMatchWildcards(true);
    if (font.useColor) {
        find->setReplacementFont(word::FontProperty::Color, font.lColor);
    }
    if (font.useStyle) {
        if (font.bold) {
            find->setReplacementFont(word::FontProperty::Bold, word::wdTrue);
        }
        if (font.italic) {
            find->setReplacementFont(word::FontProperty::Italic, word::wdTrue);
        }
        if (font.underline) {
            find->setReplacementFont(word::FontProperty::Underline, word::wdTrue);
        }
    }
    find->Execute(word::wdReplaceAll);
}

std::optional<int32_t> FindChords(word::Application &app, word::Prompter &prompter, const MarkControls &controls)
{
    if (app.DocumentsCount() == 0) {
        prompter.show(word::noDocumentMessage(app));
        return std::nullopt;
    }
    if (!controls.font.useColor && !controls.font.useStyle) {
        prompter.show({"Chord font parameters must be selected to use this function.",
                       "Error",
                       word::Icon::Critical,
                       word::Buttons::Ok});
        return std::nullopt;
    }
    const auto color = prefs::chordColor(controls.color);
    if (color.error) {
        prompter.show(*color.error);
        return std::nullopt;
    }
    word::ChordFont font = controls.font;
    font.lColor = *color.lColor;
    if (appliesAnything(font)) {
        // The twenty passes and the redraw are one step of the word processor's Undo, taken back when a call
        // fails.
        word::runAsOneStep(app, "Find and Mark Chords", [&] {
            for (const auto pattern : catalogue) {
                FindChord(app, font, std::string(pattern));
            }
            app.ScreenRefresh();
        });
    } else {
        app.ScreenRefresh();
    }
    return color.lColor;
}

} // namespace chords
