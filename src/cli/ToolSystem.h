// The command-line tool's standard streams, readied before anything is opened; its files are read
// and written through FileIO.
#pragma once

namespace ToolSystem {

// Readies the standard streams before anything is opened: a closed one is reopened on the null
// device (so that no file the tool opens takes its number and receives its text), a reader that
// leaves a pipe gives a write error instead of ending the program half-way, and so does a write
// beyond a file size limit. False when the standard output was closed: the report has nowhere to
// go.
bool PrepareStandardStreams();

} // namespace ToolSystem
