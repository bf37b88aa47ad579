// Sparse ROM images of the real size in a temporary folder, for driving the editor window.
#pragma once

#include "EvolutionImage.h"
#include "TestFiles.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

class RomImageFile {
public:
    static constexpr qint64 RealSize = 33554432;

    // Creates `path` as `size` zero bytes (sparse where the file system allows).
    explicit RomImageFile(QString path, qint64 size = RealSize) : path_(std::move(path)) {
        QFile file(path_);
        if (file.open(QIODevice::WriteOnly)) {
            file.resize(size);
        }
    }

    const QString& Path() const { return path_; }

    void Write(qint64 offset, const QByteArray& bytes) const {
        QFile file(path_);
        if (file.open(QIODevice::ReadWrite) && file.seek(offset)) {
            file.write(bytes);
        }
    }

    // Stores one slot as the game does: three 16-bit fields, low byte first.
    void WriteSlot(int species, int slot, std::uint16_t method, std::uint16_t parameter,
                   std::uint16_t target) const {
        Write(rom::SlotOffset(species, slot), SlotBytes(method, parameter, target));
    }

    QByteArray Read(qint64 offset, qint64 count) const {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(offset)) {
            return {};
        }
        return file.read(count);
    }

    QByteArray Contents() const { return FileContents(path_); }

    static QByteArray SlotBytes(std::uint16_t method, std::uint16_t parameter, std::uint16_t target) {
        const rom::SlotBytes bytes = rom::EncodeSlot({method, parameter, target});
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }

private:
    QString path_;
};
