// Paths as UTF-16, the form Windows' own file calls take.
#include "NativePath.h"

namespace NativePath {

std::filesystem::path FromText(const QString& text) {
    return std::filesystem::path(text.toStdWString());
}

QString ToText(const std::filesystem::path& path) {
    return QString::fromStdWString(path.native());
}

std::filesystem::path FromArgument(const QString& decoded, const char* /*bytes*/) {
    return FromText(decoded);
}

} // namespace NativePath
