// evolution-table: the table of a Generation 4 DS ROM image on the command line.
#include "TableTool.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The export writes its own CRLF line ends; in text mode each would become CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // The arguments stay bytes, so that a file name that is not valid UTF-8 still names its file.
    const std::vector<std::string> args(argv + 1, argv + argc);
    return TableTool::Run(args, std::cout, std::cerr);
}
