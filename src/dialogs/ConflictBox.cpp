// The replaceable overwrite question: a modal message box unless a test put its own function in
// place.
#include "ConflictBox.h"

#include "MessageBoxes.h"

namespace ConflictBox {
namespace {

Answer AskWithMessageBox(QWidget* owner, const QString& title, const QString& text) {
    // Nothing of the other program's is lost by a slip of the Enter key: Cancel is the default.
    MessageBoxes::Shape<Answer> shape;
    shape.Buttons = {
        {QMessageBox::NoButton, QObject::tr("&Overwrite"), QMessageBox::DestructiveRole, Answer::Overwrite},
        {QMessageBox::NoButton, QObject::tr("&Show the file's slot"), QMessageBox::ResetRole,
         Answer::ShowFileSlot},
        {QMessageBox::Cancel, {}, QMessageBox::RejectRole, Answer::Cancel}};
    shape.Default = 2;
    shape.Escape = 2;
    return MessageBoxes::Run(owner, title, text, shape);
}

MessageBoxes::Replaceable<Answer(QWidget*, const QString&, const QString&)>& Current() {
    static MessageBoxes::Replaceable<Answer(QWidget*, const QString&, const QString&)> function(
        AskWithMessageBox);
    return function;
}

} // namespace

Answer Ask(QWidget* owner, const QString& title, const QString& text) {
    return Current().Get()(owner, title, text);
}

Function SetFunction(Function function) {
    return Current().Set(std::move(function));
}

} // namespace ConflictBox
