#include "frmmain.h"

#include "chords/marking.h"
#include "edit/combinelines.h"
#include "music/keys.h"
#include "music/transpose.h"
#include "prefs/chordfont.h"
#include "prefs/preferences.h"
#include "prefs/sample.h"
#include "tonvale/version.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace form
{

frmMain::frmMain(View &view, prefs::SettingsStore &store)
    : m_view(view)
    , m_store(store)
    , m_alive(std::make_shared<frmMain *>(this))
{
}

frmMain::~frmMain()
{
    // The host may outlive the form: it must not call back into it.
    if (WDapp) {
        WDapp->setQuitHandler(nullptr);
        WDapp->setEventPoster(nullptr);
    }
}

void frmMain::setStartFailureMessage(StartFailureMessage message)
{
    m_startFailureMessage = std::move(message);
}

bool frmMain::Form_Load(const HostKind &kind)
{
    std::exception_ptr startFailure;
    WDapp = obtainHost(kind, &startFailure);
    if (!WDapp) {
        std::optional<word::Message> message;
        if (startFailure && m_startFailureMessage) {
            try {
                message = m_startFailureMessage(startFailure);
            } catch (...) {
                // No message of its own, then: the fatal one below.
            }
        }
        m_view.prompter().show(message ? *message : word::fatalMessage(kind.names));
        m_phase = Phase::Ended;
        m_exitCode = 1;
        return false;
    }
    // The host's Quit event reaches the form through the window's event loop, never inside a host call,
    // and not at all once the form is gone.
    WDapp->setEventPoster([view = &m_view, alive = std::weak_ptr<frmMain *>(m_alive)](std::function<void()> event) {
        view->post([alive, event = std::move(event)] {
            if (alive.lock()) {
                event();
            }
        });
    });
    WDapp->setQuitHandler([this] {
        guarded([this] {
            WDapp_Quit();
        });
    });

    try {
        m_view.setText(Control::Label8,
                       "Version: " + std::to_string(tonvale::versionMajor) + "." + std::to_string(tonvale::versionMinor)
                           + "." + std::to_string(tonvale::versionRevision));
        m_view.setText(Control::Label9, std::string("Released: ") + tonvale::released);
        m_view.setText(Control::Label10, tonvale::comments);
        m_view.setText(Control::Label11, tonvale::homePage);
        // Filling selects nothing and so recomputes nothing.
        const std::vector<std::string> keys(music::keyList.begin(), music::keyList.end());
        m_view.setListItems(Control::Combo1, keys);
        m_view.setListItems(Control::Combo2, keys);
        restorePreferences();
    } catch (const std::exception &error) {
        reportUntrapped(error.what());
        return false;
    } catch (...) {
        reportUntrapped("Unknown error");
        return false;
    }
    m_phase = Phase::Running;
    return true;
}

void frmMain::restorePreferences()
{
    const prefs::Restore restore = prefs::RestorePreferences(m_store);
    setColorTexts(restore.red, restore.green, restore.blue);
    for (const auto &[box, set] : {std::pair{Control::Check3, restore.useColor},
                                   {Control::Check4, restore.useStyle},
                                   {Control::Check1, restore.bold},
                                   {Control::Check2, restore.italic},
                                   {Control::Check7, restore.underline}}) {
        if (set) {
            setCheck(box, 1);
        }
    }
    selectOption(restore.useSharps ? Control::Option1 : Control::Option2);
    if (restore.keepColumns) {
        setCheck(Control::Check8, 1);
    }
    if (const auto unreadable = prefs::unreadableStoreMessage(m_store)) {
        m_view.prompter().show(*unreadable);
    }
}

void frmMain::click(Control control)
{
    if (control == Control::Command3) {
        closeRequested(); // Exit asks for the close exactly as the close box does
        return;
    }
    guarded([this, control] {
        runClick(control);
    });
}

void frmMain::runClick(Control control)
{
    const std::string home = tonvale::homePage;
    switch (control) {
    case Control::Command1:
        Command1_Click();
        break;
    case Control::Command2:
        Command2_Click();
        break;
    case Control::Command3:
        closeRequested();
        break;
    case Control::Command4:
        followLink(home + "/transposer.shtml#help");
        break;
    case Control::Command5:
        followLink(home + "/transposer.shtml");
        break;
    case Control::Command6:
        Command6_Click();
        break;
    case Control::Command7:
        Command7_Click();
        break;
    case Control::Command8:
        Command8_Click();
        break;
    case Control::Image1:
    case Control::Label11:
        followLink(home);
        break;
    case Control::Check1:
    case Control::Check2:
    case Control::Check7:
        styleBoxClick(control);
        break;
    case Control::Check5:
        Check5_Click();
        break;
    case Control::Check6:
        Check6_Click();
        break;
    case Control::Combo1:
    case Control::Combo2:
        UpdateSemiTones();
        break;
    default:
        break; // no behaviour of its own: the commands read it when they run
    }
}

void frmMain::setValue(Control control, int value)
{
    guarded([this, control, value] {
        if (spec(control).kind == Kind::OptionButton) {
            if (value == 1) {
                selectOption(control);
            }
        } else {
            setCheck(control, value);
        }
    });
}

void frmMain::setListIndex(Control control, int index)
{
    guarded([this, control, index] {
        chooseListIndex(control, index);
    });
}

void frmMain::setCheck(Control box, int value)
{
    if (m_view.value(box) == value) {
        return; // the click behaviour runs only on a change
    }
    m_view.setValue(box, value);
    runClick(box);
}

void frmMain::setColorTexts(const std::optional<std::string> &red,
                            const std::optional<std::string> &green,
                            const std::optional<std::string> &blue)
{
    for (const auto &[box, value] :
         {std::pair{Control::Text1, &red}, {Control::Text2, &green}, {Control::Text3, &blue}}) {
        if (*value) {
            m_view.setText(box, **value);
        }
    }
}

void frmMain::chooseListIndex(Control list, int index)
{
    m_view.setListIndex(list, index);
    runClick(list); // also when the index stays the same
}

void frmMain::selectOption(Control option)
{
    // Selected first, so that a toolkit that keeps one option of a group selected never sees none.
    m_view.setValue(option, 1);
    m_view.setValue(option == Control::Option1 ? Control::Option2 : Control::Option1, 0);
}

const std::shared_ptr<word::Application> &frmMain::host() const
{
    return WDapp;
}

int frmMain::exitCode() const
{
    return m_exitCode;
}

int frmMain::value(Control control) const
{
    return m_view.value(control);
}

bool frmMain::ticked(Control control) const
{
    return m_view.value(control) == 1; // a check box counts as set only when it is exactly 1
}

std::string frmMain::text(Control control) const
{
    return m_view.text(control);
}

word::ChordFont frmMain::chordFont() const
{
    word::ChordFont font;
    font.useColor = ticked(Control::Check3);
    font.useStyle = ticked(Control::Check4);
    font.bold = ticked(Control::Check1);
    font.italic = ticked(Control::Check2);
    font.underline = ticked(Control::Check7);
    font.lColor = lColor;
    return font;
}

prefs::ColorBoxes frmMain::colorBoxes() const
{
    return {text(Control::Text1), text(Control::Text2), text(Control::Text3)};
}

int32_t frmMain::chordColor() const
{
    return lColor;
}

bool frmMain::useSharps() const
{
    return bUseSharps;
}

word::Application &frmMain::application()
{
    if (!WDapp) {
        throw std::logic_error("No word processor is connected.");
    }
    return *WDapp;
}

void frmMain::UpdateSemiTones()
{
    const auto current = static_cast<int16_t>(m_view.listIndex(Control::Combo1));
    const auto target = static_cast<int16_t>(m_view.listIndex(Control::Combo2));
    m_view.setText(Control::Text4, music::UpdateSemiTones(current, target));
}

void frmMain::styleBoxClick(Control box)
{
    const int now = value(box);
    setCheck(Control::Check4, prefs::interlockUseStyle(1 - now, now, value(Control::Check4)));
}

void frmMain::Check5_Click()
{
    nashvilleClick(Control::Check5, Control::Combo1, Control::Check6, Control::Combo2);
}

void frmMain::Check6_Click()
{
    nashvilleClick(Control::Check6, Control::Combo2, Control::Check5, Control::Combo1);
}

void frmMain::nashvilleClick(Control box, Control list, Control otherBox, Control otherList)
{
    if (ticked(box)) {
        setCheck(otherBox, 0);
        m_view.setEnabled(list, false);
        chooseListIndex(list, 0);
        m_view.setEnabled(otherList, true);
    } else {
        m_view.setEnabled(list, true);
    }
}

void frmMain::Command1_Click()
{
    const prefs::SampleResult sample = prefs::GetFontParameters(application(), m_view.prompter());
    for (const auto &[box, value] : {std::pair{Control::Check1, sample.bold},
                                     {Control::Check2, sample.italic},
                                     {Control::Check7, sample.underline}}) {
        if (value) {
            setCheck(box, *value);
        }
    }
    setColorTexts(sample.red, sample.green, sample.blue);
}

void frmMain::Command2_Click()
{
    const music::TransposeResult result = music::Transpose(application(),
                                                           m_view.prompter(),
                                                           {.font = chordFont(),
                                                            .color = colorBoxes(),
                                                            .nashvilleIn = ticked(Control::Check5),
                                                            .nashvilleOut = ticked(Control::Check6),
                                                            .currentKey = m_view.listIndex(Control::Combo1),
                                                            .newKey = m_view.listIndex(Control::Combo2),
                                                            .useSharps = ticked(Control::Option1),
                                                            .semiTones = text(Control::Text4),
                                                            .keepColumns = ticked(Control::Check8)});
    if (result.lColor) {
        lColor = *result.lColor;
    }
    if (result.bUseSharps) {
        bUseSharps = *result.bUseSharps;
    }
    if (result.newCurrentKey) {
        chooseListIndex(Control::Combo1, *result.newCurrentKey);
    }
}

void frmMain::Command6_Click()
{
    if (const auto color = chords::FindChords(application(), m_view.prompter(), {chordFont(), colorBoxes()})) {
        lColor = *color;
    }
}

void frmMain::Command7_Click()
{
    edit::CombineLines(application());
}

void frmMain::Command8_Click()
{
    const prefs::ColorBoxes color = colorBoxes();
    const prefs::PreferenceControls controls{.useStyle = ticked(Control::Check4),
                                             .bold = ticked(Control::Check1),
                                             .italic = ticked(Control::Check2),
                                             .underline = ticked(Control::Check7),
                                             .useColor = ticked(Control::Check3),
                                             .red = color.red,
                                             .green = color.green,
                                             .blue = color.blue,
                                             .useSharps = ticked(Control::Option1),
                                             .keepColumns = ticked(Control::Check8)};
    if (const auto problem = prefs::SavePreferences(m_store, controls)) {
        m_view.prompter().show(*problem); // the program goes on; the user can save again
    }
}

void frmMain::followLink(const std::string &address)
{
    try {
        application().activeDocument()->FollowHyperlink(address, true);
    } catch (...) {
        // Whatever went wrong (no document, host gone, no browser), the user gets the one message.
        m_view.prompter().show({"Cannot open " + address, "Tonvale", word::Icon::None, word::Buttons::Ok});
    }
}

void frmMain::WDapp_Quit()
{
    closeRequested();
}

bool frmMain::closeRequested()
{
    // One close step per run: none before start-up, none while closing or after the end.
    if (m_phase != Phase::Running) {
        return true;
    }
    if (m_mayEnd && !m_mayEnd()) {
        return false;
    }
    m_phase = Phase::Closing;
    try {
        if (WDapp->DocumentsCount() == 0) {
            WDapp->Quit();
        }
    } catch (const std::exception &error) {
        reportUntrapped(error.what());
        return true;
    } catch (...) {
        reportUntrapped("Unknown error");
        return true;
    }
    m_phase = Phase::Ended;
    m_view.endProgram(0);
    return true;
}

void frmMain::setEndGuard(std::function<bool()> mayEnd)
{
    m_mayEnd = std::move(mayEnd);
}

void frmMain::guarded(const std::function<void()> &handler)
{
    if (m_phase == Phase::Ended) {
        return;
    }
    try {
        handler();
    } catch (const std::exception &error) {
        reportUntrapped(error.what());
    } catch (...) {
        reportUntrapped("Unknown error");
    }
}

void frmMain::reportUntrapped(const std::string &description)
{
    if (m_phase == Phase::Ended) {
        return;
    }
    m_phase = Phase::Ended;
    m_exitCode = 1;
    try {
        m_view.prompter().show({description, "Tonvale", word::Icon::Critical, word::Buttons::Ok});
    } catch (...) {
        // Nothing more can be reported; the program ends all the same.
    }
    m_view.endProgram(m_exitCode);
}

} // namespace form
