// The window-at-cursor query on the real pointer, or on a replacement installed by tests.
#include "CursorQuery.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace {

platform::CursorQuery::Query& Replacement() {
    static platform::CursorQuery::Query query;
    return query;
}

} // namespace

namespace platform::CursorQuery {

QWidget* WindowAtCursor() {
    if (Replacement()) {
        return Replacement()();
    }
    // widgetAt honours widget masks, so a cut-away corner reports the widget below it.
    return QApplication::widgetAt(QCursor::pos());
}

void SetQuery(Query query) {
    Replacement() = std::move(query);
}

} // namespace platform::CursorQuery
