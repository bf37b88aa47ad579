// Test access to a real editor window: its controls found by name, and the dialog chooser and
// warning box and questions answered without any modal window.
#pragma once

#include "ConflictBox.h"
#include "EditorSession.h"
#include "Form1.h"
#include "SaveChangesBox.h"
#include "StyledButton.h"
#include "WarningBox.h"
#include "clsCommonDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <array>
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
            FileChooserResult answer{answers.front(), 1};
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
