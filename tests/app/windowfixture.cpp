#include "windowfixture.h"

#include <QCoreApplication>
#include <QEvent>

WindowTest::WindowTest()
    : host(std::make_shared<word::builtin::Host>())
    , window(std::make_unique<app::frmMain>(prompter, store))
{
    window->setProgramEnd([this](int code) {
        programEnds.push_back(code);
    });
}

WindowTest::~WindowTest()
{
    window.reset();
    deliverPostedEvents(); // nothing the window posted may outlive the test
}

void WindowTest::load()
{
    ASSERT_TRUE(window->logic().Form_Load(testsupport::kindAttachingTo(host)));
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

void WindowTest::deliverPostedEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCoreApplication::processEvents();
}
