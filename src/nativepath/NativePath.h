// A file's path between Qt's text (what dialogs, drops and the command line give) and the
// platform's own form that the file code opens: UTF-16 on Windows, the local 8-bit bytes
// elsewhere.
#pragma once

#include <QString>
#include <filesystem>

namespace NativePath {

// The path `text` names, as QFile would open it.
std::filesystem::path FromText(const QString& text);

// The path as text for the window, as QFile would name it.
QString ToText(const std::filesystem::path& path);

// The path a command-line argument names. Outside Windows the argument's bytes are kept as given
// (`bytes`, when known), as a file name need not be valid text in the locale and Qt's decoding
// would change such bytes; on Windows the text Qt `decoded` from the wide command line is taken,
// as the 8-bit arguments lose every character outside the code page.
std::filesystem::path FromArgument(const QString& decoded, const char* bytes);

} // namespace NativePath
