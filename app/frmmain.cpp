#include "frmmain.h"

#include "chords/marking.h"
#include "chords/nashville.h"
#include "clicklabel.h"
#include "edit/combinelines.h"
#include "hostchoice.h"
#include "music/keys.h"
#include "music/transpose.h"
#include "prefs/chordfont.h"
#include "prefs/preferences.h"
#include "prefs/sample.h"
#include "tonvale/version.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <stdexcept>

namespace app
{

namespace
{

std::string text(const QLineEdit *box)
{
    return box->text().toStdString();
}

} // namespace

frmMain::frmMain(word::Prompter &prompter, prefs::SettingsStore &store, QWidget *parent)
    : QWidget(parent)
    , m_prompter(prompter)
    , m_store(store)
    , m_programEnd([](int code) {
        QCoreApplication::exit(code);
    })
{
    createControls();
    setTabOrder();
    connectControls();
}

frmMain::~frmMain()
{
    // The host may outlive the window: it must not call back into it.
    if (WDapp) {
        WDapp->setQuitHandler(nullptr);
        WDapp->setEventPoster(nullptr);
    }
}

void frmMain::connectControls()
{
    const auto click = [this](QPushButton *button, void (frmMain::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            guarded([this, handler] {
                (this->*handler)();
            });
        });
    };
    click(Command1, &frmMain::Command1_Click);
    click(Command2, &frmMain::Command2_Click);
    click(Command6, &frmMain::Command6_Click);
    click(Command7, &frmMain::Command7_Click);
    click(Command8, &frmMain::Command8_Click);
    connect(Command3, &QPushButton::clicked, this, &QWidget::close);

    const std::string home = tonvale::homePage;
    const auto link = [this](auto *control, auto signal, std::string address) {
        connect(control, signal, this, [this, address] {
            guarded([this, &address] {
                followLink(address);
            });
        });
    };
    link(Image1, &ClickLabel::clicked, home);
    link(Label11, &ClickLabel::clicked, home);
    link(Command4, &QPushButton::clicked, home + "/transposer.shtml#help");
    link(Command5, &QPushButton::clicked, home + "/transposer.shtml");

    // A check box's click behaviour runs on every change of its value, made by the user or in code.
    for (QCheckBox *box : {Check1, Check2, Check7}) {
        connect(box, &QCheckBox::toggled, this, [this](bool ticked) {
            guarded([this, ticked] {
                styleBoxChanged(ticked);
            });
        });
    }
    connect(Check5, &QCheckBox::toggled, this, [this] {
        guarded([this] {
            Check5_Click();
        });
    });
    connect(Check6, &QCheckBox::toggled, this, [this] {
        guarded([this] {
            Check6_Click();
        });
    });
    for (QComboBox *list : {Combo1, Combo2}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            guarded([this] {
                UpdateSemiTones();
            });
        });
    }
}

