#include "formfixture.h"

FormTest::FormTest()
    : host(std::make_shared<word::builtin::Host>())
    , prompter(view.prompts)
    , form(view, store)
{
    view.form = &form;
}

void FormTest::load()
{
    ASSERT_TRUE(form.Form_Load(testsupport::kindAttachingTo(host)));
}

void FormTest::openSheet(const std::string &notation)
{
    host->open(word::builtin::fromNotation(notation), "sheet");
    host->setSelection(0, 0);
}

std::string FormTest::sheet() const
{
    return word::builtin::toNotation(*host->activeText());
}

std::vector<std::string> FormTest::shown() const
{
    std::vector<std::string> lines;
    for (const word::Message &message : prompter.shown) {
        lines.push_back(message.title + ": " + message.text);
    }
    return lines;
}

void FormTest::chooseKeys(int current, int target)
{
    view.choose(Control::Combo1, current);
    view.choose(Control::Combo2, target);
}
