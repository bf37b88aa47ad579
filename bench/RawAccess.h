// The floor every slot figure is measured against: the same bytes moved with one raw
// open / pread (or pwrite) / close each, as the operating system offers them.
#pragma once

#include "EvolutionImage.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace RawAccess {

// Reads the slot's three fields the way the window does (target, parameter, method), one open each.
inline int ReadSlotFields(const std::string& path, const rom::TableLocation& location, int species,
                          int slot) {
    int sum = 0;
    for (auto field : {rom::SlotField::Target, rom::SlotField::Parameter, rom::SlotField::Method}) {
        unsigned char bytes[2] = {0, 0};
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd >= 0) {
            benchmark::DoNotOptimize(::pread(fd, bytes, 2, location.FieldOffset(species, slot, field)));
            ::close(fd);
        }
        sum += bytes[0] + 256 * bytes[1];
    }
    return sum;
}

// Writes the slot's six bytes, one open each.
inline void WriteSlotBytes(const std::string& path, const rom::TableLocation& location, int species, int slot,
                           const rom::SlotBytes& bytes) {
    for (int k = 0; k < rom::EvolutionSlot::Size; ++k) {
        const int fd = ::open(path.c_str(), O_RDWR);
        if (fd >= 0) {
            benchmark::DoNotOptimize(
                ::pwrite(fd, &bytes[static_cast<std::size_t>(k)], 1, location.SlotOffset(species, slot) + k));
            ::close(fd);
        }
    }
}

} // namespace RawAccess
