// The question asked when Save finds that another program changed the slot since it was shown:
// Overwrite, Show the file's slot or Cancel. Behind a function tests can replace, like the other
// boxes, so that no test waits on a modal box.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ConflictBox {

enum class Answer { Overwrite, ShowFileSlot, Cancel };

using Function = std::function<Answer(QWidget* owner, const QString& title, const QString& text)>;

// Asks through the function in place; by default a modal box with Overwrite, "Show the file's
// slot" and Cancel (the default, also Escape and closing the box).
Answer Ask(QWidget* owner, const QString& title, const QString& text);

// Replaces the function Ask uses; an empty function restores the modal box. Returns the function
// that was in place.
Function SetFunction(Function function);

} // namespace ConflictBox
