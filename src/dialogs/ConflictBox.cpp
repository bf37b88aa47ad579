// The replaceable overwrite question: a modal QMessageBox unless a test put its own function in
// place.
#include "ConflictBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace ConflictBox {
namespace {

Answer AskWithMessageBox(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, owner);
    QPushButton* overwrite = box.addButton(QObject::tr("&Overwrite"), QMessageBox::DestructiveRole);
    QPushButton* show = box.addButton(QObject::tr("&Show the file's slot"), QMessageBox::ResetRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    // Nothing of the other program's is lost by a slip of the Enter key.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == overwrite) {
        return Answer::Overwrite;
    }
    return box.clickedButton() == show ? Answer::ShowFileSlot : Answer::Cancel;
}

Function& Current() {
    static Function function = AskWithMessageBox;
    return function;
}

} // namespace

Answer Ask(QWidget* owner, const QString& title, const QString& text) {
    return Current()(owner, title, text);
}

Function SetFunction(Function function) {
    if (!function) {
        function = AskWithMessageBox;
    }
    return std::exchange(Current(), std::move(function));
}

} // namespace ConflictBox
