// The replaceable warning box: a modal QMessageBox unless a test put its own function in place.
#include "WarningBox.h"

#include <QMessageBox>
#include <utility>

namespace WarningBox {
namespace {

void ShowMessageBox(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox::warning(owner, title, text);
}

Function& Current() {
    static Function function = ShowMessageBox;
    return function;
}

} // namespace

void Show(QWidget* owner, const QString& title, const QString& text) {
    Current()(owner, title, text);
}

Function SetFunction(Function function) {
    if (!function) {
        function = ShowMessageBox;
    }
    return std::exchange(Current(), std::move(function));
}

} // namespace WarningBox
