// Paths as the local 8-bit bytes QFile::encodeName makes of a text.
#include "NativePath.h"

#include <QFile>

namespace NativePath {

std::filesystem::path FromText(const QString& text) {
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString ToText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

std::filesystem::path FromArgument(const QString& decoded, const char* bytes) {
    return bytes ? std::filesystem::path(bytes) : FromText(decoded);
}

} // namespace NativePath
