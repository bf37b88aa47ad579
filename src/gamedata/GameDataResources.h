// Registers the game data library's embedded files (the name lists).
#pragma once

namespace GameDataResources {

// A static library's resources are only linked in when something registers them by hand; call
// before reading any ":/gamedata/..." path. Safe to call any number of times.
void Init();

} // namespace GameDataResources
