// Which window lies under the mouse cursor: the control's hover test asks this, and tests replace
// it to move a virtual mouse without a real pointer.
#pragma once

#include <functional>

class QWidget;

namespace platform::CursorQuery {

using Query = std::function<QWidget*()>;

// The widget under the cursor; a point cut away by a widget's mask belongs to what lies below.
QWidget* WindowAtCursor();

// Replaces the query (an empty function restores the real one).
void SetQuery(Query query);

} // namespace platform::CursorQuery
