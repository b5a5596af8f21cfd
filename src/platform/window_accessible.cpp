#include "platform/window_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <map>

#include "platform/window.h"

namespace platform {
namespace {

QAccessible::Role qtRole(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::Button:
            return QAccessible::Button;
        case AccessibleRole::CheckButton:
            return QAccessible::CheckBox;
        case AccessibleRole::RadioButton:
            return QAccessible::RadioButton;
        case AccessibleRole::Slider:
            return QAccessible::Slider;
        case AccessibleRole::ProgressBar:
            return QAccessible::ProgressBar;
        case AccessibleRole::Graph:
            return QAccessible::Chart;
        case AccessibleRole::Image:
            return QAccessible::Graphic;
        case AccessibleRole::ComboBox:
            return QAccessible::ComboBox;
        case AccessibleRole::ListItem:
            return QAccessible::ListItem;
        case AccessibleRole::Label:
            return QAccessible::StaticText;
        case AccessibleRole::None:
            break;
    }
    return QAccessible::NoRole;
}

bool pressable(AccessibleRole role) {
    return role == AccessibleRole::Button || role == AccessibleRole::CheckButton ||
           role == AccessibleRole::RadioButton || role == AccessibleRole::ComboBox ||
           role == AccessibleRole::ListItem;
}

// One item of a window; holds only the window and the item's index, and asks
// the window for everything else at each call.
class ItemAccessible : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public QAccessibleValueInterface {
  public:
    ItemAccessible(Window* window, int index) : m_window(window), m_index(index) {}

    int index() const { return m_index; }
    AccessibleItem item() const { return isValid() ? m_window->AccessibleItemAt(m_index) : AccessibleItem{}; }

