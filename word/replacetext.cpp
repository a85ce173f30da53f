#include "replacetext.h"

namespace word
{

void ReplaceText(Application &app,
                 const ChordFont &font,
                 const std::string &sFind,
                 const std::string &sReplace,
                 bool bWildcards)
{
    auto selection = app.selection();
    auto find = selection->find();
    find->ClearFormatting();
    find->ClearReplacementFormatting();
    find->setText(sFind);
    find->setReplacementText(sReplace);
    find->setForward(true);
    find->setWrap(wdFindContinue);
    find->setFormat(true);
    find->setMatchCase(true);
    if (font.useColor == 1) {
        find->setFont(FontProperty::Color, font.lColor);
    }
    if (font.useStyle == 1) {
        if (font.bold == 1) {
            find->setFont(FontProperty::Bold, wdTrue);
        }
        if (font.italic == 1) {
            find->setFont(FontProperty::Italic, wdTrue);
        }
        if (font.underline == 1) {
            find->setFont(FontProperty::Underline, wdTrue);
        }
    }
    find->setMatchWholeWord(false);
    find->setMatchWildcards(bWildcards);
    find->setMatchSoundsLike(false);
    find->setMatchAllWordForms(false);
    find->Execute(wdReplaceAll);
}

} // namespace word
