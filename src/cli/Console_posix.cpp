// The console seam where nothing needs changing: arguments as given, streams untouched.
#include "Console.h"

namespace Console {

std::vector<std::string> Arguments(int argc, char** argv) {
    // The bytes stay as given, so that a file name that is not valid UTF-8 still names its file.
    return std::vector<std::string>(argv + 1, argv + argc);
}

void UseWideConsole(std::ostream& /*stream*/, int /*handle*/) {}

} // namespace Console
