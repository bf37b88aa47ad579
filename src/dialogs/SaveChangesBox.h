// The question asked before an unsaved slot is left: Save, Discard or Cancel. Behind a function
// tests can replace, like the warning box, so that no test waits on a modal box.
#pragma once

#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

namespace SaveChangesBox {

enum class Answer { Save, Discard, Cancel };

using Function = std::function<Answer(QWidget* owner, const QString& title, const QString& text)>;

// Asks through the function in place; by default a modal QMessageBox with the standard buttons
// Save (the default), Discard and Cancel (also Escape and closing the box).
Answer Ask(QWidget* owner, const QString& title, const QString& text);

// Replaces the function Ask uses; an empty function restores the modal box. Returns the function
// that was in place.
Function SetFunction(Function function);

// The modal box the default function shows, not yet shown.
QMessageBox* CreateBox(QWidget* owner, const QString& title, const QString& text);

} // namespace SaveChangesBox
