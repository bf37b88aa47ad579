// Paths between QString and the platform's own form (temporary; replaced by the platform helper).
#pragma once

#include <QFile>
#include <QString>
#include <filesystem>

namespace NativePath {

inline QString ToText(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

inline std::filesystem::path FromText(const QString& text) {
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

} // namespace NativePath
