// evolution-table: the table of a Generation 4 DS ROM image on the command line.
#include "Console.h"
#include "TableTool.h"

#include <iostream>

int main(int argc, char** argv) {
    Console::UseWideConsole(std::cout, 1);
    Console::UseWideConsole(std::cerr, 2);
    const int status = TableTool::Run(Console::Arguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    return status;
}
