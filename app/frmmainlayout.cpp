// The main window's fixed layout: every control with its name, caption, place (in twips) and tab order.

#include "clicklabel.h"
#include "frmmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <cmath>

namespace app
{

int twipsToPixels(int twips, double logicalDpi)
{
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

namespace
{

/// A control's place in its container, in twips.
struct Place {
    int left;
    int top;
    int width;
    int height;
};

class Builder
{
public:
    explicit Builder(double dpi)
        : m_dpi(dpi)
    {
    }

    template<typename Control>
    Control *make(QWidget *container, const char *name, const QString &caption, Place place) const
    {
        auto *control = new Control(container);
        control->setObjectName(QLatin1String(name));
        if constexpr (!std::is_same_v<Control, QLineEdit> && !std::is_same_v<Control, QComboBox>) {
            if constexpr (std::is_base_of_v<QGroupBox, Control>) {
                control->setTitle(caption);
            } else {
                control->setText(caption);
            }
        }
        control->setGeometry(twipsToPixels(place.left, m_dpi),
                             twipsToPixels(place.top, m_dpi),
                             twipsToPixels(place.width, m_dpi),
                             twipsToPixels(place.height, m_dpi));
        return control;
    }

    QLabel *label(QWidget *container, const char *name, const QString &caption, Place place) const
    {
        auto *label = make<QLabel>(container, name, caption, place);
        // Labels start at the top of their box and clip what does not fit.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        return label;
    }

    QPushButton *button(QWidget *container, const char *name, const QString &caption, Place place) const
    {
        auto *button = make<QPushButton>(container, name, caption, place);
        // No default button: Enter runs a command only on the button that has the focus.
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }

private:
    double m_dpi;
};

} // namespace

void frmMain::createControls()
{
    const double dpi = screen() ? screen()->logicalDotsPerInch() : 96.0;
    const Builder b(dpi);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tonvale"));
    setFixedSize(twipsToPixels(4710, dpi), twipsToPixels(7365, dpi));
    // The window's own font, which every control inherits: a sans-serif of the narrow kind the fixed
    // layout was drawn for where one is installed, else the toolkit's own, at the layout's small size.
    QFont small = font();
    small.setFamilies({QStringLiteral("Liberation Sans"),
                       QStringLiteral("Arial"),
                       QStringLiteral("Nimbus Sans"),
                       QStringLiteral("Helvetica"),
                       small.family()});
    small.setPointSizeF(8.25);
    setFont(small);

    Frame1 = b.make<QGroupBox>(this,
                               "Frame1",
                               QStringLiteral("Chord Font Parameter Discriminators"),
                               {120, 120, 4455, 2895});
    Frame1->setFocusPolicy(Qt::NoFocus);
    Label1 = b.label(Frame1, "Label1", QStringLiteral("Red"), {2160, 360, 495, 255});
    Label2 = b.label(Frame1, "Label2", QStringLiteral("Green"), {2760, 360, 495, 255});
    Label3 = b.label(Frame1, "Label3", QStringLiteral("Blue"), {3360, 360, 615, 255});
    Check3 = b.make<QCheckBox>(Frame1, "Check3", QStringLiteral("Use Font Color:"), {240, 600, 1695, 255});
    Text1 = b.make<QLineEdit>(Frame1, "Text1", {}, {2160, 600, 495, 285});
    Text2 = b.make<QLineEdit>(Frame1, "Text2", {}, {2760, 600, 495, 285});
    Text3 = b.make<QLineEdit>(Frame1, "Text3", {}, {3360, 600, 495, 285});
    Check4 = b.make<QCheckBox>(Frame1, "Check4", QStringLiteral("Use Font Style:"), {240, 1080, 1455, 255});
    Check1 = b.make<QCheckBox>(Frame1, "Check1", QStringLiteral("Bold"), {1800, 1080, 735, 255});
    Check2 = b.make<QCheckBox>(Frame1, "Check2", QStringLiteral("Italics"), {2520, 1080, 735, 255});
    Check7 = b.make<QCheckBox>(Frame1, "Check7", QStringLiteral("Underline"), {3360, 1080, 975, 255});
    Command1 =
        b.button(Frame1, "Command1", QStringLiteral("Get Font Parameters from Selected Text"), {240, 1440, 3975, 375});
    Command6 = b.button(Frame1,
                        "Command6",
                        QStringLiteral("Find and Mark Chords using Font Parameters"),
                        {240, 1920, 3975, 375});
    Command8 = b.button(Frame1, "Command8", QStringLiteral("Save as Default Preferences"), {240, 2400, 3975, 375});

    Label4 = b.label(this, "Label4", QStringLiteral("Chord Accidentals:"), {240, 3120, 1575, 255});
    Option1 = b.make<QRadioButton>(this, "Option1", QStringLiteral("Use Sharps"), {1920, 3120, 1335, 255});
    Option2 = b.make<QRadioButton>(this, "Option2", QStringLiteral("Use Flats"), {3360, 3120, 1095, 255});
    Label5 = b.label(this, "Label5", QStringLiteral("Current Key"), {240, 3480, 1575, 255});
    Label6 = b.label(this, "Label6", QStringLiteral("New Key"), {2040, 3480, 1575, 255});
    Label7 = b.label(this, "Label7", QStringLiteral("Semi Tones"), {3720, 3480, 855, 255});
    Combo1 = b.make<QComboBox>(this, "Combo1", {}, {240, 3720, 1575, 315});
    Combo2 = b.make<QComboBox>(this, "Combo2", {}, {2040, 3720, 1575, 315});
    Text4 = b.make<QLineEdit>(this, "Text4", {}, {3720, 3720, 855, 285});
    Check5 = b.make<QCheckBox>(this, "Check5", QStringLiteral("Nashville Numbers"), {240, 4080, 2055, 255});
    Check6 = b.make<QCheckBox>(this, "Check6", QStringLiteral("Nashville Numbers"), {2040, 4080, 1935, 255});
    Command2 = b.button(this, "Command2", QStringLiteral("Transpose"), {720, 4440, 1575, 375});
    Command3 = b.button(this, "Command3", QStringLiteral("Exit"), {2520, 4440, 1575, 375});
    Image1 = b.make<ClickLabel>(this, "Image1", {}, {240, 5040, 4200, 540});
    Image1->setPixmap(QPixmap(QStringLiteral(":/tonvale/logo.png")));
    Image1->setScaledContents(true);
    Image1->setFocusPolicy(Qt::NoFocus);
    Image1->setCursor(Qt::PointingHandCursor);
    Command4 = b.button(this, "Command4", QStringLiteral("Help"), {3000, 5880, 1575, 375});
    Label8 = b.label(this, "Label8", {}, {120, 6000, 2535, 255});
    Label9 = b.label(this, "Label9", {}, {120, 6240, 2535, 375});
    Command5 = b.button(this, "Command5", QStringLiteral("About"), {3000, 6360, 1575, 375});
    Label10 = b.label(this, "Label10", {}, {120, 6480, 2535, 255});
    Label11 = b.make<ClickLabel>(this, "Label11", {}, {120, 6720, 2535, 375});
    Label11->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label11->setFocusPolicy(Qt::NoFocus);
    Label11->setCursor(Qt::PointingHandCursor);
    QPalette link = Label11->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label11->setPalette(link);
    Command7 = b.button(this, "Command7", QStringLiteral("Combine Lines"), {3000, 6840, 1575, 375});

    // Key lists: a drop-down list whose entries start at no selection (index -1, empty text).
    for (QComboBox *list : {Combo1, Combo2}) {
        list->setEditable(false);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->installEventFilter(this);
    }
    Option1->setChecked(true);
    fitCaptions();
}

void frmMain::fitCaptions()
{
    // A wide font cuts captions short in the fixed boxes ("Underlin"): make it a little smaller
    // until every check box, option button and label shows its whole caption.
    const auto captions = findChildren<QWidget *>();
    const auto allFit = [this, &captions] {
        for (QWidget *w : captions) {
            const bool captioned = qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)
                || qobject_cast<QPushButton *>(w) || (qobject_cast<QLabel *>(w) && w != Image1);
            if (captioned && w->sizeHint().width() > w->width()) {
                return false;
            }
        }
        return true;
    };
    QFont smaller = font();
    while (!allFit() && smaller.pointSizeF() > 6.5) {
        smaller.setPointSizeF(smaller.pointSizeF() - 0.25);
        setFont(smaller);
    }
}

void frmMain::setTabOrder()
{
    QWidget *const order[] = {Check1,   Check2,   Check3,   Check4,   Check5,  Check6,   Text1,    Text2,
                              Text3,    Text4,    Combo1,   Combo2,   Option1, Option2,  Command1, Command2,
                              Command3, Command4, Command5, Command6, Check7,  Command7, Command8};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

} // namespace app
