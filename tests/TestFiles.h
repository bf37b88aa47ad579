// Small file helpers the tests share: a file's bytes, and a file written whole.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole file, or nothing when it cannot be read.
inline QByteArray FileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` as the whole file; false when it cannot.
inline bool StoreFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
