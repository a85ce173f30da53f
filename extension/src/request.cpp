#include "request.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace oxt
{

namespace
{

struct Alias {
    std::string_view name;
    form::Control control;
};

constexpr std::array aliases{
    Alias{"getfont", form::Control::Command1},
    Alias{"transpose", form::Control::Command2},
    Alias{"help", form::Control::Command4},
    Alias{"about", form::Control::Command5},
    Alias{"mark", form::Control::Command6},
    Alias{"combine", form::Control::Command7},
    Alias{"save", form::Control::Command8},
    Alias{"home", form::Control::Label11},
    Alias{"logo", form::Control::Image1},
};

std::optional<form::Control> controlNamed(std::string_view name)
{
    for (const auto &spec : form::layout()) {
        if (spec.name == name) {
            return spec.id;
        }
    }
    return std::nullopt;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexDigit(text[i + 1]);
        const int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

bool clickable(form::Kind kind)
{
    return kind == form::Kind::Button || kind == form::Kind::Link || kind == form::Kind::Image;
}

bool settable(form::Kind kind)
{
    return kind == form::Kind::CheckBox || kind == form::Kind::OptionButton || kind == form::Kind::TextBox
        || kind == form::Kind::ComboBox;
}

std::string escaped(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            out += "\\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::variant<Request, std::string> parseRequest(std::string_view url)
{
    if (!url.starts_with(protocol)) {
        return std::string("Not a Tonvale address: ") + std::string(url);
    }
    url.remove_prefix(protocol.size());
    const auto query = url.find('?');
    Request request;
    request.command = std::string(url.substr(0, query));
    if (request.command != "open" && request.command != "state") {
        if (request.command == "Command3" || request.command == "exit") {
            return std::string("Exit is not available in the panel: the panel closes with its window.");
        }
        const auto alias = std::find_if(aliases.begin(), aliases.end(), [&](const Alias &a) {
            return a.name == request.command;
        });
        if (alias != aliases.end()) {
            request.click = alias->control;
        } else if (const auto named = controlNamed(request.command); named && clickable(form::spec(*named).kind)) {
            request.click = named;
        } else {
            return "Unknown command: " + request.command;
        }
    }
    if (query == std::string_view::npos) {
        return request;
    }
    std::string_view rest = url.substr(query + 1);
    while (!rest.empty()) {
        const auto amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
        if (pair.empty()) {
            continue;
        }
        const auto eq = pair.find('=');
        if (eq == std::string_view::npos) {
            return "No value for " + std::string(pair);
        }
        const std::string_view name = pair.substr(0, eq);
        const auto value = percentDecoded(pair.substr(eq + 1));
        if (!value) {
            return "Bad percent encoding in " + std::string(pair);
        }
        if (name == "answer") {
            if (*value != "yes" && *value != "no") {
                return "answer must be yes or no, not " + *value;
            }
            request.answer = *value == "yes" ? word::Answer::Yes : word::Answer::No;
            continue;
        }
        const auto control = controlNamed(name);
        if (!control || !settable(form::spec(*control).kind)) {
            return "No control to set: " + std::string(name);
        }
        const auto kind = form::spec(*control).kind;
        if ((kind == form::Kind::CheckBox || kind == form::Kind::OptionButton) && *value != "0" && *value != "1") {
            return std::string(name) + " takes 0 or 1, not " + *value;
        }
        request.settings.emplace_back(*control, *value);
    }
    return request;
}

word::Answer SwitchPrompter::show(const word::Message &message)
{
    if (!m_recording && m_interactive) {
        return m_interactive->show(message);
    }
    m_recorded.push_back(message);
    if (message.buttons == word::Buttons::Ok) {
        return word::Answer::Ok;
    }
    return m_recording ? m_answer : word::Answer::No;
}

void SwitchPrompter::record(word::Answer answer)
{
    m_recording = true;
    m_answer = answer;
    m_recorded.clear();
}

std::vector<word::Message> SwitchPrompter::stopRecording()
{
    m_recording = false;
    return std::exchange(m_recorded, {});
}

std::string describe(const form::View &view)
{
    std::string out;
    for (const auto &spec : form::layout()) {
        switch (spec.kind) {
        case form::Kind::CheckBox:
        case form::Kind::OptionButton:
            out += std::string(spec.name) + "=" + std::to_string(view.value(spec.id)) + "\n";
            break;
        case form::Kind::TextBox:
        case form::Kind::ComboBox:
            out += std::string(spec.name) + "=" + view.text(spec.id) + "\n";
            break;
        default:
            break;
        }
    }
    return out;
}

Outcome runRequest(const Request &request, form::frmMain &form, form::View &view, SwitchPrompter &prompter)
{
    Outcome outcome{true, {}};
    std::string error;
    prompter.record(request.answer);
    for (const auto &[control, value] : request.settings) {
        if (!view.enabled(control)) {
            // The user cannot change a disabled control either.
            error = std::string(form::spec(control).name) + " is disabled";
            break;
        }
        switch (form::spec(control).kind) {
        case form::Kind::CheckBox:
        case form::Kind::OptionButton:
            form.setValue(control, value == "1" ? 1 : 0);
            break;
        case form::Kind::TextBox:
            view.setText(control, value);
            break;
        case form::Kind::ComboBox: {
            int index = -1;
            if (value != "-1") {
                // The entries are what the view holds: find the one with this text.
                const int before = view.listIndex(control);
                for (int i = 0;; ++i) {
                    view.setListIndex(control, i);
                    if (view.listIndex(control) != i) {
                        break;
                    }
                    if (view.text(control) == value) {
                        index = i;
                        break;
                    }
                }
                view.setListIndex(control, before);
                if (index < 0) {
                    error = "No entry " + value + " in " + std::string(form::spec(control).name);
                    break;
                }
            }
            form.setListIndex(control, index);
            break;
        }
        default:
            break;
        }
        if (!error.empty()) {
            break;
        }
    }
    if (error.empty() && request.click) {
        if (!view.enabled(*request.click)) {
            error = std::string(form::spec(*request.click).name) + " is disabled";
        } else {
            form.click(*request.click);
        }
    }
    const auto messages = prompter.stopRecording();
    outcome.ok = error.empty();
    outcome.result = outcome.ok ? "status=ok\n" : "status=error\nerror=" + error + "\n";
    for (const auto &message : messages) {
        outcome.result += "message=" + escaped(message.title) + "|" + escaped(message.text) + "\n";
    }
    outcome.result += describe(view);
    return outcome;
}

MemoryView::MemoryView(SwitchPrompter &prompter)
    : m_controls(form::layout().size())
    , m_prompter(prompter)
{
    setValue(form::Control::Option1, 1);
}

namespace
{
std::size_t slot(form::Control control)
{
    return static_cast<std::size_t>(control);
}
} // namespace

int MemoryView::value(form::Control control) const
{
    return m_controls[slot(control)].value;
}

void MemoryView::setValue(form::Control control, int value)
{
    m_controls[slot(control)].value = value;
}

std::string MemoryView::text(form::Control control) const
{
    const State &state = m_controls[slot(control)];
    if (form::spec(control).kind == form::Kind::ComboBox) {
        return state.index >= 0 && state.index < static_cast<int>(state.items.size())
            ? state.items[static_cast<std::size_t>(state.index)]
            : std::string();
    }
    return state.text;
}

void MemoryView::setText(form::Control control, const std::string &text)
{
    m_controls[slot(control)].text = text;
}

int MemoryView::listIndex(form::Control control) const
{
    return m_controls[slot(control)].index;
}

void MemoryView::setListIndex(form::Control control, int index)
{
    State &state = m_controls[slot(control)];
    state.index = index >= 0 && index < static_cast<int>(state.items.size()) ? index : -1;
}

void MemoryView::setListItems(form::Control control, const std::vector<std::string> &items)
{
    m_controls[slot(control)].items = items;
    m_controls[slot(control)].index = -1;
}

bool MemoryView::enabled(form::Control control) const
{
    return m_controls[slot(control)].enabled;
}

void MemoryView::setEnabled(form::Control control, bool enabled)
{
    m_controls[slot(control)].enabled = enabled;
}

word::Prompter &MemoryView::prompter()
{
    return m_prompter;
}

void MemoryView::post(std::function<void()> event)
{
    const std::lock_guard lock(m_postedLock);
    m_posted.push_back(std::move(event));
}

void MemoryView::runPosted()
{
    for (;;) {
        std::vector<std::function<void()>> events;
        {
            const std::lock_guard lock(m_postedLock);
            events.swap(m_posted);
        }
        if (events.empty()) {
            return;
        }
        for (auto &event : events) {
            event();
        }
    }
}

void MemoryView::endProgram(int)
{
    m_ended = true;
}

} // namespace oxt
