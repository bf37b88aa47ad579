// Registers the game data library's embedded files once per process.
#include "GameDataResources.h"

#include <QtGlobal>
#include <mutex>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be used inside a namespace.
static void RegisterGameDataResources() {
    Q_INIT_RESOURCE(gamedata);
}

namespace GameDataResources {

void Init() {
    static std::once_flag once;
    std::call_once(once, RegisterGameDataResources);
}

} // namespace GameDataResources
