// The replaceable save-changes question: a modal QMessageBox unless a test put its own function in
// place.
#include "SaveChangesBox.h"

#include <QMessageBox>
#include <memory>
#include <utility>

namespace SaveChangesBox {
namespace {

Answer AskWithMessageBox(QWidget* owner, const QString& title, const QString& text) {
    const std::unique_ptr<QMessageBox> box(CreateBox(owner, title, text));
    switch (box->exec()) {
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

Function& Current() {
    static Function function = AskWithMessageBox;
    return function;
}

} // namespace

QMessageBox* CreateBox(QWidget* owner, const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text,
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box->setInformativeText(QObject::tr("Save the slot before going on?"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

Answer Ask(QWidget* owner, const QString& title, const QString& text) {
    return Current()(owner, title, text);
}

Function SetFunction(Function function) {
    if (!function) {
        function = AskWithMessageBox;
    }
    return std::exchange(Current(), std::move(function));
}

} // namespace SaveChangesBox
