// The extension in an office with its windows (on Xvfb): the Tonvale deck opens in Writer's sidebar
// with the window's controls, and a mouse click on its Transpose button transposes the song sheet.
// TONVALE_SCREENSHOT=file.png keeps a picture of the screen with the panel.

#include "extoffice.h"
#include "tests/uno/support/office.h"

#include <com/sun/star/accessibility/AccessibleRole.hpp>
#include <com/sun/star/accessibility/XAccessible.hpp>
#include <com/sun/star/accessibility/XAccessibleComponent.hpp>
#include <com/sun/star/accessibility/XAccessibleContext.hpp>
#include <com/sun/star/awt/Rectangle.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

namespace css = ::com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// Xvfb on a display of its own for this program.
class Screen : public ::testing::Environment
{
public:
    void SetUp() override
    {
        name = ":" + std::to_string(70 + getpid() % 200);
        pid = fork();
        if (pid == 0) {
            setpgid(0, 0);
            execlp("Xvfb",
                   "Xvfb",
                   name.c_str(),
                   "-screen",
                   "0",
                   "1280x800x24",
                   "-nolisten",
                   "tcp",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
        oxttest::showWindowsOn(name);
    }
    void TearDown() override
    {
        oxttest::stopOffice();
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        std::remove(("/tmp/.X" + name.substr(1) + "-lock").c_str());
        std::remove(("/tmp/.X11-unix/X" + name.substr(1)).c_str());
    }

    std::string name;
    pid_t pid = -1;
};

Screen *const screen = static_cast<Screen *>(::testing::AddGlobalTestEnvironment(new Screen));

std::string utf8(const rtl::OUString &text)
{
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

struct Found {
    std::set<std::string> names; ///< names of the push buttons and check boxes seen
    std::optional<css::awt::Rectangle> transpose; ///< the Transpose button on the screen
};

void walk(const Reference<css::accessibility::XAccessibleContext> &context, Found &found, int depth)
{
    if (!context.is() || depth > 40) {
        return;
    }
    const auto role = context->getAccessibleRole();
    if (role == css::accessibility::AccessibleRole::PUSH_BUTTON
        || role == css::accessibility::AccessibleRole::CHECK_BOX) {
        const std::string name = utf8(context->getAccessibleName());
        found.names.insert(name);
        Reference<css::accessibility::XAccessibleComponent> component(context, UNO_QUERY);
        if (name == "Transpose" && component.is()) {
            const auto at = component->getLocationOnScreen();
            const auto size = component->getSize();
            found.transpose = css::awt::Rectangle(at.X, at.Y, size.Width, size.Height);
        }
    }
    namespace role_ = css::accessibility::AccessibleRole;
    for (const auto skipped : {role_::DOCUMENT,
                               role_::DOCUMENT_TEXT,
                               role_::PARAGRAPH,
                               role_::MENU_BAR,
                               role_::TOOL_BAR,
                               role_::STATUS_BAR,
                               role_::SCROLL_BAR,
                               role_::RULER}) {
        if (role == skipped) {
            return; // the sheet and the office's own bars hold no control of the panel
        }
    }
    const sal_Int64 count = context->getAccessibleChildCount();
    for (sal_Int64 i = 0; i < count && i < 500; ++i) {
        const auto child = context->getAccessibleChild(static_cast<sal_Int32>(i));
        if (child.is()) {
            walk(child->getAccessibleContext(), found, depth + 1);
        }
    }
}

Found controlsOnScreen()
{
    const auto desktop = css::frame::Desktop::create(oxttest::officeContext());
    Reference<css::frame::XModel> model(desktop->getCurrentComponent(), UNO_QUERY_THROW);
    Reference<css::accessibility::XAccessible> window(model->getCurrentController()->getFrame()->getContainerWindow(),
                                                      UNO_QUERY_THROW);
    Found found;
    walk(window->getAccessibleContext(), found, 0);
    return found;
}

int run(const std::string &command)
{
    const std::string line = "DISPLAY=" + screen->name + " " + command;
    return std::system(line.c_str());
}

TEST(Panel, OpensAndItsTransposeButtonTransposes)
{
    auto &office = oxttest::office();
    office.closeAllDocuments();
    office.newDocument(unotest::runsFromNotation("{b|C}   {b|G/B}   {b|Am7}\nAmazing Grace how sweet the sound"));

    const auto opened = oxttest::dispatch("vnd.tonvale:open");
    ASSERT_TRUE(opened.ok) << opened.result;
    const auto set = oxttest::dispatch("vnd.tonvale:state?Check1=1&Combo1=C&Combo2=D&Option1=1");
    ASSERT_TRUE(set.ok) << set.result;
    EXPECT_EQ(set.value("view"), "panel");

    // The panel's controls are the frame's form now: settings made by a request show in them.
    Found found;
    for (int attempt = 0; attempt < 10 && !found.transpose; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        try {
            found = controlsOnScreen();
        } catch (const css::uno::Exception &) {
            // The sidebar is still being built: its accessible children change under the walk.
            found = {};
        }
    }
    for (const char *name : {"Transpose",
                             "Combine Lines",
                             "Get Font Parameters from Selected Text",
                             "Find and Mark Chords using Font Parameters",
                             "Save as Default Preferences",
                             "Help",
                             "About",
                             "Bold",
                             "Italics",
                             "Underline",
                             "Use Font Style:",
                             "Use Font Color:"}) {
        EXPECT_TRUE(found.names.count(name)) << name;
    }
    ASSERT_TRUE(found.transpose) << "no Transpose button on the screen";

    const auto &r = *found.transpose;
    ASSERT_EQ(run("xdotool mousemove " + std::to_string(r.X + r.Width / 2) + " " + std::to_string(r.Y + r.Height / 2)
                  + " click 1"),
              0);
    std::string after;
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        after = unotest::notationOf(office.documentRuns());
        if (after.rfind("{b|D}", 0) == 0) {
            break;
        }
    }
    EXPECT_EQ(after, "{b|D}   {b|A/C#}   {b|Bm7}\nAmazing Grace how sweet the sound");
    if (const char *picture = std::getenv("TONVALE_SCREENSHOT")) {
        std::this_thread::sleep_for(std::chrono::seconds(2)); // the office redraws the sidebar
        run(std::string("import -window root ") + picture);
    }
}

} // namespace