    bool isValid() const override { return m_window && m_index < m_window->AccessibleItemCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_window ? m_window->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return m_window ? QAccessible::queryAccessibleInterface(m_window.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        const AccessibleItem it = item();
        switch (t) {
            case QAccessible::Name:
                return it.name;
            case QAccessible::Value:
                return it.value;
            case QAccessible::Description:
                return it.description;
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_window) return {};
        const RECT r = item().rect;
        return QRect(m_window->mapToGlobal(QPoint(r.left, r.top)), QSize(RectWidth(r), RectHeight(r)));
    }
    QAccessible::Role role() const override { return qtRole(item().role); }
    QAccessible::State state() const override {
        const AccessibleItem it = item();
        QAccessible::State s;
        s.invisible = !it.shown;
        s.disabled = !it.enabled;
        s.focusable = it.focusable;
        s.focused = it.focused;
        s.checkable = it.role == AccessibleRole::CheckButton || it.role == AccessibleRole::RadioButton;
        s.checked = it.checked;
        s.readOnly = it.role == AccessibleRole::ProgressBar || it.role == AccessibleRole::Graph;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        if (t == QAccessible::ValueInterface && item().hasRange)
            return static_cast<QAccessibleValueInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override {
        const AccessibleItem it = item();
        QStringList names;
        if (!it.enabled || !it.shown) return names;
        if (it.role == AccessibleRole::CheckButton || it.role == AccessibleRole::RadioButton)
            names << toggleAction();
        else if (pressable(it.role))
            names << pressAction();
        if (it.role == AccessibleRole::Slider) names << increaseAction() << decreaseAction();
        if (it.focusable) names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (!isValid() || !actionNames().contains(name)) return;
        if (name == pressAction() || name == toggleAction()) {
            m_window->PressAccessibleItem(m_index);
        } else if (name == setFocusAction()) {
            m_window->FocusAccessibleItem(m_index);
        } else if (name == increaseAction() || name == decreaseAction()) {
            const AccessibleItem it = item();
            m_window->SetAccessibleItemValue(m_index,
                                             it.current + (name == increaseAction() ? it.step : -it.step));
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    QVariant currentValue() const override { return item().current; }
    void setCurrentValue(const QVariant& value) override {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (ok && isValid()) m_window->SetAccessibleItemValue(m_index, v);
    }
    QVariant maximumValue() const override { return item().maximum; }
    QVariant minimumValue() const override { return item().minimum; }
    QVariant minimumStepSize() const override { return item().step; }

  private:
    QPointer<Window> m_window;
    int m_index;
};

// The window: its Qt children first, then its shown items in index order.
class WindowAccessible : public QAccessibleWidget {
  public:
    explicit WindowAccessible(Window* window)
        : QAccessibleWidget(window, window->isWindow() ? QAccessible::Window : QAccessible::Client) {}
    ~WindowAccessible() override {
        for (const auto& [index, id] : m_items) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return QAccessibleWidget::childCount() + int(shownItems().size()); }
    QAccessibleInterface* child(int index) const override {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets) return QAccessibleWidget::child(index);
        const std::vector<int> shown = shownItems();
        const size_t at = size_t(index - widgets);
        return at < shown.size() ? itemInterface(shown[at]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int widgets = QAccessibleWidget::childCount();
        for (const auto& [index, id] : m_items) {
            if (QAccessible::accessibleInterface(id) != child) continue;
            const std::vector<int> shown = shownItems();
            for (size_t k = 0; k < shown.size(); ++k)
                if (shown[k] == index) return widgets + int(k);
            return -1;
        }
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int index : shownItems()) {
            QAccessibleInterface* item = itemInterface(index);
            if (item->rect().contains(x, y)) return item;
        }
        return QAccessibleWidget::childAt(x, y);
    }
    QAccessibleInterface* focusChild() const override {
        for (int index : shownItems())
            if (owner()->AccessibleItemAt(index).focused) return itemInterface(index);
        return QAccessibleWidget::focusChild();
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && owner()->isWindow()) return owner()->windowTitle();
        return QAccessibleWidget::text(t);
    }

    // The interface of an item, made at its first use and kept for the window's life.
    QAccessibleInterface* itemInterface(int index) const {
        auto found = m_items.find(index);
        if (found != m_items.end()) return QAccessible::accessibleInterface(found->second);
        auto* item = new ItemAccessible(owner(), index);
        m_items.emplace(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }

  private:
    Window* owner() const { return static_cast<Window*>(widget()); }
    std::vector<int> shownItems() const {
        std::vector<int> shown;
        const int count = owner()->AccessibleItemCount();
        for (int i = 0; i < count; ++i) {
            const AccessibleItem item = owner()->AccessibleItemAt(i);
            if (item.shown && item.role != AccessibleRole::None) shown.push_back(i);
        }
        return shown;
    }
    mutable std::map<int, QAccessible::Id> m_items;
};

QAccessibleInterface* windowFactory(const QString&, QObject* object) {
    if (auto* window = qobject_cast<Window*>(object)) return new WindowAccessible(window);
    return nullptr;
}

QAccessibleInterface* itemInterfaceOf(Window* window, int index) {
    auto* iface = dynamic_cast<WindowAccessible*>(QAccessible::queryAccessibleInterface(window));
    return iface ? iface->itemInterface(index) : nullptr;
}

}  // namespace

void installWindowAccessibility() {
    static const bool installed = (QAccessible::installFactory(windowFactory), true);
    (void)installed;
}

AccessibleItem Window::AccessibleItemAt(int) const {
    return {};
}

bool Window::PressAccessibleItem(int) {
    return false;
}

bool Window::SetAccessibleItemValue(int, double) {
    return false;
}

bool Window::FocusAccessibleItem(int) {
    return false;
}

void Window::NotifyAccessibleFocus(int index) {
    if (!QAccessible::isActive() || index < 0 || index >= AccessibleItemCount()) return;
    if (QAccessibleInterface* item = itemInterfaceOf(this, index)) {
        QAccessibleEvent event(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void Window::NotifyAccessibleValue(int index) {
    if (!QAccessible::isActive() || index < 0 || index >= AccessibleItemCount()) return;
    if (QAccessibleInterface* item = itemInterfaceOf(this, index)) {
        QAccessibleValueChangeEvent event(
            item, item->valueInterface() ? item->valueInterface()->currentValue() : QVariant());
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace platform
