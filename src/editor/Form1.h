// The editor window: a species list, the slot buttons (seven, or the eight or nine of an enlarged
// table) and the slot editors, which show one evolution slot of an open ROM image and save it back
// in place.
#pragma once

#include "EvolutionDocument.h"
#include "EvolutionImage.h"
#include "EvolutionMethods.h"
#include "GameNames.h"
#include "SaveChangesBox.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;
class StyledButton;
class ValueList;

class Form1 : public QWidget {
    Q_OBJECT

public:
    // A view of `document`: it shows one slot of the document's image and saves it back through
    // the document. Without a document the window makes one of its own.
    explicit Form1(EvolutionDocument* document, QWidget* parent = nullptr);
    explicit Form1(QWidget* parent = nullptr);

    // "Evolution Editor": the window's caption, and the title of its message boxes.
    static QString WindowTitle() { return QStringLiteral("Evolution Editor"); }

    // Opens `path` exactly as if it had been chosen in the Open dialog: an image the editor knows
    // enables the editor and shows species 1's current slot from it; an image it refuses gets one
    // warning and leaves the open image as it was; empty text disables the editor again. Used for a
    // path on the command line and for a dropped .nds file.
    void OpenRomImage(const QString& path);
    // The same for a path in the platform's own form, which need not be valid text (a command-line
    // argument that is not UTF-8).
    void OpenRomImage(const std::filesystem::path& file);

    EvolutionDocument* Document() const { return document; }
    // The open image and where its table lies; none while no image is open.
    const rom::EvolutionImage* Image() const { return document->Image(); }
    // The names the lists show: the open image's own where it holds them, else built-in ones.
    const GameNames& Names() const { return document->Names(); }

    // Whether the slot on screen holds an edit that Save would write over other bytes in the file.
    // The editors are first compared with what they showed when the slot was read (no edit: no
    // need to ask, nor to read the file); only then is the slot read from the file, so that the
    // display itself, and an edit taken back, never count as a change.
    bool IsSlotModified() const;

    // The document's history (Ctrl+Z, Ctrl+Shift+Z): saves and imports undone and redone in the
    // file, each slot only while the file still holds what the step wrote there.
    void Undo() { document->Undo(); }
    void Redo() { document->Redo(); }
    bool CanUndo() const;
    bool CanRedo() const;

    // Shows slot `slot` of `species` exactly as if the user had picked them here (an unsaved slot
    // is asked about first), and brings the editor to the front.
    void ShowPickedSlot(int species, int slot);

    // Window-level state the handlers share.
    std::int16_t CurrentSlot = 0; // the slot shown and saved, 0 to 6 (to 8 on a nine-slot table)
    // A parameter on its way from the slot read (or from Save) to the next method change.
    std::int32_t PendingParam = 0;

    // Handlers, under the names of the events they answer. Code that sets a list's row runs that
    // list's handler before the assignment returns; the slot display relies on it.
    void Form_Load();
    void cmdOpen_Click();
    void cmdSave_Click();
    void lstPokemon_Click();
    void optNum_Click(int index);
    void cmbType_Click();

signals:
    // Ctrl+T: the user asks for the table window of the open image.
    void TableWindowRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void CreateCommandButtons();
    void CreateLayoutLists();
    void CreateSlotButtons();
    void ConnectSlotControls();
    // A command button with the properties stored in the window's design data under `name`.
    StyledButton* CreateCommandButton(const QString& name, const QRect& geometry);
    void SetTabOrder();
    void CreateShortcuts();
    void CreateTableShortcut();
    QRect TwipsRect(int left, int top, int width, int height) const;
    ValueList* CreateList(const char* name, QWidget* parent, const QRect& geometry, const QStringList& rows);

    std::int32_t ReadField(rom::SlotField field) const;
    void SetEditorEnabled(bool enabled);
    void UpdateTitle();
    // Puts `names` into the species, target and parameter lists, touching only those that change.
    void ShowNames(const GameNames& shown);
    // The title's unsaved mark; Qt redoes the title on every call, so only a change is passed on.
    void SetModifiedMark(bool modified);
    // Opening without asking about the slot on screen (the caller has asked).
    void OpenImage(const QString& path);
    void OpenImage(const std::filesystem::path& file);

