// The open image, its names, its table and its history, shared by the windows.
#include "EvolutionDocument.h"

#include "EnglishPlurals.h"
#include "NativePath.h"
#include "WriteSlotsCommand.h"

#include <QUndoStack>
#include <system_error>

EvolutionDocument::EvolutionDocument(QObject* parent) : QObject(parent), history(new QUndoStack(this)) {
    // The views' counted texts take their English singular and plural from it.
    EnglishPlurals::Install();
}

EvolutionDocument::~EvolutionDocument() = default;

rom::Status EvolutionDocument::Open(const std::filesystem::path& newFile) {
    // Identified before anything changes: a refused image leaves the open one open.
    rom::Result<rom::EvolutionImage> opened = rom::EvolutionImage::OpenHeldAtPath(newFile);
    if (!opened) {
        return rom::Status{opened.Reason()};
    }
    history->clear();
    image = std::move(*opened);
    file = newFile;
    path = NativePath::ToText(newFile);
    names = GameNames::ForImage(*image);
    table.reset();
    tableRead = false;
    tableStamp.reset();
    emit Opened();
    return {};
}

void EvolutionDocument::Close() {
    if (!image) {
        return;
    }
    history->clear();
    image.reset();
    file.clear();
    path.clear();
    names = GameNames::BuiltIn();
    table.reset();
    tableRead = false;
    tableStamp.reset();
    emit Closed();
}

QString EvolutionDocument::FileName() const {
    return NativePath::ToText(file.filename());
}

std::optional<EvolutionDocument::Stamp> EvolutionDocument::FileStamp() const {
    std::error_code error;
    Stamp stamp;
    stamp.Size = std::filesystem::file_size(file, error);
    if (error) {
        return std::nullopt;
    }
    stamp.Changed = std::filesystem::last_write_time(file, error);
    if (error) {
        return std::nullopt;
    }
    return stamp;
}

void EvolutionDocument::ReadTable() {
    // The stamp is taken first: a change made while the table is read shows at the next look.
    tableStamp = FileStamp();
    unreadable = {};
    table = image ? image->ReadTable(&unreadable) : std::nullopt;
    tableRead = image.has_value();
}

const EvolutionSummary::Table* EvolutionDocument::Table() {
    if (!image) {
        return nullptr;
    }
    if (!tableRead) {
        ReadTable();
    }
    return table ? &*table : nullptr;
}

void EvolutionDocument::Reread() {
    if (!image) {
        return;
    }
    ReadTable();
    emit TableReread();
}

bool EvolutionDocument::RereadIfChanged() {
    if (!image || (tableRead && tableStamp && FileStamp() == tableStamp)) {
        return false;
    }
    Reread();
    return true;
}

EvolutionDocument::Settled EvolutionDocument::SettleEdits() {
    return editGuard ? editGuard() : Settled::Discarded;
}

rom::SlotChangeReport EvolutionDocument::WriteSlots(const QString& text,
                                                    const std::vector<rom::SlotChange>& changes) {
    if (!image) {
        rom::SlotChangeReport report;
        if (!changes.empty()) {
            report.Failed.push_back({0, "no image is open"});
        }
        return report;
    }
    rom::SlotChangeReport report = rom::ApplySlotChanges(*image, changes, rom::OnFailure::PutBack);
    // What stays written is one step: all of it, or what could not be put back after a failure.
    std::vector<rom::SlotChange> step;
    if (report.Complete()) {
        step = report.Made;
    } else {
        for (const rom::SlotChangeReport::Left& left : report.NotPutBack) {
            step.insert(step.begin(), left.Change);
        }
    }
    std::erase_if(step, [](const rom::SlotChange& made) { return made.Expected == made.Value; });
    QList<rom::SlotPosition> written;
    for (const rom::SlotChange& made : report.Made) {
        written << made.At;
    }
    if (!step.empty()) {
        history->push(new WriteSlotsCommand(*this, text, std::move(step)));
    }
    if (!report.Complete()) {
        // Put back, or not: the file may differ from the table read before.
        for (const rom::SlotChangeReport::Left& left : report.NotPutBack) {
            written << left.Change.At;
        }
    }
    Written(written, Cause::Write);
    return report;
}

void EvolutionDocument::Written(const QList<rom::SlotPosition>& positions, Cause cause) {
    // The table is read again when next asked for: one read of the records is cheaper than
    // keeping the copy in step by hand.
    tableRead = false;
    emit SlotsWritten(positions, cause);
}

void EvolutionDocument::Undo() {
    if (!image || !history->canUndo() || SettleEdits() != Settled::Discarded) {
        // A saved edit is the newest change, which this key press must not take back at once.
        return;
    }
    history->undo();
}

void EvolutionDocument::Redo() {
    if (!image || !history->canRedo() || SettleEdits() != Settled::Discarded) {
        return;
    }
    history->redo();
}
