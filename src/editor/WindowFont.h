// The small sans-serif font the editor window's fixed layout was made for, and what stands in for
// it where it is not installed.
#pragma once

#include <QFont>

namespace WindowFont {

// "MS Sans Serif" at 8.25 points. Where that family is missing, every font asking for it (the
// window's and the buttons' stored one) is set in the first installed family of the same widths,
// so that captions keep fitting their fixed boxes; the wider default sans serif would not.
QFont LayoutFont();

} // namespace WindowFont
