// The replaceable save-changes question: a modal message box unless a test put its own function in
// place.
#include "SaveChangesBox.h"

#include "MessageBoxes.h"

namespace SaveChangesBox {
namespace {

MessageBoxes::Shape<Answer> BoxShape() {
    MessageBoxes::Shape<Answer> shape;
    shape.Informative = QObject::tr("Save the slot before going on?");
    shape.Buttons = {{QMessageBox::Save, {}, QMessageBox::AcceptRole, Answer::Save},
                     {QMessageBox::Discard, {}, QMessageBox::DestructiveRole, Answer::Discard},
                     {QMessageBox::Cancel, {}, QMessageBox::RejectRole, Answer::Cancel}};
    shape.Default = 0;
    shape.Escape = 2;
    return shape;
}

Answer AskWithMessageBox(QWidget* owner, const QString& title, const QString& text) {
    return MessageBoxes::Run(owner, title, text, BoxShape());
}

MessageBoxes::Replaceable<Answer(QWidget*, const QString&, const QString&)>& Current() {
    static MessageBoxes::Replaceable<Answer(QWidget*, const QString&, const QString&)> function(
        AskWithMessageBox);
    return function;
}

} // namespace

QMessageBox* CreateBox(QWidget* owner, const QString& title, const QString& text) {
    return MessageBoxes::Create(owner, title, text, BoxShape());
}

Answer Ask(QWidget* owner, const QString& title, const QString& text) {
    return Current().Get()(owner, title, text);
}

Function SetFunction(Function function) {
    return Current().Set(std::move(function));
}

} // namespace SaveChangesBox
