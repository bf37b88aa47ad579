// The tool's text output on a Windows console. The tool writes UTF-8; a Windows console shows
// the bytes it is given in its own code page, so "Nidoran♀" and "Poké Ball" would come out
// garbled in cmd.exe and PowerShell. There, text for a console goes out as UTF-16 through
// WriteConsoleW; output into a file or a pipe stays UTF-8 bytes. Elsewhere nothing changes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace Console {

// The program's arguments as UTF-8 (on Windows taken from the wide command line, so that no
// character of a file name is lost in the ANSI code page), or, elsewhere, as the bytes given.
std::vector<std::string> Arguments(int argc, char** argv);

// Makes `stream` (std::cout or std::cerr) write to the console as UTF-16 when `handle` (1 for the
// output, 2 for errors) is a Windows console; writes through a file or a pipe untouched.
void UseWideConsole(std::ostream& stream, int handle);

} // namespace Console
