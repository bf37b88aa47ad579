// The replaceable warning box: a modal message box unless a test put its own function in place.
#include "WarningBox.h"

#include "MessageBoxes.h"

namespace WarningBox {
namespace {

void ShowMessageBox(QWidget* owner, const QString& title, const QString& text) {
    MessageBoxes::Shape<bool> shape;
    shape.Buttons = {{QMessageBox::Ok, {}, QMessageBox::AcceptRole, true}};
    MessageBoxes::Run(owner, title, text, shape);
}

MessageBoxes::Replaceable<void(QWidget*, const QString&, const QString&)>& Current() {
    static MessageBoxes::Replaceable<void(QWidget*, const QString&, const QString&)> function(ShowMessageBox);
    return function;
}

} // namespace

void Show(QWidget* owner, const QString& title, const QString& text) {
    Current().Get()(owner, title, text);
}

Function SetFunction(Function function) {
    return Current().Set(std::move(function));
}

} // namespace WarningBox
