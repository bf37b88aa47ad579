// What assistive technology sees of a StyledButton: a push button (a check box when it toggles)
// named by its caption, its states, and the press action, which clicks it as the mouse does.
#pragma once

#include <QAccessibleWidget>
#include <functional>

class StyledButton;

class StyledButtonAccessible : public QAccessibleWidget {
public:
    explicit StyledButtonAccessible(StyledButton* button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // Makes Qt hand out this interface for every StyledButton; later calls do nothing.
    static void InstallFactory();

    // Where the buttons' change events go: QAccessible::updateAccessibility, which passes them on
    // only while a reader listens. Tests install their own receiver; an empty one restores Qt's.
    using EventSink = std::function<void(QAccessibleEvent* event)>;
    static void SetEventSink(EventSink sink);
    static void Send(QAccessibleEvent* event);

private:
    StyledButton* Button() const;
};
