// evolution-table: the table of a Generation 4 DS ROM image on the command line.
#include "Console.h"
#include "TableTool.h"
#include "ToolSystem.h"

#include <iostream>

int main(int argc, char** argv) {
    // Before anything is opened, so that no image takes a closed stream's number. With the output
    // closed there is nowhere for a report: the commands see a failed stream and write nothing.
    if (!ToolSystem::PrepareStandardStreams()) {
        std::cout.setstate(std::ios::badbit);
    }
    Console::UseWideConsole(std::cout, 1);
    Console::UseWideConsole(std::cerr, 2);
    const int status = TableTool::Run(Console::Arguments(argc, argv), std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    return status;
}
