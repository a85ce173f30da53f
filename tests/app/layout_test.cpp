// The Qt window built from the control table at 96 dpi: names, containers, captions, places, accessible
// names, tab order, first state and appearance.

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

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

TEST_F(WindowTest, EveryControlIsBuiltFromTheTable)
{
    ASSERT_EQ(window->screen()->logicalDotsPerInch(), 96.0) << "15 twips to the pixel";
    for (const form::ControlSpec &spec : form::layout()) {
        SCOPED_TRACE(std::string(spec.name));
        const auto *control = window->findChild<QWidget *>(qs(spec.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(window->widget(spec.id), control);
        EXPECT_EQ(control->parentWidget()->objectName(),
                  spec.container ? qs(form::spec(*spec.container).name) : QStringLiteral("frmMain"));
        EXPECT_EQ(captionOf(control), qs(spec.caption));
        EXPECT_EQ(control->geometry(),
                  QRect(spec.place.left / 15, spec.place.top / 15, spec.place.width / 15, spec.place.height / 15));
        EXPECT_EQ(control->accessibleName(), qs(spec.accessibleName));
        EXPECT_TRUE(control->isEnabled());
    }
}

TEST_F(WindowTest, WindowIsFixedWithItsCaption)
{
    EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tonvale"));
    EXPECT_EQ(window->size(), QSize(314, 515));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
}

TEST_F(WindowTest, TabOrderFollowsTheTable)
{
    QStringList expected;
    for (const form::Control control : form::tabOrder()) {
        expected << qs(form::spec(control).name);
    }
    QStringList chain;
    QWidget *first = find("Check1");
    QWidget *w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() && w != window.get()) {
            chain << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != first);
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowTest, LabelsFrameAndPictureTakeNoFocus)
{
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();
    }
    EXPECT_EQ(find("Frame1")->focusPolicy(), Qt::NoFocus);
}

TEST_F(WindowTest, FirstStateBeforeStartUp)
{
    for (const QCheckBox *box : window->findChildren<QCheckBox *>()) {
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    }
    EXPECT_TRUE(find<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("Option2")->isChecked());
    for (const QLineEdit *box : window->findChildren<QLineEdit *>()) {
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    }
    for (const QComboBox *list : window->findChildren<QComboBox *>()) {
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(list->currentIndex(), -1);
    }
}

TEST_F(WindowTest, NoButtonIsDefault)
{
    for (const QPushButton *button : window->findChildren<QPushButton *>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

TEST_F(WindowTest, AddressIsBlueAndLinksShowAPointingHand)
{
    EXPECT_EQ(find("Label11")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(find("Label11")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(find("Image1")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(find("Command4")->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(find("Command5")->cursor().shape(), Qt::ArrowCursor);
    const auto *logo = find<QLabel>("Image1");
    ASSERT_FALSE(logo->pixmap().isNull());
    EXPECT_EQ(logo->pixmap().size(), QSize(280, 36));
}

} // namespace
