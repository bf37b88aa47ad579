// The tool's standard streams on Windows: only whether the output is there.
#include "ToolSystem.h"

#include "WindowsApi.h"

namespace ToolSystem {

bool PrepareStandardStreams() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != nullptr && output != INVALID_HANDLE_VALUE;
}

} // namespace ToolSystem
