#include "windowfixture.h"

#include <QCoreApplication>
#include <QEvent>

word::Answer RecordingPrompter::show(const word::Message &message)
{
    messages.push_back(message);
    return message.buttons == word::Buttons::YesNoDefaultNo ? answer : word::Answer::Ok;
}

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

app::HostKind kindAttachingTo(std::shared_ptr<word::Application> host)
{
    app::HostKind kind;
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

WindowTest::WindowTest()
    : host(std::make_shared<word::builtin::Host>())
    , form(std::make_unique<app::frmMain>(prompter, store))
{
    form->setProgramEnd([this](int code) {
        programEnds.push_back(code);
    });
}

WindowTest::~WindowTest()
{
    form.reset();
    deliverPostedEvents(); // nothing the window posted may outlive the test
}

void WindowTest::load()
{
    ASSERT_TRUE(form->Form_Load(kindAttachingTo(host)));
}

void WindowTest::openSheet(const std::string &notation)
{
    host->open(word::builtin::fromNotation(notation), "sheet");
    host->setSelection(0, 0);
}

std::string WindowTest::sheet() const
{
    return word::builtin::toNotation(*host->activeText());
}

std::vector<std::string> WindowTest::shown() const
{
    std::vector<std::string> lines;
    for (const word::Message &message : prompter.messages) {
        lines.push_back(message.title + ": " + message.text);
    }
    return lines;
}

void WindowTest::deliverPostedEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCoreApplication::processEvents();
}
