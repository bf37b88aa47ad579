// Reading and writing one slot: through the byte routines, or through the one open the tool holds.
#include "EvolutionImage.h"

#include "Module1.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

namespace rom {

SlotBytes EncodeSlot(const EvolutionSlot& slot) {
    SlotBytes bytes{};
    const std::uint16_t fields[] = {slot.Method, slot.Parameter, slot.Target};
    const int offsets[] = {EvolutionSlot::MethodOffset, EvolutionSlot::ParameterOffset,
                           EvolutionSlot::TargetOffset};
    for (int i = 0; i < 3; ++i) {
        bytes[static_cast<std::size_t>(offsets[i])] = static_cast<std::uint8_t>(fields[i] & 0xFF);
        bytes[static_cast<std::size_t>(offsets[i]) + 1] = static_cast<std::uint8_t>(fields[i] >> 8);
    }
    return bytes;
}

EvolutionSlot DecodeSlot(const SlotBytes& bytes) {
    const auto field = [&bytes](int at) {
        return static_cast<std::uint16_t>(bytes[static_cast<std::size_t>(at)] |
                                          (bytes[static_cast<std::size_t>(at) + 1] << 8));
    };
    return EvolutionSlot{field(EvolutionSlot::MethodOffset), field(EvolutionSlot::ParameterOffset),
                         field(EvolutionSlot::TargetOffset)};
}

namespace {

// The `slotCount` slots of a record whose bytes start at `bytes`.
EvolutionRecord DecodeRecord(const std::uint8_t* bytes, int slotCount) {
    EvolutionRecord record = EvolutionRecord::Empty(slotCount);
    for (int slot = 0; slot < slotCount; ++slot) {
        SlotBytes one{};
        std::copy_n(bytes + static_cast<std::ptrdiff_t>(slot) * EvolutionSlot::Size, one.size(), one.begin());
        record.Slots[slot] = DecodeSlot(one);
    }
    return record;
}

// The widest span of records read at once. An archive keeps its records side by side (21,736
// bytes for a retail table, 82,656 for hg-engine's); one whose member table scatters them is
// read record by record rather than by a buffer as large as the image.
constexpr std::int64_t MaxTableSpan = std::int64_t{1} << 20;

} // namespace

bool operator==(const EvolutionSlot& a, const EvolutionSlot& b) {
    return a.Method == b.Method && a.Parameter == b.Parameter && a.Target == b.Target;
}

const char* const EvolutionImage::ChangedSinceRead = "the slot has been changed by another program since";

namespace {

// Where the last record ends: an image shorter than that cannot hold its table.
std::uint64_t TableEnd(const TableLocation& location) {
    std::uint64_t end = 0;
    for (int record = 0; record < location.Records(); ++record) {
        end = std::max<std::uint64_t>(end, static_cast<std::uint64_t>(location.RecordOffset(record)) +
                                               static_cast<std::uint64_t>(location.Layout().RecordSize));
    }
    return end;
}

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// Identifies the open file and finds its table, refusing a file that ends inside the table.
Result<TableLocation> Identify(const ImageFile& file) {
    if (!file.Problem().empty()) {
        return Failure{file.Problem()};
    }
    Result<TableLocation> location = LocateEvolutionTable(ImageFileSource(file));
    if (location && file.Size() < TableEnd(*location)) {
        return Failure{"the file is too short to hold the evolution table: it ends at " + Hex(file.Size()) +
                       ", the table at " + Hex(TableEnd(*location))};
    }
    return location;
}

bool SameTable(const TableLocation& a, const TableLocation& b) {
    if (a.Kind() != b.Kind() || a.GameCode() != b.GameCode() || a.ArchivePath() != b.ArchivePath() ||
        !(a.Layout() == b.Layout())) {
        return false;
    }
    for (int record = 0; record < a.Records(); ++record) {
        if (a.RecordOffset(record) != b.RecordOffset(record)) {
            return false;
        }
    }
    return true;
}

} // namespace

Result<EvolutionImage> EvolutionImage::Open(const std::filesystem::path& path) {
    const ImageFile file(path, ImageFile::Access::Read);
    Result<TableLocation> location = Identify(file);
    if (!location) {
        return Failure{location.Reason()};
    }
    EvolutionImage image(path, std::move(*location));
    image.identity_ = file.Identity();
    image.size_ = file.Size();
    return image;
}

Result<EvolutionImage> EvolutionImage::OpenHeld(const std::filesystem::path& path, bool forWriting) {
    auto file = std::make_shared<const ImageFile>(path, forWriting ? ImageFile::Access::ReadWrite
                                                                   : ImageFile::Access::Read);
    std::string writeProblem;
    if (forWriting && !file->Problem().empty()) {
        // Still read and compared (an import with nothing to change needs no write); each write
        // says why it cannot be made.
        writeProblem = file->Problem();
        file = std::make_shared<const ImageFile>(path, ImageFile::Access::Read);
    }
    Result<TableLocation> location = Identify(*file);
    if (!location) {
        return Failure{location.Reason()};
    }
    EvolutionImage image(path, std::move(*location));
    image.identity_ = file->Identity();
    image.size_ = file->Size();
    image.held_ = std::move(file);
    image.writeProblem_ = std::move(writeProblem);
    return image;
}

Result<EvolutionImage> EvolutionImage::OpenHeldAtPath(const std::filesystem::path& path) {
    Result<EvolutionImage> image = OpenHeld(path, true);
    if (image) {
        image->pathChecked_ = true;
    }
    return image;
}

EvolutionImage::EvolutionImage(std::filesystem::path path, TableLocation location)
    : path_(std::move(path)), location_(std::move(location)) {}

std::uint16_t EvolutionImage::ReadField(int species, int slot, SlotField field) const {
    const std::int32_t at = location_.FieldOffset(species, slot, field);
    if (at < 0) {
        return 0;
    }
    if (held_) {
        std::uint8_t bytes[2] = {};
        if (held_->ReadAt(static_cast<std::uint64_t>(at), bytes, 2) != 2) {
            return 0;
        }
        return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    }
    return static_cast<std::uint16_t>(
        Module1::HexValue(Module1::SwapHexBytes(Module1::ReadHex(path_, at, 2))));
}

EvolutionSlot EvolutionImage::ReadSlot(int species, int slot) const {
    EvolutionSlot value;
    value.Target = ReadField(species, slot, SlotField::Target);
    value.Parameter = ReadField(species, slot, SlotField::Parameter);
    value.Method = ReadField(species, slot, SlotField::Method);
    return value;
}

ImageNames EvolutionImage::ReadNames() const {
    if (held_) {
        return ReadImageNames(ImageFileSource(*held_), location_);
    }
    const ImageFile file(path_, ImageFile::Access::Read);
    return ReadImageNames(ImageFileSource(file), location_);
}

bool EvolutionImage::ReadBytes(std::int64_t offset, std::size_t count, std::uint8_t* out) const {
    if (offset < 0) {
        return false;
    }
    const auto at = static_cast<std::uint64_t>(offset);
    return held_ ? held_->ReadAt(at, out, count) == static_cast<std::int64_t>(count)
                 : Module1::ReadBytes(path_, at, count, out);
}

std::optional<SlotBytes> EvolutionImage::ReadSlotBytes(int species, int slot) const {
    SlotBytes bytes{};
    if (!ReadBytes(location_.SlotOffset(species, slot), bytes.size(), bytes.data())) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<EvolutionRecord> EvolutionImage::ReadRecord(int species) const {
    const int slotCount = location_.Slots();
    std::array<std::uint8_t, std::size_t{MaxSlotCount} * EvolutionSlot::Size> bytes{};
    if (!ReadBytes(location_.RecordOffset(species), static_cast<std::size_t>(slotCount) * EvolutionSlot::Size,
                   bytes.data())) {
        return std::nullopt;
    }
    return DecodeRecord(bytes.data(), slotCount);
}

std::optional<std::vector<EvolutionRecord>> EvolutionImage::ReadTable(SlotPosition* unreadable) const {
    const int records = location_.Records();
    const int slotCount = location_.Slots();
    std::vector<EvolutionRecord> table(static_cast<std::size_t>(records), EvolutionRecord::Empty(slotCount));
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t end = 0;
    for (int record = 0; record < records; ++record) {
        const std::int64_t at = location_.RecordOffset(record);
        first = std::min(first, at);
        end = std::max(end, at + location_.Layout().RecordSize);
    }
    if (first >= 0 && end - first <= MaxTableSpan) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - first));
        if (ReadBytes(first, bytes.size(), bytes.data())) {
            for (int record = 0; record < records; ++record) {
                table[static_cast<std::size_t>(record)] =
                    DecodeRecord(bytes.data() + (location_.RecordOffset(record) - first), slotCount);
            }
            return table;
        }
    }
    // Slot by slot, so that the first one the file does not hold is named.
    for (int record = 0; record < records; ++record) {
        for (int slot = 0; slot < slotCount; ++slot) {
            const std::optional<SlotBytes> bytes = ReadSlotBytes(record, slot);
            if (!bytes) {
                if (unreadable) {
                    *unreadable = {record, slot};
                }
                return std::nullopt;
            }
            table[static_cast<std::size_t>(record)].Slots[static_cast<std::size_t>(slot)] =
                DecodeSlot(*bytes);
        }
    }
    return table;
}

