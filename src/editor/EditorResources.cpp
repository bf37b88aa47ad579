// Registers the editor library's embedded files once per process.
#include "EditorResources.h"

#include <QtGlobal>
#include <mutex>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be used inside a namespace.
static void RegisterEditorResources() {
    Q_INIT_RESOURCE(editor);
}

namespace EditorResources {

void Init() {
    static std::once_flag once;
    std::call_once(once, RegisterEditorResources);
}

} // namespace EditorResources
