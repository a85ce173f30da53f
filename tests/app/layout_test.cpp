// The window's fixed layout at 96 dpi: names, captions, places in twips, containers, tab order, first state.

#include "app/clicklabel.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace
{

struct ControlRow {
    const char *name;
    const char *container;
    const char *caption;
    int left, top, width, height; // twips
};

const ControlRow controls[] = {
    {"Frame1", "frmMain", "Chord Font Parameter Discriminators", 120, 120, 4455, 2895},
    {"Label4", "frmMain", "Chord Accidentals:", 240, 3120, 1575, 255},
    {"Option1", "frmMain", "Use Sharps", 1920, 3120, 1335, 255},
    {"Option2", "frmMain", "Use Flats", 3360, 3120, 1095, 255},
    {"Label5", "frmMain", "Current Key", 240, 3480, 1575, 255},
    {"Label6", "frmMain", "New Key", 2040, 3480, 1575, 255},
    {"Label7", "frmMain", "Semi Tones", 3720, 3480, 855, 255},
    {"Combo1", "frmMain", "", 240, 3720, 1575, 315},
    {"Combo2", "frmMain", "", 2040, 3720, 1575, 315},
    {"Text4", "frmMain", "", 3720, 3720, 855, 285},
    {"Check5", "frmMain", "Nashville Numbers", 240, 4080, 2055, 255},
    {"Check6", "frmMain", "Nashville Numbers", 2040, 4080, 1935, 255},
    {"Command2", "frmMain", "Transpose", 720, 4440, 1575, 375},
    {"Command3", "frmMain", "Exit", 2520, 4440, 1575, 375},
    {"Image1", "frmMain", "", 240, 5040, 4200, 540},
    {"Command4", "frmMain", "Help", 3000, 5880, 1575, 375},
    {"Label8", "frmMain", "", 120, 6000, 2535, 255},
    {"Label9", "frmMain", "", 120, 6240, 2535, 375},
    {"Command5", "frmMain", "About", 3000, 6360, 1575, 375},
    {"Label10", "frmMain", "", 120, 6480, 2535, 255},
    {"Label11", "frmMain", "", 120, 6720, 2535, 375},
    {"Command7", "frmMain", "Combine Lines", 3000, 6840, 1575, 375},
    {"Label1", "Frame1", "Red", 2160, 360, 495, 255},
    {"Label2", "Frame1", "Green", 2760, 360, 495, 255},
    {"Label3", "Frame1", "Blue", 3360, 360, 615, 255},
    {"Check3", "Frame1", "Use Font Color:", 240, 600, 1695, 255},
    {"Text1", "Frame1", "", 2160, 600, 495, 285},
    {"Text2", "Frame1", "", 2760, 600, 495, 285},
    {"Text3", "Frame1", "", 3360, 600, 495, 285},
    {"Check4", "Frame1", "Use Font Style:", 240, 1080, 1455, 255},
    {"Check1", "Frame1", "Bold", 1800, 1080, 735, 255},
    {"Check2", "Frame1", "Italics", 2520, 1080, 735, 255},
    {"Check7", "Frame1", "Underline", 3360, 1080, 975, 255},
    {"Command1", "Frame1", "Get Font Parameters from Selected Text", 240, 1440, 3975, 375},
    {"Command6", "Frame1", "Find and Mark Chords using Font Parameters", 240, 1920, 3975, 375},
    {"Command8", "Frame1", "Save as Default Preferences", 240, 2400, 3975, 375},
};

QString captionOf(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        return button->text();
    }
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        return label->text();
    }
    if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        return frame->title();
    }
    if (const auto *box = qobject_cast<const QLineEdit *>(control)) {
        return box->text();
    }
    if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        return list->currentText();
    }
    return QStringLiteral("?");
}

class LayoutTest : public WindowTest, public ::testing::WithParamInterface<ControlRow>
{
};

TEST_P(LayoutTest, NameCaptionPlaceAndContainer)
{
    ASSERT_EQ(form->screen()->logicalDotsPerInch(), 96.0) << "the rows are pixels at 96 dpi";
    const ControlRow &row = GetParam();
    const auto *control = form->findChild<QWidget *>(QLatin1String(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget()->objectName(), QLatin1String(row.container));
    EXPECT_EQ(captionOf(control), QString::fromUtf8(row.caption));
    EXPECT_EQ(control->geometry(), QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15));
    EXPECT_TRUE(control->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(EveryControl, LayoutTest, ::testing::ValuesIn(controls), [](const auto &info) {
    return std::string(info.param.name);
});

TEST(Twips, FifteenToThePixelAt96DpiAndScaledAbove)
{
    EXPECT_EQ(app::twipsToPixels(4710, 96), 314);
    EXPECT_EQ(app::twipsToPixels(7365, 96), 491);
    EXPECT_EQ(app::twipsToPixels(4710, 144), 471);
    EXPECT_EQ(app::twipsToPixels(15, 192), 2);
}

TEST_F(WindowTest, WindowIsFixedWithItsCaption)
{
    EXPECT_EQ(form->objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tonvale"));
    EXPECT_EQ(form->size(), QSize(314, 491));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(WindowTest, TabOrderFollowsTheTabColumn)
{
    const QStringList expected{
        QStringLiteral("Check1"),   QStringLiteral("Check2"),   QStringLiteral("Check3"),   QStringLiteral("Check4"),
        QStringLiteral("Check5"),   QStringLiteral("Check6"),   QStringLiteral("Text1"),    QStringLiteral("Text2"),
        QStringLiteral("Text3"),    QStringLiteral("Text4"),    QStringLiteral("Combo1"),   QStringLiteral("Combo2"),
        QStringLiteral("Option1"),  QStringLiteral("Option2"),  QStringLiteral("Command1"), QStringLiteral("Command2"),
        QStringLiteral("Command3"), QStringLiteral("Command4"), QStringLiteral("Command5"), QStringLiteral("Command6"),
        QStringLiteral("Check7"),   QStringLiteral("Command7"), QStringLiteral("Command8")};
    QStringList chain;
    QWidget *w = form->Check1;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() && w != form.get()) {
            chain << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != form->Check1);
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowTest, LabelsFrameAndPictureTakeNoFocus)
{
    for (const QLabel *label : form->findChildren<QLabel *>()) {
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();
    }
    EXPECT_EQ(form->Frame1->focusPolicy(), Qt::NoFocus);
}

TEST_F(WindowTest, FirstStateBeforeStartUp)
{
    for (const QCheckBox *box : form->findChildren<QCheckBox *>()) {
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    }
    EXPECT_TRUE(form->Option1->isChecked());
    EXPECT_FALSE(form->Option2->isChecked());
    for (const QLineEdit *box : form->findChildren<QLineEdit *>()) {
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    }
    for (const QComboBox *list : {form->Combo1, form->Combo2}) {
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(list->currentIndex(), -1);
    }
    EXPECT_EQ(form->chordColor(), 0);
}

TEST_F(WindowTest, NoButtonIsDefault)
{
    for (const QPushButton *button : form->findChildren<QPushButton *>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

TEST_F(WindowTest, AddressIsBlueAndLinksShowAPointingHand)
{
    EXPECT_EQ(form->Label11->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(form->Label11->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form->Image1->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form->Command4->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form->Command5->cursor().shape(), Qt::ArrowCursor);
    ASSERT_FALSE(form->Image1->pixmap().isNull());
    EXPECT_EQ(form->Image1->pixmap().size(), QSize(280, 36));
}

} // namespace
