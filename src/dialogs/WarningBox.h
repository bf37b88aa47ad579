// The editor's warning box (a save that failed, a file not opened), behind a function tests can replace so
// that no test ever waits on a modal box.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace WarningBox {

using Function = std::function<void(QWidget* owner, const QString& title, const QString& text)>;

// Shows `text` in a modal warning box over `owner` through the function in place.
void Show(QWidget* owner, const QString& title, const QString& text);

// Replaces the function Show uses; an empty function restores the modal QMessageBox. Returns the
// function that was in place.
Function SetFunction(Function function);

} // namespace WarningBox
