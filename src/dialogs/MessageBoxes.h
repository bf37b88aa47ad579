// The one shape of the editor's message boxes: a modal QMessageBox made from a list of buttons,
// each standing for one answer, behind a function that tests replace so that no test ever waits
// on a modal box.
#pragma once

#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QVariant>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace MessageBoxes {

// The property naming the answer a button of a box stands for.
inline constexpr char AnswerIndex[] = "answerIndex";

// A button of a box: a standard one (Save, Cancel, ...) or one with a caption and a role of its own.
template <typename Answer> struct Button {
    QMessageBox::StandardButton Standard = QMessageBox::NoButton;
    QString Caption;
    QMessageBox::ButtonRole Role = QMessageBox::InvalidRole;
    Answer Value{};
};

template <typename Answer> struct Shape {
    QMessageBox::Icon Icon = QMessageBox::Warning;
    QString Informative;
    std::vector<Button<Answer>> Buttons;
    std::size_t Default = 0; // the button Enter presses
    std::size_t Escape = 0;  // the button Escape presses, and the answer when the box is closed
};

// The box, not yet shown; each button at the index of its answer in `shape.Buttons`.
template <typename Answer>
QMessageBox* Create(QWidget* owner, const QString& title, const QString& text, const Shape<Answer>& shape) {
    auto* box = new QMessageBox(shape.Icon, title, text, QMessageBox::NoButton, owner);
    if (!shape.Informative.isEmpty()) {
        box->setInformativeText(shape.Informative);
    }
    std::vector<QAbstractButton*> buttons;
    for (std::size_t i = 0; i < shape.Buttons.size(); ++i) {
        const Button<Answer>& button = shape.Buttons[i];
        QAbstractButton* made = button.Standard != QMessageBox::NoButton
                                    ? box->addButton(button.Standard)
                                    : box->addButton(button.Caption, button.Role);
        made->setProperty(AnswerIndex, static_cast<qulonglong>(i));
        buttons.push_back(made);
    }
    box->setDefaultButton(qobject_cast<QPushButton*>(buttons.at(shape.Default)));
    box->setEscapeButton(buttons.at(shape.Escape));
    return box;
}

// Shows the box and waits for the answer.
template <typename Answer>
Answer Run(QWidget* owner, const QString& title, const QString& text, const Shape<Answer>& shape) {
    const std::unique_ptr<QMessageBox> box(Create(owner, title, text, shape));
    box->exec();
    const QAbstractButton* clicked = box->clickedButton();
    const QVariant index = clicked ? clicked->property(AnswerIndex) : QVariant();
    return shape.Buttons.at(index.isValid() ? index.toULongLong() : shape.Escape).Value;
}

// The function a box is asked through: the modal box by default, a test's stand-in while set.
template <typename Signature> class Replaceable {
public:
    using Function = std::function<Signature>;
    explicit Replaceable(Function standard) : standard(std::move(standard)), current(this->standard) {}

    const Function& Get() const { return current; }
    // An empty function puts the modal box back. Returns the function that was in place.
    Function Set(Function function) {
        if (!function) {
            function = standard;
        }
        return std::exchange(current, std::move(function));
    }

private:
    Function standard;
    Function current;
};

} // namespace MessageBoxes
