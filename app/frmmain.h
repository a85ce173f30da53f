#pragma once

// The main window: the chord font parameters, the two key lists, the commands and the links.
// The window stays thin: a handler reads its controls, calls the command's library once and
// applies what comes back; messages go through a word::Prompter.

#include "word/automation.h"
#include "word/messages.h"
#include "word/replacetext.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace prefs
{
class SettingsStore;
}

namespace app
{

class ClickLabel;
struct HostKind;

/// Twips (1/1440 inch) to pixels: 15 twips a pixel at 96 dpi, scaled by the screen's logical dpi.
int twipsToPixels(int twips, double logicalDpi);

class frmMain : public QWidget
{
    Q_OBJECT
public:
    /// The window with its controls in their initial state; nothing is connected to a host yet.
    /// prompter and store must outlive the window.
    frmMain(word::Prompter &prompter, prefs::SettingsStore &store, QWidget *parent = nullptr);
    ~frmMain() override;

    /// The start-up before the window is first shown: obtain the host (attach, else start; both
    /// failing shows the fatal message), set the information labels, fill the key lists, restore the
    /// preferences. Returns false when the program must end instead of showing the window (exitCode()
    /// then says how).
    bool Form_Load(const HostKind &kind);

    /// The host held for the whole run (WDapp); null before start-up.
    const std::shared_ptr<word::Application> &host() const;
    /// The exit code the program ends with: 0 after a normal close, 1 after an error report or a
    /// failed start-up.
    int exitCode() const;
    /// How the program is ended (QCoreApplication::exit by default); tests record the call instead.
    void setProgramEnd(std::function<void(int)> end);

    /// The chord font as the check boxes hold it now, with lColor.
    word::ChordFont chordFont() const;
    /// The chord colour of the last Transpose or chord marking (0 at first).
    int32_t chordColor() const;
    /// The sharps flag of the last Transpose (false at first).
    bool useSharps() const;

    // The commands' logic under the names the rest of the system knows them by.
    void ReplaceChords(int32_t lDelta);
    void ConvertNNStoA();
    void FindChords();
    void FindChord(const std::string &Exp);
    std::string SemiToneAdjust(int32_t BaseTone, int32_t Delta);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void fitCaptions();
    void setTabOrder();
    void connectControls();

    // Event handlers.
    void Command1_Click();
    void Command2_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Check5_Click();
    void Check6_Click();
    void styleBoxChanged(bool ticked);
    void WDapp_Quit();
    void followLink(const std::string &address);

    void UpdateSemiTones();
    void ReplaceText(const std::string &sFind, const std::string &sReplace, bool bWildcards);

    // A change made in code behaves like the user's: a check box runs its click behaviour when its
    // value changes, a key list runs its click behaviour whenever its index is set.
    void setCheck(QCheckBox *box, int value);
    void setListIndex(QComboBox *list, int index);

    void restorePreferences();
    word::Application &application();
    int value(const QCheckBox *box) const;
    /// Runs handler; an exception escaping it is reported and ends the program.
    void guarded(const std::function<void()> &handler);
    void reportUntrapped(const std::string &description);

    word::Prompter &m_prompter;
    prefs::SettingsStore &m_store;
    std::shared_ptr<word::Application> WDapp;
    std::function<void(int)> m_programEnd;

    enum class Phase {
        Created, ///< controls exist, no start-up yet
        Running, ///< start-up done
        Closing, ///< the close step runs
        Ended, ///< closed, or ended by an error report
    };
    Phase m_phase = Phase::Created;
    int m_exitCode = 0;

    int32_t lColor = 0;
    bool bUseSharps = false;

public:
    // The controls by their names (also their objectName).
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    ClickLabel *Label11 = nullptr;
    ClickLabel *Image1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;
    QCheckBox *Check5 = nullptr;
    QCheckBox *Check6 = nullptr;
    QCheckBox *Check7 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QComboBox *Combo1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
};

} // namespace app
