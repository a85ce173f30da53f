#include "frmmain.h"

#include "clicklabel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>

namespace app
{

namespace
{

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget *makeWidget(form::Kind kind, QWidget *container)
{
    switch (kind) {
    case form::Kind::Frame:
        return new QGroupBox(container);
    case form::Kind::Label:
        return new QLabel(container);
    case form::Kind::Link:
    case form::Kind::Image:
        return new ClickLabel(container);
    case form::Kind::CheckBox:
        return new QCheckBox(container);
    case form::Kind::OptionButton:
        return new QRadioButton(container);
    case form::Kind::TextBox:
        return new QLineEdit(container);
    case form::Kind::ComboBox:
        return new QComboBox(container);
    case form::Kind::Button:
        return new QPushButton(container);
    }
    return nullptr;
}

} // namespace

frmMain::frmMain(word::Prompter &prompter, prefs::SettingsStore &store, QWidget *parent)
    : QWidget(parent)
    , m_prompter(prompter)
    , m_programEnd([](int code) {
        QCoreApplication::exit(code);
    })
    , m_form(*this, store)
{
    const double dpi = screen() ? screen()->logicalDotsPerInch() : 96.0;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(qs(form::windowTitle));
    setFixedSize(form::twipsToPixels(form::windowWidth, dpi), form::twipsToPixels(form::windowHeight, dpi));
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

    for (const form::ControlSpec &spec : form::layout()) {
        m_controls[static_cast<std::size_t>(spec.id)] = createControl(spec, dpi);
        connectControl(spec);
    }
    const auto tabs = form::tabOrder();
    for (std::size_t i = 1; i < tabs.size(); ++i) {
        QWidget::setTabOrder(widget(tabs[i - 1]), widget(tabs[i]));
    }
    fitCaptions();
}

frmMain::~frmMain() = default;

QWidget *frmMain::createControl(const form::ControlSpec &spec, double dpi)
{
    QWidget *container = spec.container ? widget(*spec.container) : this;
    QWidget *control = makeWidget(spec.kind, container);
    control->setObjectName(qs(spec.name));
    control->setAccessibleName(qs(spec.accessibleName));
    control->setGeometry(form::twipsToPixels(spec.place.left, dpi),
                         form::twipsToPixels(spec.place.top, dpi),
                         form::twipsToPixels(spec.place.width, dpi),
                         form::twipsToPixels(spec.place.height, dpi));
    const QString caption = qs(spec.caption);
    if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        frame->setTitle(caption);
        frame->setFocusPolicy(Qt::NoFocus);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        // Labels start at the top of their box and clip what does not fit; they never take the focus.
        label->setText(caption);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        if (spec.kind == form::Kind::Link || spec.kind == form::Kind::Image) {
            label->setCursor(Qt::PointingHandCursor);
        }
        if (spec.kind == form::Kind::Link) {
            QPalette link = label->palette();
            link.setColor(QPalette::WindowText, QColor(0, 0, 255));
            label->setPalette(link);
        }
        if (spec.kind == form::Kind::Image) {
            label->setPixmap(QPixmap(QStringLiteral(":/tonvale/logo.png")));
            label->setScaledContents(true);
        }
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        button->setText(caption);
        // No default button: Enter runs a command only on the button that has the focus.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(this);
    } else if (auto *box = qobject_cast<QAbstractButton *>(control)) {
        box->setText(caption);
        box->setChecked(spec.id == form::Control::Option1); // "Use Sharps" until start-up says otherwise
    } else if (auto *list = qobject_cast<QComboBox *>(control)) {
        // A drop-down list whose entries start at no selection (index -1, empty text).
        list->setEditable(false);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->installEventFilter(this);
    }
    return control;
}

