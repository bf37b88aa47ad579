// Window regions for the button outlines: rectangles and ellipses whose pixels match the
// desktop's own region code, as QRegion values.
#pragma once

#include <QRegion>

namespace gdi {

// [left, right) x [top, bottom); empty when inverted.
QRegion CreateRectRgn(int left, int top, int right, int bottom);

// The ellipse inscribed in the box, one pixel narrower and shorter than Ellipse() draws it,
// built from one-pixel-high spans.
QRegion CreateEllipticRgn(int left, int top, int right, int bottom);

bool PtInRegion(const QRegion& region, int x, int y);

} // namespace gdi
