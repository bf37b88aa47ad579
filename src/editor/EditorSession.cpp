// The editor window and the table window over one document, and where the table window goes.
#include "EditorSession.h"

#include "Form1.h"
#include "TableWindow.h"

#include <QScreen>
#include <algorithm>

EditorSession::EditorSession(QObject* parent)
    : QObject(parent), document(this), editor(std::make_unique<Form1>(&document)) {
    connect(editor.get(), &Form1::TableWindowRequested, this, &EditorSession::ShowTableWindow);
}

EditorSession::~EditorSession() = default;

void EditorSession::ShowTableWindow() {
    if (!document.IsOpen()) {
        return;
    }
    if (!table) {
        table = new TableWindow(&document, editor.get());
        const QScreen* screen = editor->screen();
        const QRect available = screen ? screen->availableGeometry() : QRect();
        // The window's frame is not known before it is shown: the editor's own frame margins
        // stand in for it.
        const QSize margins = editor->frameGeometry().size() - editor->size();
        table->move(PlaceBeside(editor->frameGeometry(), table->size() + margins, available));
    }
    table->Reload();
    table->show();
    table->raise();
    table->activateWindow();
}

QPoint EditorSession::PlaceBeside(const QRect& editor, const QSize& size, const QRect& screen) {
    constexpr int Gap = 8;
    const int right = editor.right() + 1 + Gap;
    const int left = editor.left() - Gap - size.width();
    int x = right;
    if (screen.isValid() && right + size.width() > screen.right() + 1) {
        // Where neither side has room, the window overlaps the editor rather than the screen's edge.
        x = left >= screen.left() ? left : std::max(screen.left(), screen.right() + 1 - size.width());
    }
    int y = editor.top();
    if (screen.isValid()) {
        y = std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    }
    return {x, y};
}