void frmMain::connectControl(const form::ControlSpec &spec)
{
    // Every user action reaches the form; a change the form makes itself comes back as no signal.
    const form::Control id = spec.id;
    const auto forward = [this, id] {
        m_form.click(id);
    };
    QWidget *control = widget(id);
    if (auto *link = qobject_cast<ClickLabel *>(control)) {
        connect(link, &ClickLabel::clicked, this, forward);
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        connect(button, &QPushButton::clicked, this, forward);
    } else if (auto *box = qobject_cast<QCheckBox *>(control)) {
        connect(box, &QCheckBox::toggled, this, forward);
    } else if (auto *list = qobject_cast<QComboBox *>(control)) {
        connect(list, &QComboBox::currentIndexChanged, this, forward);
    }
}

void frmMain::fitCaptions()
{
    // A wide font cuts captions short in the fixed boxes ("Underlin"): make it a little smaller
    // until every check box, option button, button and label shows its whole caption.
    const auto allFit = [this] {
        for (const form::ControlSpec &spec : form::layout()) {
            const QWidget *w = widget(spec.id);
            const bool captioned = spec.kind != form::Kind::Image && spec.kind != form::Kind::Frame
                && spec.kind != form::Kind::TextBox && spec.kind != form::Kind::ComboBox;
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

form::frmMain &frmMain::logic()
{
    return m_form;
}

void frmMain::setProgramEnd(std::function<void(int)> end)
{
    m_programEnd = std::move(end);
}

QWidget *frmMain::widget(form::Control control) const
{
    return m_controls[static_cast<std::size_t>(control)];
}

int frmMain::value(form::Control control) const
{
    const auto *box = qobject_cast<const QAbstractButton *>(widget(control));
    return box && box->isChecked() ? 1 : 0;
}

void frmMain::setValue(form::Control control, int value)
{
    if (auto *box = qobject_cast<QAbstractButton *>(widget(control))) {
        const QSignalBlocker quiet(box);
        box->setChecked(value == 1);
    }
}

std::string frmMain::text(form::Control control) const
{
    const QWidget *w = widget(control);
    if (const auto *box = qobject_cast<const QLineEdit *>(w)) {
        return box->text().toStdString();
    }
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        return label->text().toStdString();
    }
    if (const auto *list = qobject_cast<const QComboBox *>(w)) {
        return list->currentText().toStdString();
    }
    return {};
}

void frmMain::setText(form::Control control, const std::string &text)
{
    QWidget *w = widget(control);
    if (auto *box = qobject_cast<QLineEdit *>(w)) {
        box->setText(QString::fromStdString(text));
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        label->setText(QString::fromStdString(text));
    }
}

int frmMain::listIndex(form::Control control) const
{
    const auto *list = qobject_cast<const QComboBox *>(widget(control));
    return list ? list->currentIndex() : -1;
}

void frmMain::setListIndex(form::Control control, int index)
{
    if (auto *list = qobject_cast<QComboBox *>(widget(control))) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(index);
    }
}

void frmMain::setListItems(form::Control control, const std::vector<std::string> &items)
{
    if (auto *list = qobject_cast<QComboBox *>(widget(control))) {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const std::string &item : items) {
            list->addItem(QString::fromStdString(item));
        }
        list->setCurrentIndex(-1);
    }
}

bool frmMain::enabled(form::Control control) const
{
    return widget(control)->isEnabled();
}

void frmMain::setEnabled(form::Control control, bool enabled)
{
    widget(control)->setEnabled(enabled);
}

word::Prompter &frmMain::prompter()
{
    return m_prompter;
}

void frmMain::post(std::function<void()> event)
{
    QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
}

void frmMain::endProgram(int exitCode)
{
    hide();
    m_programEnd(exitCode);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The close step never refuses the close; only the end guard (unsaved work) keeps the window.
    if (m_form.closeRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Typing in a key list selects nothing and so recomputes nothing; arrows still move the selection.
    // Enter on the focused button runs it, as Space does (a window without a dialog's default button).
    if (auto *button = qobject_cast<QPushButton *>(watched); button && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
    }
    if (qobject_cast<QComboBox *>(watched) && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (!typed.isEmpty() && typed.at(0).isPrint()) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace app