Status EvolutionImage::WriteSlot(int species, int slot, const EvolutionSlot& value,
                                 SlotBytes* previous) const {
    return Write(species, slot, nullptr, value, previous);
}

Status EvolutionImage::ReplaceSlot(int species, int slot, const SlotBytes& expected,
                                   const EvolutionSlot& value) const {
    return Write(species, slot, &expected, value, nullptr);
}

std::string EvolutionImage::CheckIdentified(const ImageFile& file) const {
    if (!identity_) {
        return {};
    }
    if (file.Identity() != *identity_) {
        return "the path no longer leads to the image that was opened (it was replaced or moved since); "
               "open it again";
    }
    if (file.Size() != size_) {
        return "the image has changed size since it was opened; open it again";
    }
    const Result<TableLocation> now = LocateEvolutionTable(ImageFileSource(file));
    if (!now || !SameTable(*now, location_)) {
        return "the image's game or the place of its evolution table has changed since it was opened; "
               "open it again";
    }
    return {};
}

Status EvolutionImage::Write(int species, int slot, const SlotBytes* expected, const EvolutionSlot& value,
                             SlotBytes* previous) const {
    const std::int32_t at = location_.SlotOffset(species, slot);
    if (at < 0) {
        return Status{"there is no such slot"};
    }
    if (held_ && !writeProblem_.empty()) {
        return Status{writeProblem_};
    }
    // The window opens the path for this one write; the tool writes through the file it holds.
    std::optional<ImageFile> own;
    if (!held_) {
        own.emplace(path_, ImageFile::Access::ReadWrite);
    }
    const ImageFile& file = held_ ? *held_ : *own;
    if (!file.Problem().empty()) {
        return Status{file.Problem()};
    }
    if (file.MarkedReadOnly()) {
        return Status{"the file is marked read-only"};
    }
    if (!held_) {
        if (std::string why = CheckIdentified(file); !why.empty()) {
            return Status{why};
        }
    } else if (pathChecked_) {
        if (held_->Deleted()) {
            return Status{"the image was deleted since it was opened"};
        }
        const ImageFile atPath(path_, ImageFile::Access::Read);
        if (!atPath.Problem().empty() || atPath.Identity() != held_->Identity()) {
            return Status{"the path no longer leads to the image that was opened (it was replaced or moved "
                          "since); open it again"};
        }
        // Marked read-only since it was opened: the user's word counts more than the open handle.
        if (atPath.MarkedReadOnly()) {
            return Status{"the file is marked read-only"};
        }
    }

    const auto offset = static_cast<std::uint64_t>(at);
    const ImageFile::RangeLock lock = file.LockRange(offset, EvolutionSlot::Size);
    // Checked under the lock: the file may have been cut short since it was opened.
    std::uint64_t size = 0;
    if (!file.CurrentSize(size) || size < offset + EvolutionSlot::Size) {
        return Status{"the file is too short: it ends before the slot"};
    }
    SlotBytes before{};
    if (file.ReadAt(offset, before.data(), before.size()) != static_cast<std::int64_t>(before.size())) {
        return Status{"the file cannot be read"};
    }
    if (expected && before != *expected) {
        return Status{ChangedSinceRead};
    }
    if (previous) {
        *previous = before;
    }
    const SlotBytes bytes = EncodeSlot(value);
    if (bytes == before) {
        return Status{};
    }
    std::string why;
    if (file.WriteAt(offset, bytes.data(), bytes.size(), &why)) {
        return Status{};
    }
    // A failed write call changes nothing; only one the system cut short can leave part of the new
    // bytes, which go back in one call.
    SlotBytes now{};
    const bool intact =
        (file.ReadAt(offset, now.data(), now.size()) == static_cast<std::int64_t>(now.size()) &&
         now == before) ||
        file.WriteAt(offset, before.data(), before.size());
    return Status{"writing to the file failed (" + why + ")" +
                  (intact ? "; the slot was left as it was" : "; the slot may be damaged")};
}

} // namespace rom
