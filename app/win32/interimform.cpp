#include "interimform.h"

#include "chords/marking.h"
#include "edit/combinelines.h"
#include "music/keys.h"
#include "music/transpose.h"
#include "prefs/chordfont.h"
#include "prefs/sample.h"
#include "tonvale/version.h"
#include "word/com/host.h"

#include <stdexcept>

namespace winui
{

using form::Control;

InterimForm::InterimForm(form::View &view, prefs::SettingsStore &store)
    : m_view(view)
    , m_store(store)
{
}

InterimForm::~InterimForm()
{
    if (WDapp) {
        WDapp->setQuitHandler(nullptr);
        WDapp->setEventPoster(nullptr);
    }
}

bool InterimForm::Form_Load()
{
    try {
        WDapp = word::com::Host::connect();
    } catch (...) {
        m_view.prompter().show(word::fatalMessage({"Microsoft Word", "Word"}));
        m_exitCode = 1;
        m_phase = Phase::Ended;
        return false;
    }
    WDapp->setEventPoster([this](std::function<void()> event) {
        m_view.post(std::move(event));
    });
    WDapp->setQuitHandler([this] {
        if (m_phase == Phase::Running) {
            close();
        }
    });
    m_view.setText(Control::Label8,
                   "Version: " + std::to_string(tonvale::versionMajor) + "." + std::to_string(tonvale::versionMinor)
                       + "." + std::to_string(tonvale::versionRevision));
    m_view.setText(Control::Label9, std::string("Released: ") + tonvale::released);
    m_view.setText(Control::Label10, tonvale::comments);
    m_view.setText(Control::Label11, tonvale::homePage);
    const std::vector<std::string> keys(music::keyList.begin(), music::keyList.end());
    m_view.setListItems(Control::Combo1, keys);
    m_view.setListItems(Control::Combo2, keys);
    const prefs::Restore restore = prefs::RestorePreferences(m_store);
    if (restore.red) {
        m_view.setText(Control::Text1, *restore.red);
    }
    if (restore.green) {
        m_view.setText(Control::Text2, *restore.green);
    }
    if (restore.blue) {
        m_view.setText(Control::Text3, *restore.blue);
    }
    if (restore.useColor) {
        setCheck(Control::Check3, 1);
    }
    if (restore.useStyle) {
        setCheck(Control::Check4, 1);
    }
    if (restore.bold) {
        setCheck(Control::Check1, 1);
    }
    if (restore.italic) {
        setCheck(Control::Check2, 1);
    }
    if (restore.underline) {
        setCheck(Control::Check7, 1);
    }
    m_view.setValue(restore.useSharps ? Control::Option1 : Control::Option2, 1);
    m_phase = Phase::Running;
    return true;
}

void InterimForm::setCheck(Control box, int value)
{
    if (m_view.value(box) != value) {
        m_view.setValue(box, value);
        clicked(box);
    }
}

void InterimForm::setListIndex(Control list, int index)
{
    m_view.setListIndex(list, index);
    clicked(list);
}

void InterimForm::click(Control control)
{
    guarded([this, control] {
        clicked(control);
    });
}

word::ChordFont InterimForm::chordFont() const
{
    word::ChordFont font;
    font.useColor = m_view.value(Control::Check3) == 1;
    font.useStyle = m_view.value(Control::Check4) == 1;
    font.bold = m_view.value(Control::Check1) == 1;
    font.italic = m_view.value(Control::Check2) == 1;
    font.underline = m_view.value(Control::Check7) == 1;
    font.lColor = lColor;
    return font;
}

void InterimForm::nashville(Control mine, Control other, Control myList, Control otherList)
{
    if (m_view.value(mine) == 1) {
        setCheck(other, 0);
        m_view.setEnabled(myList, false);
        setListIndex(myList, 0);
        m_view.setEnabled(otherList, true);
    } else {
        m_view.setEnabled(myList, true);
    }
}

void InterimForm::clicked(Control control)
{
    const std::string home = tonvale::homePage;
    switch (control) {
    case Control::Check1:
    case Control::Check2:
    case Control::Check7: {
        const int now = m_view.value(control);
        setCheck(Control::Check4, prefs::interlockUseStyle(1 - now, now, m_view.value(Control::Check4)));
        break;
    }
    case Control::Check5:
        nashville(Control::Check5, Control::Check6, Control::Combo1, Control::Combo2);
        break;
    case Control::Check6:
        nashville(Control::Check6, Control::Check5, Control::Combo2, Control::Combo1);
        break;
    case Control::Combo1:
    case Control::Combo2:
        m_view.setText(Control::Text4,
                       music::UpdateSemiTones(static_cast<int16_t>(m_view.listIndex(Control::Combo1)),
                                              static_cast<int16_t>(m_view.listIndex(Control::Combo2))));
        break;
    case Control::Command1: {
        const prefs::SampleResult sample = prefs::GetFontParameters(*WDapp, m_view.prompter());
        if (sample.bold) {
            setCheck(Control::Check1, *sample.bold);
        }
        if (sample.italic) {
            setCheck(Control::Check2, *sample.italic);
        }
        if (sample.underline) {
            setCheck(Control::Check7, *sample.underline);
        }
        if (sample.red) {
            m_view.setText(Control::Text1, *sample.red);
        }
        if (sample.green) {
            m_view.setText(Control::Text2, *sample.green);
        }
        if (sample.blue) {
            m_view.setText(Control::Text3, *sample.blue);
        }
        break;
    }
    case Control::Command2: {
        music::TransposeControls controls;
        controls.font = chordFont();
        controls.color = {m_view.text(Control::Text1), m_view.text(Control::Text2), m_view.text(Control::Text3)};
        controls.nashvilleIn = m_view.value(Control::Check5) == 1;
        controls.nashvilleOut = m_view.value(Control::Check6) == 1;
        controls.currentKey = m_view.listIndex(Control::Combo1);
        controls.newKey = m_view.listIndex(Control::Combo2);
        controls.useSharps = m_view.value(Control::Option1) == 1;
        controls.semiTones = m_view.text(Control::Text4);
        const music::TransposeResult result = music::Transpose(*WDapp, m_view.prompter(), controls);
        if (result.lColor) {
            lColor = *result.lColor;
        }
        if (result.bUseSharps) {
            bUseSharps = *result.bUseSharps;
        }
        if (result.newCurrentKey) {
            setListIndex(Control::Combo1, *result.newCurrentKey);
        }
        break;
    }
    case Control::Command3:
        close();
        break;
    case Control::Command4:
        followLink(home + "/transposer.shtml#help");
        break;
    case Control::Command5:
        followLink(home + "/transposer.shtml");
        break;
    case Control::Image1:
    case Control::Label11:
        followLink(home);
        break;
    case Control::Command6:
        if (const auto color = chords::FindChords(
                *WDapp,
                m_view.prompter(),
                {chordFont(),
                 {m_view.text(Control::Text1), m_view.text(Control::Text2), m_view.text(Control::Text3)}})) {
            lColor = *color;
        }
        break;
    case Control::Command7:
        edit::CombineLines(*WDapp);
        break;
    case Control::Command8: {
        prefs::PreferenceControls controls;
        controls.useStyle = m_view.value(Control::Check4) == 1;
        controls.bold = m_view.value(Control::Check1) == 1;
        controls.italic = m_view.value(Control::Check2) == 1;
        controls.underline = m_view.value(Control::Check7) == 1;
        controls.useColor = m_view.value(Control::Check3) == 1;
        controls.red = m_view.text(Control::Text1);
        controls.green = m_view.text(Control::Text2);
        controls.blue = m_view.text(Control::Text3);
        controls.useSharps = m_view.value(Control::Option1) == 1;
        prefs::SavePreferences(m_store, controls);
        break;
    }
    default:
        break;
    }
}

void InterimForm::followLink(const std::string &address)
{
    try {
        WDapp->activeDocument()->FollowHyperlink(address, true);
    } catch (...) {
        m_view.prompter().show({"Cannot open " + address, "Tonvale", word::Icon::None, word::Buttons::Ok});
    }
}

void InterimForm::close()
{
    if (m_phase != Phase::Running) {
        return;
    }
    m_phase = Phase::Closing;
    guarded([this] {
        if (WDapp->DocumentsCount() == 0) {
            WDapp->Quit();
        }
    });
    if (m_phase == Phase::Closing) {
        m_phase = Phase::Ended;
        m_view.endProgram(0);
    }
}

void InterimForm::guarded(const std::function<void()> &handler)
{
    if (m_phase == Phase::Ended) {
        return;
    }
    try {
        handler();
    } catch (const std::exception &error) {
        m_phase = Phase::Ended;
        m_exitCode = 1;
        m_view.prompter().show({error.what(), "Tonvale", word::Icon::Critical, word::Buttons::Ok});
        m_view.endProgram(1);
    }
}

} // namespace winui
