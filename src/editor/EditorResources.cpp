// Registers the editor library's embedded files once per process.
#include "EditorResources.h"

#include "Picture.h"

#include <QFile>
#include <QPixmap>
#include <QString>
#include <QtGlobal>
#include <mutex>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be used inside a namespace.
static void RegisterEditorResources() {
    Q_INIT_RESOURCE(editor);
    Q_INIT_RESOURCE(AppIcon);
}

namespace EditorResources {

void Init() {
    static std::once_flag once;
    std::call_once(once, RegisterEditorResources);
}

QIcon ApplicationIcon() {
    Init();
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QFile file(QStringLiteral(":/icons/app/%1.png").arg(size));
        if (file.open(QIODevice::ReadOnly)) {
            icon.addPixmap(QPixmap::fromImage(platform::Picture::DecodePng(file.readAll())));
        }
    }
    return icon;
}

} // namespace EditorResources
