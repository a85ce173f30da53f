#include "hostfixture.h"

namespace testsupport
{

bool runReplace(word::Application &app, const ReplaceCall &call)
{
    auto selection = app.selection();
    auto find = selection->find();
    find->ClearFormatting();
    find->ClearReplacementFormatting();
    find->setText(call.find);
    find->setReplacementText(call.replacement);
    find->setForward(true);
    find->setWrap(word::wdFindContinue);
    find->setFormat(call.format);
    find->setMatchCase(call.matchCase);
    find->setMatchWholeWord(false);
    find->setMatchWildcards(call.wildcards);
    for (const auto &[property, value] : call.criteria) {
        find->setFont(property, value);
    }
    for (const auto &[property, value] : call.changes) {
        find->setReplacementFont(property, value);
    }
    return find->Execute(word::wdReplaceAll);
}

SheetHost::SheetHost(std::string_view notation)
{
    host.open(word::builtin::fromNotation(notation), "sheet");
}

std::string SheetHost::sheet() const
{
    const auto *doc = host.activeText();
    return doc ? word::builtin::toNotation(*doc) : std::string();
}

} // namespace testsupport
