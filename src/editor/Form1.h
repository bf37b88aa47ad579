// The editor window: a species list, seven slot buttons and the slot editors, which show one
// evolution slot of an open ROM image and save it back in place.
#pragma once

#include "EvolutionImage.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;
class StyledButton;

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

    // Opens `path` exactly as if it had been chosen in the Open dialog: an image the editor knows
    // enables the editor and shows species 1's current slot from it; an image it refuses gets one
    // warning and leaves the open image as it was; empty text disables the editor again. Used for a
    // path on the command line and for a dropped .nds file.
    void OpenRomImage(const QString& path);
    // The same for a path in the platform's own form, which need not be valid text (a command-line
    // argument that is not UTF-8).
    void OpenRomImage(const std::filesystem::path& file);

    // The open image and where its table lies; none while no image is open.
    const rom::EvolutionImage* Image() const { return image ? &*image : nullptr; }

    // Window-level state the handlers share. The image is never held open: every display and
    // save opens the file at RomPath itself.
    QString RomPath;              // the open image; empty while none is open
    std::int16_t CurrentSlot = 0; // the slot shown and saved, 0 to 6
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

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void CreateCommandButtons();
    // A command button with the properties stored in the window's design data under `name`.
    StyledButton* CreateCommandButton(const QString& name, const QRect& geometry);
    void SetTabOrder();
    QRect TwipsRect(int left, int top, int width, int height) const;
    QComboBox* CreateList(const char* name, QWidget* parent, const QRect& geometry, const QStringList& rows);

    std::int32_t ReadField(rom::SlotField field) const;
    void SetEditorEnabled(bool enabled);
    void UpdateTitle();

    QListWidget* lstPokemon = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* cmbType = nullptr;
    QComboBox* cmbItem = nullptr;
    QComboBox* cmbLevel = nullptr;
    QComboBox* cmbPokemon = nullptr;
    QComboBox* cmbAttack = nullptr;
    QComboBox* cmbEvoTo = nullptr;
    StyledButton* cmdOpen = nullptr;
    std::array<QRadioButton*, 7> optNum{};
    StyledButton* cmdSave = nullptr;
    QLabel* Image1 = nullptr;

    // Set while an image is open: RomPath's file and its table.
    std::optional<rom::EvolutionImage> image;

    // A parameter stored with a method that shows none (a beauty value under "Max Beauty"), kept
    // so that Save writes it back until the user changes the method.
    std::optional<std::uint16_t> hiddenParameter;
};