    // What Save would write for the slot on screen: the parameter from the method's own list.
    std::int32_t ParameterOnScreen() const;
    rom::EvolutionSlot SlotOnScreen() const;
    // Writes the slot on screen into slot `slot` of `species`, warning when it cannot, and records
    // the step when it changed the file.
    bool SaveSlot(int species, int slot);
    // Asks about the unsaved slot on screen; Discard when nothing on screen is unsaved.
    SaveChangesBox::Answer AskAboutShownSlot();
    // Asks about an unsaved slot before it is left: true to go on (saved or discarded).
    bool ConfirmLeavingSlot();
    // After a cancelled move: the species list and the slot buttons point at the slot on screen.
    void ReturnToShownSlot();
    // Shows `slot` of `species` as if chosen, without asking (the window's own moves).
    void ShowSlot(int species, int slot);
    // A list changed: by the user, unless the window is showing a slot or changing the method.
    void SlotEdited();
    // The document's news: another image, none, slots written.
    void ImageOpened();
    void ImageClosed();
    void SlotsWritten(const QList<rom::SlotPosition>& positions, EvolutionDocument::Cause cause);
    // Asked before the file changes under the editor (an undo, an import).
    EvolutionDocument::Settled SettleShownSlot();
    void ApplyEnabledStates(const EvolutionMethods::MethodChange& change);
    // The level row holds the level list, or hg-engine's type list, under the label of what the
    // method's parameter is.
    void ShowParameterRow(ParameterKind kind);
    // The slot buttons, the window's width and the form list for the open image's layout: a
    // seven-slot table keeps the window's own size.
    void ApplyLayout(const rom::TableLayout& shown);
    // The target on screen as the file stores it: the species, with its form where targets carry
    // one.
    std::int32_t TargetOnScreen() const;
    // The slot buttons of the species shown: a used slot's caption is bold.
    void UpdateSlotMarks();
    void SetSlotMark(int slot, bool used);

    QListWidget* lstPokemon = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    ValueList* cmbType = nullptr;
    ValueList* cmbItem = nullptr;
    ValueList* cmbLevel = nullptr;
    ValueList* cmbPokemon = nullptr;
    ValueList* cmbAttack = nullptr;
    ValueList* cmbEvoTo = nullptr;
    StyledButton* cmdOpen = nullptr;
    std::array<QRadioButton*, rom::MaxSlotCount> optNum{}; // 7 and 8 only on tables with them
    QButtonGroup* slotButtons = nullptr;
    StyledButton* cmdSave = nullptr;
    QLabel* Image1 = nullptr;
    // hg-engine's: the type a method's parameter names, and the form of the target.
    ValueList* cmbMoveType = nullptr;
    QLabel* LabelForm = nullptr;
    ValueList* cmbForm = nullptr;

    EvolutionDocument* document = nullptr;
    // The layout of the image opened last: which slots, methods and fields the window offers.
    rom::TableLayout layout;
    // The names in the lists: those of the image opened last.
    GameNames names = GameNames::BuiltIn();

    // The slot whose values the editors show; -1 before the first display.
    int shownSpecies = -1;
    int shownSlot = 0;
    // What Save would have written right after the slot was shown, or last saved.
    rom::SlotBytes shownBytes{};
    // The slot's bytes in the file when it was shown or last saved: Save writes over them only.
    rom::SlotBytes fileBytesShown{};
    // Above 0 while the window moves between slots itself, or sets lists itself.
    int quietNavigation = 0;
    int quietEdits = 0;
    // While a slot is shown, the method changes' enabled states wait for its end.
    bool showingSlot = false;
    std::optional<EvolutionMethods::MethodChange> deferredEnabled;
    // Set while Save writes through the document: the window knows what it wrote.
    bool saving = false;

    // A parameter stored with a method that shows none (a beauty value under "Max Beauty"), kept
    // so that Save writes it back until the user changes the method.
    std::optional<std::uint16_t> hiddenParameter;
};
