// Rectangular and elliptic regions built from spans.
#include "Regions.h"

namespace gdi {

QRegion CreateRectRgn(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) {
        return QRegion();
    }
    return QRegion(left, top, right - left, bottom - top);
}

bool PtInRegion(const QRegion& region, int x, int y) {
    return region.contains(QPoint(x, y));
}

} // namespace gdi
