#include "fakeview.h"

#include "word/builtin/host.h"

#include <stdexcept>

namespace testsupport
{

std::string MemoryStore::get(const std::string &key)
{
    const auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

void MemoryStore::set(const std::string &key, const std::string &value)
{
    values[key] = value;
    written.push_back(key);
}

form::HostKind kindAttachingTo(std::shared_ptr<word::Application> host)
{
    form::HostKind kind;
    kind.name = "builtin";
    kind.names = word::builtin::Host().names();
    kind.attach = [host] {
        return host;
    };
    kind.start = []() -> std::shared_ptr<word::Application> {
        return nullptr;
    };
    return kind;
}

FakeView::FakeView()
{
    prompts.answer = word::Answer::No;
    state(form::Control::Option1).value = 1;
}

FakeView::State &FakeView::state(form::Control control)
{
    return m_controls.at(static_cast<std::size_t>(control));
}

const FakeView::State &FakeView::state(form::Control control) const
{
    return m_controls.at(static_cast<std::size_t>(control));
}

int FakeView::value(form::Control control) const
{
    return state(control).value;
}

void FakeView::setValue(form::Control control, int value)
{
    const form::Kind kind = form::spec(control).kind;
    if (kind != form::Kind::CheckBox && kind != form::Kind::OptionButton) {
        throw std::logic_error("setValue on " + std::string(form::spec(control).name));
    }
    state(control).value = value;
}

std::string FakeView::text(form::Control control) const
{
    const State &s = state(control);
    if (form::spec(control).kind == form::Kind::ComboBox) {
        return s.index >= 0 && s.index < static_cast<int>(s.items.size()) ? s.items[s.index] : std::string();
    }
    return s.text;
}

void FakeView::setText(form::Control control, const std::string &text)
{
    state(control).text = text;
}

int FakeView::listIndex(form::Control control) const
{
    return state(control).index;
}

void FakeView::setListIndex(form::Control control, int index)
{
    State &s = state(control);
    // A list takes only an index it has (or -1), as a toolkit's list does.
    s.index = index >= 0 && index < static_cast<int>(s.items.size()) ? index : -1;
}

void FakeView::setListItems(form::Control control, const std::vector<std::string> &items)
{
    state(control).items = items;
    state(control).index = -1;
}

bool FakeView::enabled(form::Control control) const
{
    return state(control).enabled;
}

void FakeView::setEnabled(form::Control control, bool enabled)
{
    state(control).enabled = enabled;
}

word::Prompter &FakeView::prompter()
{
    return prompts;
}

void FakeView::post(std::function<void()> event)
{
    const std::lock_guard lock(m_postedLock);
    m_posted.push_back(std::move(event));
}

void FakeView::endProgram(int exitCode)
{
    visible = false;
    programEnds.push_back(exitCode);
}

void FakeView::click(form::Control control)
{
    if (!enabled(control)) {
        return;
    }
    switch (form::spec(control).kind) {
    case form::Kind::CheckBox:
        state(control).value = 1 - state(control).value;
        break;
    case form::Kind::OptionButton:
        state(form::Control::Option1).value = control == form::Control::Option1 ? 1 : 0;
        state(form::Control::Option2).value = control == form::Control::Option2 ? 1 : 0;
        break;
    default:
        break;
    }
    form->click(control);
}

void FakeView::choose(form::Control list, int index)
{
    if (!enabled(list) || listIndex(list) == index) {
        return;
    }
    setListIndex(list, index);
    form->click(list);
}

void FakeView::type(form::Control box, const std::string &text)
{
    setText(box, text);
}

const std::vector<std::string> &FakeView::items(form::Control list) const
{
    return state(list).items;
}

int FakeView::deliverPosted()
{
    int count = 0;
    for (;;) {
        std::function<void()> event;
        {
            const std::lock_guard lock(m_postedLock);
            if (m_posted.empty()) {
                return count;
            }
            event = std::move(m_posted.front());
            m_posted.pop_front();
        }
        event();
        ++count;
    }
}

} // namespace testsupport
