// evolution-table: the table of a Generation 4 DS ROM image on the command line.
#include "TableTool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The arguments stay bytes, so that a file name that is not valid UTF-8 still names its file.
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = TableTool::Run(args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : TableTool::BadInput;
}
