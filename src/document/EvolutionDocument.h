// What the editor has open: one image held open and identified, its names, its table as last
// read, and the history of the slots written into it. The windows are views of it: they read
// through it, change the file only through it, and follow its signals.
#pragma once

#include "EvolutionImage.h"
#include "EvolutionSummary.h"
#include "GameNames.h"
#include "SlotChanges.h"

#include <QList>
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QUndoStack;

class EvolutionDocument : public QObject {
    Q_OBJECT

public:
    // Why slots were written: the views show the slot of an undone or redone save.
    enum class Cause { Write, Undo, Redo };

    // What a view with an unsaved edit answered before the file changes under it.
    enum class Settled { Saved, Discarded, Cancelled };

    explicit EvolutionDocument(QObject* parent = nullptr);
    ~EvolutionDocument() override;

    // Identifies the image at `file` and holds it open, for writing where that is allowed (else
    // each write says why not). A refused image leaves the open one open and gives the reason.
    rom::Status Open(const std::filesystem::path& file);
    // Nothing open any more; the history goes with the image.
    void Close();

    bool IsOpen() const { return image.has_value(); }
    // The open image; null while none is open.
    const rom::EvolutionImage* Image() const { return image ? &*image : nullptr; }
    // The names the image is shown with: its own where it holds them, else built-in ones.
    const GameNames& Names() const { return names; }
    // The image's path, as the user sees it (native separators are the view's business); empty
    // while none is open.
    const QString& Path() const { return path; }
    // The file name without its folder.
    QString FileName() const;

    // The whole table as last read from the file, read now when it has not been; null when the file
    // does not hold it all (`Unreadable()` then says which slot is missing).
    const EvolutionSummary::Table* Table();
    const rom::SlotPosition& Unreadable() const { return unreadable; }
    // Reads the table again whatever the file looks like (F5); emits TableReread.
    void Reread();
    // Reads the table again only when the file's size or time of change differs from when it was
    // last read, so that coming back to a window costs nothing while nothing changed. True when it
    // was read again.
    bool RereadIfChanged();

    // Makes `changes` as one step of the history, all or nothing: should a write fail, the slots
    // written before it are put back (any that cannot be stay in the history). `text` names the
    // step.
    rom::SlotChangeReport WriteSlots(const QString& text, const std::vector<rom::SlotChange>& changes);

    // The history of writes: one step per save or import. Undo and redo first settle an unsaved
    // edit in the views; a step is put back only in the slots that still hold what it wrote.
    QUndoStack* History() const { return history; }
    void Undo();
    void Redo();

    // Asked before the file changes under the views (an undo, an import): the view holding an
    // unsaved edit asks about it. Without a guard there is nothing to settle.
    using EditGuard = std::function<Settled()>;
    void SetEditGuard(EditGuard guard) { editGuard = std::move(guard); }
    Settled SettleEdits();

    // Asks the editor view to show a slot as if the user had picked it there.
    void PickSlot(int species, int slot) { emit SlotPicked(species, slot); }

    // For the history's steps: reports problems once, and tells the views what was written.
    void Report(const QString& text) { emit Problem(text); }
    void Written(const QList<rom::SlotPosition>& positions, Cause cause);

signals:
    // Another image is open (or the first one).
    void Opened();
    // No image is open any more.
    void Closed();
    // Slots of the file were written through the document.
    void SlotsWritten(const QList<rom::SlotPosition>& positions, EvolutionDocument::Cause cause);
    // The table was read from the file again (F5, or another program changed it).
    void TableReread();
    // Something the user should know that no caller waits for (an undo that could not be made).
    void Problem(const QString& text);
    // A view asks the editor to show this slot.
    void SlotPicked(int species, int slot);

private:
    struct Stamp {
        std::uintmax_t Size = 0;
        std::filesystem::file_time_type Changed;
        bool operator==(const Stamp&) const = default;
    };
    std::optional<Stamp> FileStamp() const;
    void ReadTable();

    std::optional<rom::EvolutionImage> image;
    GameNames names = GameNames::BuiltIn();
    std::filesystem::path file;
    QString path;
    QUndoStack* history = nullptr;
    EditGuard editGuard;

    std::optional<EvolutionSummary::Table> table;
    bool tableRead = false;
    rom::SlotPosition unreadable;
    std::optional<Stamp> tableStamp;
};
