#pragma once

// FIXME: stands in for the toolkit-free form class until it is merged; the same behaviour over form::View.

#include "form/view.h"
#include "prefs/preferences.h"
#include "word/automation.h"
#include "word/replacetext.h"

#include <memory>

namespace winui
{

class InterimForm
{
public:
    InterimForm(form::View &view, prefs::SettingsStore &store);
    ~InterimForm();
    bool Form_Load();
    void click(form::Control control);
    void close();
    int exitCode() const
    {
        return m_exitCode;
    }

private:
    void setCheck(form::Control box, int value);
    void setListIndex(form::Control list, int index);
    void clicked(form::Control control);
    void nashville(form::Control mine, form::Control other, form::Control myList, form::Control otherList);
    void followLink(const std::string &address);
    word::ChordFont chordFont() const;
    void guarded(const std::function<void()> &handler);

    form::View &m_view;
    prefs::SettingsStore &m_store;
    std::shared_ptr<word::Application> WDapp;
    enum class Phase { Created, Running, Closing, Ended };
    Phase m_phase = Phase::Created;
    int m_exitCode = 0;
    int32_t lColor = 0;
    bool bUseSharps = false;
};

} // namespace winui
