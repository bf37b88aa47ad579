// Test access to a real editor window: its controls found by name, the dialog chooser and
// warning box and questions answered without any modal window, and the table window's review
// lists read and answered.
#pragma once

#include "ConflictBox.h"
#include "EditorSession.h"
#include "Form1.h"
#include "SaveChangesBox.h"
#include "StyledButton.h"
#include "WarningBox.h"
#include "clsCommonDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

// While alive, every Open dialog answers with the next queued path (empty: cancel), every
// warning box is recorded instead of shown, and every question about an unsaved slot is recorded
// and answered with `answer` (Discard unless a test says otherwise).
class DialogStandIns {
public:
    DialogStandIns() {
        previousChooser = clsCommonDialog::SetChooser([this](const FileChooserRequest& request) {
            requests.push_back(request);
            if (answers.empty()) {
                return FileChooserResult{};
            }
            FileChooserResult answer{answers.front(), filterIndex};
            answers.erase(answers.begin());
            return answer;
        });
        previousWarning = WarningBox::SetFunction(
            [this](QWidget*, const QString& title, const QString& text) { warnings << title + u'|' + text; });
        previousQuestion = SaveChangesBox::SetFunction([this](QWidget*, const QString&, const QString& text) {
            questions << text;
            return answer;
        });
        previousConflict = ConflictBox::SetFunction([this](QWidget*, const QString&, const QString& text) {
            conflicts << text;
            return conflictAnswer;
        });
    }
    ~DialogStandIns() {
        clsCommonDialog::SetChooser(previousChooser);
        WarningBox::SetFunction(previousWarning);
        SaveChangesBox::SetFunction(previousQuestion);
        ConflictBox::SetFunction(previousConflict);
    }
    DialogStandIns(const DialogStandIns&) = delete;
    DialogStandIns& operator=(const DialogStandIns&) = delete;

    std::vector<QString> answers;
    int filterIndex = 1; // the file type every answer is chosen with
    std::vector<FileChooserRequest> requests;
    QStringList warnings;
    QStringList questions;
    SaveChangesBox::Answer answer = SaveChangesBox::Answer::Discard;
    // Save over a slot another program changed: recorded, answered with `conflictAnswer`.
    QStringList conflicts;
    ConflictBox::Answer conflictAnswer = ConflictBox::Answer::Cancel;

private:
    FileChooser previousChooser;
    WarningBox::Function previousWarning;
    SaveChangesBox::Function previousQuestion;
    ConflictBox::Function previousConflict;
};

// What a review list of the table window (before an import, a patch or after a comparison) showed.
struct Review {
    bool Shown = false;
    QString Heading;
    QStringList Lines;
    QStringList Buttons; // the texts of its buttons
};

// Reads the next modal dialog, a review list, once it shows, then accepts or dismisses it;
// `meanwhile` runs while it is open.
inline std::shared_ptr<Review> AnswerReview(bool accept, const std::function<void()>& meanwhile = {}) {
    auto review = std::make_shared<Review>();
    QTimer::singleShot(0, [review, accept, meanwhile] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        review->Shown = true;
        if (auto* heading = dialog->findChild<QLabel*>()) {
            review->Heading = heading->text();
        }
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("importLines"));
        for (int i = 0; list && i < list->count(); ++i) {
            review->Lines << list->item(i)->text();
        }
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            review->Buttons << button->text();
        }
        if (meanwhile) {
            meanwhile();
        }
        accept ? dialog->accept() : dialog->reject();
    });
    return review;
}

struct EditorWindow {
    EditorWindow() {
        lstPokemon = Find<QListWidget>("lstPokemon");
        Frame1 = Find<QGroupBox>("Frame1");
        cmbType = Find<QComboBox>("cmbType");
        cmbLevel = Find<QComboBox>("cmbLevel");
        cmbItem = Find<QComboBox>("cmbItem");
        cmbPokemon = Find<QComboBox>("cmbPokemon");
        cmbAttack = Find<QComboBox>("cmbAttack");
        cmbEvoTo = Find<QComboBox>("cmbEvoTo");
        cmdOpen = Find<StyledButton>("cmdOpen");
        cmdSave = Find<StyledButton>("cmdSave");
        Image1 = Find<QLabel>("Image1");
        for (int i = 0; i < 7; ++i) {
            optNum[i] = Find<QRadioButton>(QStringLiteral("optNum%1").arg(i));
        }
    }

    template <typename T> T* Find(const QString& name) const { return form.findChild<T*>(name); }

    // Opens `path` through the Open button, the dialog answering with it.
    void Open(DialogStandIns& dialogs, const QString& path) {
        dialogs.answers.push_back(path);
        Click(cmdOpen);
    }

    // A left click in the middle of a command button, as the user makes it.
    static void Click(StyledButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    }

    // Whether a control of the slot editor is enabled in itself (the frame aside).
    static bool OwnEnabled(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }

    // The document, the editor window over it and, once asked for, the table window.
    EditorSession session;
    Form1& form = session.Editor();
    QListWidget* lstPokemon = nullptr;
    QGroupBox* Frame1 = nullptr;
    QComboBox* cmbType = nullptr;
    QComboBox* cmbLevel = nullptr;
    QComboBox* cmbItem = nullptr;
    QComboBox* cmbPokemon = nullptr;
    QComboBox* cmbAttack = nullptr;
    QComboBox* cmbEvoTo = nullptr;
    StyledButton* cmdOpen = nullptr;
    StyledButton* cmdSave = nullptr;
    QLabel* Image1 = nullptr;
    std::array<QRadioButton*, 7> optNum{};
};
