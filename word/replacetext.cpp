#include "replacetext.h"

namespace word
{

bool ReplaceText(Application &app,
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
    if (font.useColor) {
        find->setFont(FontProperty::Color, font.lColor);
    }
    if (font.useStyle) {
        if (font.bold) {
            find->setFont(FontProperty::Bold, wdTrue);
        }
        if (font.italic) {
            find->setFont(FontProperty::Italic, wdTrue);
        }
        if (font.underline) {
            find->setFont(FontProperty::Underline, wdTrue);
        }
    }
    find->setMatchWholeWord(false);
    find->setMatchWildcards(bWildcards);
    find->setMatchSoundsLike(false);
    find->setMatchAllWordForms(false);
    return find->Execute(wdReplaceAll);
}

} // namespace word
