#include "awtview.h"

#include "messageboxes.h"

#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/WindowAttribute.hpp>
#include <com/sun/star/awt/WindowDescriptor.hpp>
#include <com/sun/star/awt/XActionListener.hpp>
#include <com/sun/star/awt/XButton.hpp>
#include <com/sun/star/awt/XCheckBox.hpp>
#include <com/sun/star/awt/XFixedHyperlink.hpp>
#include <com/sun/star/awt/XItemListener.hpp>
#include <com/sun/star/awt/XListBox.hpp>
#include <com/sun/star/awt/XMouseListener.hpp>
#include <com/sun/star/awt/XRadioButton.hpp>
#include <com/sun/star/awt/XToolkit2.hpp>
#include <com/sun/star/beans/UnknownPropertyException.hpp>
#include <com/sun/star/deployment/PackageInformationProvider.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <cppuhelper/implbase3.hxx>
#include <rtl/ref.hxx>

namespace oxt
{

namespace
{

constexpr double dpi = 96.0;

const char *serviceOf(form::Kind kind)
{
    switch (kind) {
    case form::Kind::Frame:
        return "GroupBox";
    case form::Kind::Label:
        return "FixedText";
    case form::Kind::Link:
        return "FixedHyperlink";
    case form::Kind::Image:
        return "ImageControl";
    case form::Kind::CheckBox:
        return "CheckBox";
    case form::Kind::OptionButton:
        return "RadioButton";
    case form::Kind::TextBox:
        return "Edit";
    case form::Kind::ComboBox:
        return "ListBox";
    case form::Kind::Button:
        return "Button";
    }
    return "FixedText";
}

// Where a control sits in the panel's window, in twips: its containers' places added.
form::Place absolutePlace(const form::ControlSpec &spec)
{
    form::Place place = spec.place;
    for (auto container = spec.container; container; container = form::spec(*container).container) {
        place.left += form::spec(*container).place.left;
        place.top += form::spec(*container).place.top;
    }
    return place;
}

// Tells the view of a user's action on one control.
class Listener
    : public cppu::WeakImplHelper3<css::awt::XActionListener, css::awt::XItemListener, css::awt::XMouseListener>
{
public:
    Listener(AwtView &view, form::Control control)
        : m_view(&view)
        , m_control(control)
    {
    }
    void detach()
    {
        m_view = nullptr;
    }

    void SAL_CALL actionPerformed(const css::awt::ActionEvent &) override
    {
        fire();
    }
    void SAL_CALL itemStateChanged(const css::awt::ItemEvent &) override
    {
        fire();
    }
    void SAL_CALL mousePressed(const css::awt::MouseEvent &event) override
    {
        if (event.Buttons == 1) { // the left button
            fire();
        }
    }
    void SAL_CALL mouseReleased(const css::awt::MouseEvent &) override
    {
    }
    void SAL_CALL mouseEntered(const css::awt::MouseEvent &) override
    {
    }
    void SAL_CALL mouseExited(const css::awt::MouseEvent &) override
    {
    }
    void SAL_CALL disposing(const css::lang::EventObject &) override
    {
        m_view = nullptr;
    }

private:
    void fire()
    {
        if (m_view) {
            m_view->userAction(m_control);
        }
    }

    AwtView *m_view;
    form::Control m_control;
};

// A model's property, with the control and property named when the model has no such property.
void setProperty(const Reference<css::beans::XPropertySet> &model,
                 form::Control control,
                 const char *name,
                 const Any &value)
{
    try {
        model->setPropertyValue(OUString::createFromAscii(name), value);
    } catch (const css::beans::UnknownPropertyException &) {
        throw css::uno::RuntimeException(ou(std::string(form::spec(control).name) + " has no property " + name));
    }
}

Any property(const Reference<css::beans::XPropertySet> &model, form::Control control, const char *name)
{
    try {
        return model->getPropertyValue(OUString::createFromAscii(name));
    } catch (const css::beans::UnknownPropertyException &) {
        throw css::uno::RuntimeException(ou(std::string(form::spec(control).name) + " has no property " + name));
    }
}

} // namespace

AwtView::AwtView(const Reference<css::uno::XComponentContext> &context,
                 const Reference<css::awt::XWindowPeer> &parent,
                 SwitchPrompter &prompter)
    : m_context(context)
    , m_prompter(prompter)
{
    const auto toolkit = css::awt::Toolkit::create(context);
    css::awt::WindowDescriptor descriptor;
    descriptor.Type = css::awt::WindowClass_CONTAINER;
    descriptor.Parent = parent;
    descriptor.ParentIndex = -1;
    descriptor.Bounds = css::awt::Rectangle(0,
                                            0,
                                            form::twipsToPixels(form::windowWidth, dpi),
                                            form::twipsToPixels(form::windowHeight, dpi));
    descriptor.WindowAttributes = 0;
    m_peer = toolkit->createWindow(descriptor);
    m_window.set(m_peer, UNO_QUERY_THROW);

    OUString logo;
    try {
        const auto packages = css::deployment::PackageInformationProvider::get(context);
        const OUString location = packages->getPackageLocation(ou(extensionId));
        if (!location.isEmpty()) {
            logo = location + "/images/logo.png";
        }
    } catch (const css::uno::Exception &) {
        // No logo: the image stays empty.
    }

    const auto factory = context->getServiceManager();
    // The items by the controls' names (the table lists containers first).
    m_items.resize(form::layout().size());
    for (const auto &spec : form::layout()) {
        const std::string service = std::string("com.sun.star.awt.UnoControl") + serviceOf(spec.kind);
        Item item;
        item.model.set(factory->createInstanceWithContext(ou(service + "Model"), context), UNO_QUERY_THROW);
        item.control.set(factory->createInstanceWithContext(ou(service), context), UNO_QUERY_THROW);
        const OUString caption = ou(spec.caption);
        switch (spec.kind) {
        case form::Kind::Frame:
        case form::Kind::Label:
        case form::Kind::Link:
        case form::Kind::CheckBox:
        case form::Kind::OptionButton:
        case form::Kind::Button:
            setProperty(item.model, spec.id, "Label", Any(caption));
            break;
        case form::Kind::ComboBox:
            setProperty(item.model, spec.id, "Dropdown", Any(true));
            break;
        case form::Kind::Image:
            setProperty(item.model, spec.id, "ScaleImage", Any(true));
            if (!logo.isEmpty()) {
                setProperty(item.model, spec.id, "ImageURL", Any(logo));
            }
            setProperty(item.model, spec.id, "Border", Any(sal_Int16(0)));
            break;
        case form::Kind::TextBox:
            break;
        }
        item.control->setModel(Reference<css::awt::XControlModel>(item.model, UNO_QUERY_THROW));
        item.control->createPeer(Reference<css::awt::XToolkit>(toolkit, UNO_QUERY_THROW), m_peer);
        const form::Place place = absolutePlace(spec);
        Reference<css::awt::XWindow> window(item.control, UNO_QUERY_THROW);
        window->setPosSize(form::twipsToPixels(place.left, dpi),
                           form::twipsToPixels(place.top, dpi),
                           form::twipsToPixels(place.width, dpi),
                           form::twipsToPixels(place.height, dpi),
                           css::awt::PosSize::POSSIZE);
        window->setVisible(true);

        rtl::Reference<Listener> listener = new Listener(*this, spec.id);
        switch (spec.kind) {
        case form::Kind::Button:
            Reference<css::awt::XButton>(item.control, UNO_QUERY_THROW)
                ->addActionListener(Reference<css::awt::XActionListener>(listener.get()));
            break;
        case form::Kind::Link:
            Reference<css::awt::XFixedHyperlink>(item.control, UNO_QUERY_THROW)
                ->addActionListener(Reference<css::awt::XActionListener>(listener.get()));
            break;
        case form::Kind::Image:
            window->addMouseListener(Reference<css::awt::XMouseListener>(listener.get()));
            break;
        case form::Kind::CheckBox:
            Reference<css::awt::XCheckBox>(item.control, UNO_QUERY_THROW)
                ->addItemListener(Reference<css::awt::XItemListener>(listener.get()));
            break;
        case form::Kind::OptionButton:
            Reference<css::awt::XRadioButton>(item.control, UNO_QUERY_THROW)
                ->addItemListener(Reference<css::awt::XItemListener>(listener.get()));
            break;
        case form::Kind::ComboBox:
            Reference<css::awt::XListBox>(item.control, UNO_QUERY_THROW)
                ->addItemListener(Reference<css::awt::XItemListener>(listener.get()));
            item.known = -1;
            break;
        default:
            break;
        }
        m_items[static_cast<std::size_t>(spec.id)] = std::move(item);
    }
    // A toolkit's option buttons start with the first one of a group selected.
    setValue(form::Control::Option1, 1);
    m_boxes = std::make_unique<MessageBoxes>(context, m_peer);
    m_window->setVisible(true);
}

AwtView::~AwtView()
{
    dispose();
}

void AwtView::dispose()
{
    if (m_disposed) {
        return;
    }
    m_disposed = true;
    m_onClick = nullptr;
    for (auto &item : m_items) {
        try {
            Reference<css::lang::XComponent>(item.control, UNO_QUERY_THROW)->dispose();
        } catch (const css::uno::Exception &) {
        }
    }
    try {
        Reference<css::lang::XComponent>(m_window, UNO_QUERY_THROW)->dispose();
    } catch (const css::uno::Exception &) {
    }
}

AwtView::Item &AwtView::item(form::Control control)
{
    return m_items[static_cast<std::size_t>(control)];
}

const AwtView::Item &AwtView::item(form::Control control) const
{
    return m_items[static_cast<std::size_t>(control)];
}

void AwtView::userAction(form::Control control)
{
    if (m_disposed) {
        return;
    }
    Item &it = item(control);
    switch (form::spec(control).kind) {
    case form::Kind::CheckBox:
    case form::Kind::OptionButton:
    case form::Kind::ComboBox: {
        // A change made in code may come back as an event: only a change the view did not make counts.
        const int now = form::spec(control).kind == form::Kind::ComboBox ? listIndex(control) : value(control);
        if (now == it.known) {
            return;
        }
        it.known = now;
        if (form::spec(control).kind == form::Kind::OptionButton && now != 1) {
            return; // the other button of the pair reports the selection
        }
        break;
    }
    default:
        break;
    }
    if (m_onClick) {
        m_onClick(control);
    }
}

int AwtView::value(form::Control control) const
{
    if (m_disposed) {
        return 0;
    }
    sal_Int16 state = 0;
    property(item(control).model, control, "State") >>= state;
    return state;
}

void AwtView::setValue(form::Control control, int value)
{
    if (m_disposed) {
        return;
    }
    Item &it = item(control);
    it.known = value;
    setProperty(it.model, control, "State", Any(static_cast<sal_Int16>(value)));
}

std::string AwtView::text(form::Control control) const
{
    if (m_disposed) {
        return {};
    }
    const Item &it = item(control);
    switch (form::spec(control).kind) {
    case form::Kind::ComboBox: {
        const int index = listIndex(control);
        return index >= 0 && index < static_cast<int>(it.items.size()) ? it.items[static_cast<std::size_t>(index)]
                                                                       : std::string();
    }
    case form::Kind::TextBox: {
        OUString value;
        property(it.model, control, "Text") >>= value;
        return utf8(value);
    }
    default: {
        OUString value;
        property(it.model, control, "Label") >>= value;
        return utf8(value);
    }
    }
}

void AwtView::setText(form::Control control, const std::string &text)
{
    if (m_disposed) {
        return;
    }
    const char *property = form::spec(control).kind == form::Kind::TextBox ? "Text" : "Label";
    setProperty(item(control).model, control, property, Any(ou(text)));
}

int AwtView::listIndex(form::Control control) const
{
    if (m_disposed) {
        return -1;
    }
    Sequence<sal_Int16> selected;
    property(item(control).model, control, "SelectedItems") >>= selected;
    return selected.getLength() > 0 ? selected[0] : -1;
}

void AwtView::setListIndex(form::Control control, int index)
{
    if (m_disposed) {
        return;
    }
    Item &it = item(control);
    if (index < 0 || index >= static_cast<int>(it.items.size())) {
        index = -1;
    }
    it.known = index;
    Sequence<sal_Int16> selected;
    if (index >= 0) {
        selected = Sequence<sal_Int16>(1);
        selected.getArray()[0] = static_cast<sal_Int16>(index);
    }
    setProperty(it.model, control, "SelectedItems", Any(selected));
}

void AwtView::setListItems(form::Control control, const std::vector<std::string> &items)
{
    if (m_disposed) {
        return;
    }
    Item &it = item(control);
    it.items = items;
    Sequence<OUString> entries(static_cast<sal_Int32>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        entries.getArray()[i] = ou(items[i]);
    }
    it.known = -1;
    setProperty(it.model, control, "StringItemList", Any(entries));
    setProperty(it.model, control, "SelectedItems", Any(Sequence<sal_Int16>()));
}

bool AwtView::enabled(form::Control control) const
{
    if (m_disposed) {
        return false;
    }
    bool on = true;
    property(item(control).model, control, "Enabled") >>= on;
    return on;
}

void AwtView::setEnabled(form::Control control, bool enabled)
{
    if (m_disposed) {
        return;
    }
    setProperty(item(control).model, control, "Enabled", Any(enabled));
}

word::Prompter &AwtView::prompter()
{
    return m_prompter;
}

word::Prompter &AwtView::messageBoxes()
{
    return *m_boxes;
}

void AwtView::post(std::function<void()> event)
{
    postToMainThread(m_context, std::move(event));
}

void AwtView::endProgram(int)
{
    // A panel cannot end the office's program: it stays, its controls disabled.
    for (const auto &spec : form::layout()) {
        setEnabled(spec.id, false);
    }
}

} // namespace oxt
