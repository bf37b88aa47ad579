// The slot model: an open image (its path and where its table lies) and the reading and writing
// of one evolution slot in it. Everything that reads or writes a slot goes through here, so the
// slot's encoding exists once. Nothing is cached: every call goes to the file.
#pragma once

#include "EvolutionTable.h"
#include "ImageFile.h"
#include "ImageNames.h"
#include "Result.h"
#include "TableLocation.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace rom {

// A slot's six bytes as they lie in the file.
using SlotBytes = std::array<std::uint8_t, EvolutionSlot::Size>;

SlotBytes EncodeSlot(const EvolutionSlot& slot);
EvolutionSlot DecodeSlot(const SlotBytes& bytes);
bool operator==(const EvolutionSlot& a, const EvolutionSlot& b);

// A slot of the table: a record (a species, or a form where the image has records for forms) and
// one of its slots (0 .. the layout's slots - 1).
struct SlotPosition {
    int Species = 0;
    int Slot = 0;
};

class EvolutionImage {
public:
    // Identifies the image at `path` and finds its table through one open of the file, which is
    // closed again: every later read and write opens the path itself (the window's way), and a
    // write first checks, on the handle it writes through, that the path still leads to the file
    // identified here. The reason names why an image is refused, also one too short for its table.
    static Result<EvolutionImage> Open(const std::filesystem::path& path);
    // The same, keeping that one open for every read and write (the command-line tool's way), so
    // that each byte reaches the file identified, whatever happens to the path meanwhile. With
    // `forWriting` the file is opened for writing too; where that is refused, the image is still
    // read and each write is refused with the reason.
    static Result<EvolutionImage> OpenHeld(const std::filesystem::path& path, bool forWriting);
    // Held open as above (the editor's way), and before each write the path is checked to lead
    // to the file held still: an image another file was put in place of, or that was moved, is
    // not written behind the user's back, as the path the user sees names another file.
    static Result<EvolutionImage> OpenHeldAtPath(const std::filesystem::path& path);
    // An image taken as it is, without identification (nothing to check a write against).
    EvolutionImage(std::filesystem::path path, TableLocation location);

    const std::filesystem::path& Path() const { return path_; }
    const TableLocation& Location() const { return location_; }
    // The file as identified when it was opened; none for an image taken as it is.
    const std::optional<FileIdentity>& Identity() const { return identity_; }

    // One 16-bit field, read through the byte routines: a field that cannot be read is 0.
    std::uint16_t ReadField(int species, int slot, SlotField field) const;
    // The slot's three fields, read one by one (target, parameter, method).
    EvolutionSlot ReadSlot(int species, int slot) const;
    // The slot's six bytes in one read, or nothing when they cannot all be read.
    std::optional<SlotBytes> ReadSlotBytes(int species, int slot) const;
    // The record's slots (as many as the layout gives a record) in one read, or nothing when they
    // cannot all be read.
    std::optional<EvolutionRecord> ReadRecord(int species) const;
    // Every record of the layout (Location().Records() records of Location().Slots() slots),
    // record 0 first, with one open and one read: the records lie
    // together in one archive, so the bytes from the first record to the end of the last are read
    // at once. Nothing when the file does not hold them all; `*unreadable` then names the first
    // slot missing.
    std::optional<std::vector<EvolutionRecord>> ReadTable(SlotPosition* unreadable = nullptr) const;

    // The species, move and item names the image holds, read the way its slots are read (the
    // tool's one open, or an open of the path).
    ImageNames ReadNames() const;

    // Writes the slot's six bytes in one write call while holding a lock on them. Everything that
    // can be checked is checked before (a regular, writable file not marked read-only, still the
    // file identified, holding all six bytes), and a failing write leaves the slot as it was.
    // `previous`, when given, receives the bytes the slot held.
    Status WriteSlot(int species, int slot, const EvolutionSlot& value, SlotBytes* previous = nullptr) const;
    // The same, only when the file still holds `expected` there: compared under the same lock,
    // so no other writer can come between the comparison and the write.
    Status ReplaceSlot(int species, int slot, const SlotBytes& expected, const EvolutionSlot& value) const;

    // The reason ReplaceSlot gives for a slot that no longer holds what was expected.
    static const char* const ChangedSinceRead;

private:
    // `count` bytes at `offset`, through the held open when there is one, else through one open of
    // the path; false when they cannot all be read.
    bool ReadBytes(std::int64_t offset, std::size_t count, std::uint8_t* out) const;
    Status Write(int species, int slot, const SlotBytes* expected, const EvolutionSlot& value,
                 SlotBytes* previous) const;
    // Empty when `file` is the file identified at Open, with its game and table where they were.
    std::string CheckIdentified(const ImageFile& file) const;

    std::filesystem::path path_;
    TableLocation location_;
    // The file as identified, for the window's writes; none for an image taken as it is.
    std::optional<FileIdentity> identity_;
    std::uint64_t size_ = 0;
    // The tool's one open of the file, and why it cannot be written when it cannot.
    std::shared_ptr<const ImageFile> held_;
    std::string writeProblem_;
    bool pathChecked_ = false;
};

} // namespace rom
