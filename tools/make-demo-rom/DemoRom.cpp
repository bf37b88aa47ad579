// Parses the embedded copy of the game's evolution table and writes demo images.
#include "DemoRom.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QtEndian>
#include <stdexcept>

static void InitDemoRomResources() {
    // The resource sits in a static library's object library; make sure it is registered.
    Q_INIT_RESOURCE(DemoRom);
}

namespace DemoRom {

std::vector<rom::EvolutionRecord> GameEvolutionTable() {
    InitDemoRomResources();
    QFile file(QStringLiteral(":/demorom/evolutions.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("embedded evolution table is missing");

    std::vector<rom::EvolutionRecord> table;
    table.reserve(rom::SpeciesCount);
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() != rom::SlotCount)
            throw std::runtime_error("embedded evolution table: a row without seven cells");
        rom::EvolutionRecord record;
        for (int k = 0; k < rom::SlotCount; ++k) {
            const QStringList fields = cells[k].trimmed().split(QLatin1Char(','));
            if (fields.size() != 3)
                throw std::runtime_error("embedded evolution table: a slot without three fields");
            record.Slots[k].Method = fields[0].toUShort();
            record.Slots[k].Parameter = fields[1].toUShort();
            record.Slots[k].Target = fields[2].toUShort();
        }
        table.push_back(record);
    }
    if (table.size() != static_cast<std::size_t>(rom::SpeciesCount))
        throw std::runtime_error("embedded evolution table: wrong number of species");
    return table;
}

QByteArray EncodeTable(const std::vector<rom::EvolutionRecord>& table) {
    QByteArray bytes(rom::EvolutionTableSize, '\0');
    for (std::size_t s = 0; s < table.size() && s < static_cast<std::size_t>(rom::SpeciesCount); ++s) {
        for (int k = 0; k < rom::SlotCount; ++k) {
            const auto& slot = table[s].Slots[k];
            char* at = bytes.data() + rom::SlotOffset(static_cast<int>(s), k) - rom::EvolutionTableOffset;
            qToLittleEndian<quint16>(slot.Method, at + rom::EvolutionSlot::MethodOffset);
            qToLittleEndian<quint16>(slot.Parameter, at + rom::EvolutionSlot::ParameterOffset);
            qToLittleEndian<quint16>(slot.Target, at + rom::EvolutionSlot::TargetOffset);
        }
    }
    return bytes;
}

bool WriteDemoImage(const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QByteArray tableBytes = EncodeTable(GameEvolutionTable());

    // Written to a temporary file and renamed at the end, so an interrupted run leaves no half image.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot create %1: %2").arg(path, file.errorString()));
    // Growing by resize leaves a hole instead of 32 MiB of written zeros.
    if (!file.resize(DemoImageSize) || !file.seek(rom::EvolutionTableOffset) ||
        file.write(tableBytes) != tableBytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("cannot write %1: %2").arg(path, why));
    }
    if (!file.commit())
        return fail(QStringLiteral("cannot finish %1: %2").arg(path, file.errorString()));
    return true;
}

} // namespace DemoRom
