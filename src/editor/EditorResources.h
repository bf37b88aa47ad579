// Registers the editor library's embedded files (the window's pictures and the application icon).
#pragma once

#include <QIcon>

namespace EditorResources {

// A static library's resources are only linked in when something registers them by hand; call
// before reading any ":/editor/..." path. Safe to call any number of times.
void Init();

// The application icon with a drawn picture for every size the desktop asks for (16 to 256
// pixels), the same picture the installed icon theme holds; nothing is scaled up from 16 x 16.
QIcon ApplicationIcon();

} // namespace EditorResources
