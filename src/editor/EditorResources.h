// Registers the editor library's embedded files (the window icon).
#pragma once

namespace EditorResources {

// A static library's resources are only linked in when something registers them by hand; call
// before reading any ":/editor/..." path. Safe to call any number of times.
void Init();

} // namespace EditorResources
