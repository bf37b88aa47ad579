// StyledButton's accessibility: the interface assistive technology reads and acts through, and
// the events that tell it when the button's name or states change.
#include "StyledButtonAccessible.h"

#include "StyledButton.h"

#include <QKeySequence>

namespace {

QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
    // Qt asks once per class of the object's ancestry; answering for our own class name covers
    // subclasses without a meta-object of their own as well.
    if (className == QLatin1String(StyledButton::staticMetaObject.className())) {
        if (auto* button = qobject_cast<StyledButton*>(object)) {
            return new StyledButtonAccessible(button);
        }
    }
    return nullptr;
}

StyledButtonAccessible::EventSink& Sink() {
    static StyledButtonAccessible::EventSink sink;
    return sink;
}

} // namespace

StyledButtonAccessible::StyledButtonAccessible(StyledButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

void StyledButtonAccessible::InstallFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateInterface);
        return true;
    }();
    (void)installed;
}

void StyledButtonAccessible::SetEventSink(EventSink sink) {
    Sink() = std::move(sink);
}

void StyledButtonAccessible::Send(QAccessibleEvent* event) {
    if (Sink()) {
        Sink()(event);
    } else {
        QAccessible::updateAccessibility(event);
    }
}

StyledButton* StyledButtonAccessible::Button() const {
    return static_cast<StyledButton*>(widget());
}

QAccessible::Role StyledButtonAccessible::role() const {
    return Button()->CheckBoxBehaviour() ? QAccessible::CheckBox : QAccessible::Button;
}

QString StyledButtonAccessible::text(QAccessible::Text t) const {
    const StyledButton* button = Button();
    switch (t) {
    case QAccessible::Name:
        if (!button->accessibleName().isEmpty()) {
            return button->accessibleName();
        }
        if (!button->Caption().isEmpty()) {
            return button->AccessibleCaption();
        }
        break;
    case QAccessible::Accelerator:
        if (!button->AccessKeys().isEmpty()) {
            const QKeySequence key(QStringLiteral("Alt+") + button->AccessKeys().left(1).toUpper());
            return key.toString(QKeySequence::NativeText);
        }
        break;
    default:
        break;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State StyledButtonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    const StyledButton::AccessibleFacts facts = Button()->CurrentAccessibleFacts();
    s.disabled = facts.disabled;
    s.focused = facts.focused;
    s.pressed = facts.pressed;
    s.checkable = facts.checkable;
    s.checked = facts.checked;
    s.defaultButton = facts.defaultButton;
    return s;
}

QStringList StyledButtonAccessible::actionNames() const {
    if (!Button()->Enabled()) {
        return {};
    }
    return {Button()->CheckBoxBehaviour() ? toggleAction() : pressAction()};
}

void StyledButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() || actionName == toggleAction()) {
        Button()->AccessiblePress();
    }
}

QStringList StyledButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction() || actionName == toggleAction()) {
        const QString key = text(QAccessible::Accelerator);
        return key.isEmpty() ? QStringList{QStringLiteral("Space")}
                             : QStringList{QStringLiteral("Space"), key};
    }
    return {};
}

// The button's side: what it reports, and the events sent when that changes.

QString StyledButton::AccessibleCaption() const {
    int underline = -1;
    return gdi::StripPrefixes(Props.Caption, underline);
}

StyledButton::AccessibleFacts StyledButton::CurrentAccessibleFacts() const {
    AccessibleFacts facts;
    facts.disabled = !Props.Enabled || !isEnabled();
    facts.focused = HasFocus;
    facts.checkable = Props.CheckBoxBehaviour;
    facts.checked = Props.CheckBoxBehaviour && Props.Value;
    // A checked toggle is drawn down without being held; only a press draws a plain button down.
    facts.pressed = LastState == StateDown && !facts.checked;
    facts.defaultButton = DefaultButton();
    facts.caption = Props.Caption;
    return facts;
}

void StyledButton::AccessiblePress() {
    // The access-key path: the click handler with the left button, so Click comes after the
    // toggle and the up look, as for a mouse click.
    RunGuarded([this] {
        short key = 0;
        UserControl_AccessKeyPress(key);
    });
}

void StyledButton::NotifyAccessibility() {
    const AccessibleFacts now = CurrentAccessibleFacts();
    const AccessibleFacts before = std::exchange(AccessibleShown, now);
    QAccessible::State changed;
    changed.disabled = now.disabled != before.disabled;
    changed.focused = now.focused != before.focused;
    changed.pressed = now.pressed != before.pressed;
    changed.checkable = now.checkable != before.checkable;
    changed.checked = now.checked != before.checked;
    changed.defaultButton = now.defaultButton != before.defaultButton;
    if (changed != QAccessible::State()) {
        QAccessibleStateChangeEvent event(this, changed);
        StyledButtonAccessible::Send(&event);
    }
    if (now.caption != before.caption) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        StyledButtonAccessible::Send(&event);
    }
}