bool frmMain::Form_Load(const HostKind &kind)
{
    WDapp = obtainHost(kind);
    if (!WDapp) {
        m_prompter.show(word::fatalMessage(kind.names));
        m_phase = Phase::Ended;
        m_exitCode = 1;
        return false;
    }
    // The host's Quit event reaches the window through its event loop, never inside a host call.
    WDapp->setEventPoster([this](std::function<void()> event) {
        QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
    });
    WDapp->setQuitHandler([this] {
        guarded([this] {
            WDapp_Quit();
        });
    });

    try {
        Label8->setText(QStringLiteral("Version: %1.%2.%3")
                            .arg(tonvale::versionMajor)
                            .arg(tonvale::versionMinor)
                            .arg(tonvale::versionRevision));
        Label9->setText(QStringLiteral("Released: ") + QString::fromUtf8(tonvale::released));
        Label10->setText(QString::fromUtf8(tonvale::comments));
        Label11->setText(QString::fromUtf8(tonvale::homePage));
        for (QComboBox *list : {Combo1, Combo2}) {
            // Filling selects nothing and recomputes nothing.
            const QSignalBlocker quiet(list);
            for (std::string_view key : music::keyList) {
                list->addItem(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
            }
            list->setCurrentIndex(-1);
        }
        restorePreferences();
    } catch (const std::exception &error) {
        reportUntrapped(error.what());
        return false;
    }
    m_phase = Phase::Running;
    return true;
}

void frmMain::restorePreferences()
{
    const prefs::Restore restore = prefs::RestorePreferences(m_store);
    if (restore.red) {
        Text1->setText(QString::fromStdString(*restore.red));
    }
    if (restore.green) {
        Text2->setText(QString::fromStdString(*restore.green));
    }
    if (restore.blue) {
        Text3->setText(QString::fromStdString(*restore.blue));
    }
    if (restore.useColor) {
        setCheck(Check3, 1);
    }
    if (restore.useStyle) {
        setCheck(Check4, 1);
    }
    if (restore.bold) {
        setCheck(Check1, 1);
    }
    if (restore.italic) {
        setCheck(Check2, 1);
    }
    if (restore.underline) {
        setCheck(Check7, 1);
    }
    (restore.useSharps ? Option1 : Option2)->setChecked(true);
}

const std::shared_ptr<word::Application> &frmMain::host() const
{
    return WDapp;
}

int frmMain::exitCode() const
{
    return m_exitCode;
}

void frmMain::setProgramEnd(std::function<void(int)> end)
{
    m_programEnd = std::move(end);
}

int frmMain::value(const QCheckBox *box) const
{
    return box->isChecked() ? 1 : 0;
}

word::ChordFont frmMain::chordFont() const
{
    word::ChordFont font;
    font.useColor = value(Check3) == 1;
    font.useStyle = value(Check4) == 1;
    font.bold = value(Check1) == 1;
    font.italic = value(Check2) == 1;
    font.underline = value(Check7) == 1;
    font.lColor = lColor;
    return font;
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

void frmMain::setCheck(QCheckBox *box, int value)
{
    box->setChecked(value == 1); // toggled, and with it the click behaviour, only on a change
}

void frmMain::setListIndex(QComboBox *list, int index)
{
    if (list->currentIndex() == index) {
        UpdateSemiTones(); // setting the index runs the click behaviour even when it stays the same
    } else {
        list->setCurrentIndex(index);
    }
}

void frmMain::UpdateSemiTones()
{
    const auto current = static_cast<int16_t>(Combo1->currentIndex());
    const auto target = static_cast<int16_t>(Combo2->currentIndex());
    Text4->setText(QString::fromStdString(music::UpdateSemiTones(current, target)));
}

void frmMain::styleBoxChanged(bool ticked)
{
    const int now = ticked ? 1 : 0;
    setCheck(Check4, prefs::interlockUseStyle(1 - now, now, value(Check4)));
}

void frmMain::Check5_Click()
{
    if (value(Check5) == 1) {
        setCheck(Check6, 0);
        Combo1->setEnabled(false);
        setListIndex(Combo1, 0);
        Combo2->setEnabled(true);
    } else {
        Combo1->setEnabled(true);
    }
}

void frmMain::Check6_Click()
{
    if (value(Check6) == 1) {
        setCheck(Check5, 0);
        Combo2->setEnabled(false);
        setListIndex(Combo2, 0);
        Combo1->setEnabled(true);
    } else {
        Combo2->setEnabled(true);
    }
}

void frmMain::Command1_Click()
{
    const prefs::SampleResult sample = prefs::GetFontParameters(application(), m_prompter);
    if (sample.bold) {
        setCheck(Check1, *sample.bold);
    }
    if (sample.italic) {
        setCheck(Check2, *sample.italic);
    }
    if (sample.underline) {
        setCheck(Check7, *sample.underline);
    }
    if (sample.red) {
        Text1->setText(QString::fromStdString(*sample.red));
    }
    if (sample.green) {
        Text2->setText(QString::fromStdString(*sample.green));
    }
    if (sample.blue) {
        Text3->setText(QString::fromStdString(*sample.blue));
    }
}

void frmMain::Command2_Click()
{
    music::TransposeControls controls;
    controls.font = chordFont();
    controls.color = {text(Text1), text(Text2), text(Text3)};
    controls.nashvilleIn = value(Check5) == 1;
    controls.nashvilleOut = value(Check6) == 1;
    controls.currentKey = Combo1->currentIndex();
    controls.newKey = Combo2->currentIndex();
    controls.useSharps = Option1->isChecked();
    controls.semiTones = text(Text4);
    const music::TransposeResult result = music::Transpose(application(), m_prompter, controls);
    if (result.lColor) {
        lColor = *result.lColor;
    }
    if (result.bUseSharps) {
        bUseSharps = *result.bUseSharps;
    }
    if (result.newCurrentKey) {
        setListIndex(Combo1, *result.newCurrentKey);
    }
}

void frmMain::Command6_Click()
{
    FindChords();
}

void frmMain::Command7_Click()
{
    edit::CombineLines(application());
}

void frmMain::Command8_Click()
{
    prefs::PreferenceControls controls;
    controls.useStyle = value(Check4) == 1;
    controls.bold = value(Check1) == 1;
    controls.italic = value(Check2) == 1;
    controls.underline = value(Check7) == 1;
    controls.useColor = value(Check3) == 1;
    controls.red = text(Text1);
    controls.green = text(Text2);
    controls.blue = text(Text3);
    controls.useSharps = Option1->isChecked();
    prefs::SavePreferences(m_store, controls);
}

void frmMain::FindChords()
{
    if (const auto color =
            chords::FindChords(application(), m_prompter, {chordFont(), {text(Text1), text(Text2), text(Text3)}})) {
        lColor = *color;
    }
}

void frmMain::FindChord(const std::string &Exp)
{
    chords::FindChord(application(), chordFont(), Exp);
}

void frmMain::ReplaceChords(int32_t lDelta)
{
    const music::PassOptions options{value(Check5) == 1 ? music::Notation::Nashville : music::Notation::Letters,
                                     value(Check6) == 1 ? music::Notation::Nashville : music::Notation::Letters,
                                     bUseSharps ? music::Spelling::Sharps : music::Spelling::Flats};
    music::ReplaceChords(application(), m_prompter, chordFont(), options, lDelta);
}

void frmMain::ConvertNNStoA()
{
    chords::ConvertNNStoA(application(), chordFont());
}

std::string frmMain::SemiToneAdjust(int32_t BaseTone, int32_t Delta)
{
    if (auto tone = music::SemiToneAdjust(BaseTone, Delta)) {
        return *tone;
    }
    throw std::overflow_error("Overflow");
}

void frmMain::ReplaceText(const std::string &sFind, const std::string &sReplace, bool bWildcards)
{
    word::ReplaceText(application(), chordFont(), sFind, sReplace, bWildcards);
}

void frmMain::followLink(const std::string &address)
{
    try {
        application().activeDocument()->FollowHyperlink(address, true);
    } catch (...) {
        // Whatever went wrong (no document, host gone, no browser), the user gets the one message.
        m_prompter.show({"Cannot open " + address, "Tonvale", word::Icon::None, word::Buttons::Ok});
    }
}

void frmMain::WDapp_Quit()
{
    if (m_phase == Phase::Running) {
        close();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    // One close step per run: none before start-up, none while closing or after the end.
    if (m_phase != Phase::Running) {
        return;
    }
    m_phase = Phase::Closing;
    try {
        if (WDapp->DocumentsCount() == 0) {
            WDapp->Quit();
        }
    } catch (const std::exception &error) {
        reportUntrapped(error.what());
        return;
    } catch (...) {
        reportUntrapped("Unknown error");
        return;
    }
    m_phase = Phase::Ended;
    m_programEnd(0);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Typing in a key list selects nothing and so recomputes nothing; arrows still move the selection.
    if ((watched == Combo1 || watched == Combo2) && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty() && typed.at(0).isPrint()) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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
        m_prompter.show({description, "Tonvale", word::Icon::Critical, word::Buttons::Ok});
    } catch (...) {
        // Nothing more can be reported; the program ends all the same.
    }
    hide();
    m_programEnd(m_exitCode);
}

} // namespace app
