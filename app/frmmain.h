#pragma once

// The main window in Qt: a thin view over the form class. It builds its widgets from the control
// table, forwards the user's clicks and the close request to the form, and lets the form read and
// write the controls; messages go through a word::Prompter.

#include "form/frmmain.h"
#include "form/view.h"

#include <QWidget>

#include <array>
#include <functional>

namespace prefs
{
class SettingsStore;
} // namespace prefs

namespace app
{

class frmMain : public QWidget, public form::View
{
    Q_OBJECT
public:
    /// The window with its controls in their initial state; nothing is connected to a host yet.
    /// prompter and store must outlive the window.
    frmMain(word::Prompter &prompter, prefs::SettingsStore &store, QWidget *parent = nullptr);
    ~frmMain() override;

    /// The window's behaviour: start-up (Form_Load), the host, the exit code.
    form::frmMain &logic();
    /// How the program is ended (QCoreApplication::exit by default); tests record the call instead.
    void setProgramEnd(std::function<void(int)> end);
    /// The widget of a control (its objectName is the control's name).
    QWidget *widget(form::Control control) const;

    int value(form::Control control) const override;
    void setValue(form::Control control, int value) override;
    std::string text(form::Control control) const override;
    void setText(form::Control control, const std::string &text) override;
    int listIndex(form::Control control) const override;
    void setListIndex(form::Control control, int index) override;
    void setListItems(form::Control control, const std::vector<std::string> &items) override;
    bool enabled(form::Control control) const override;
    void setEnabled(form::Control control, bool enabled) override;
    word::Prompter &prompter() override;
    void post(std::function<void()> event) override;
    void endProgram(int exitCode) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createControl(const form::ControlSpec &spec, double dpi);
    void fitCaptions();
    void connectControl(const form::ControlSpec &spec);

    word::Prompter &m_prompter;
    std::function<void(int)> m_programEnd;
    std::array<QWidget *, form::controlCount> m_controls{};
    form::frmMain m_form; // last: it goes before the widgets it reads
};

} // namespace app
