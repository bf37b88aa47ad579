// Window regions for the button outlines: rectangles and ellipses whose pixels match the
// desktop's own region code, as QRegion values.
#pragma once

#include <QRegion>
#include <vector>

namespace gdi {

// One row of a region: pixels [left, right) of row y.
struct Span {
    int y = 0;
    int left = 0;
    int right = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

// [left, right) x [top, bottom); empty when inverted.
QRegion CreateRectRgn(int left, int top, int right, int bottom);

// The rows of the ellipse inscribed in the box as the region code builds it: the box loses its
// last column and row first, and a box narrower or shorter than 2 pixels after that is a plain
// rectangle. Inverted boxes are put in order.
std::vector<Span> EllipticSpans(int left, int top, int right, int bottom);

// The ellipse inscribed in the box, one pixel narrower and shorter than Ellipse() draws it,
// built from one-pixel-high spans.
QRegion CreateEllipticRgn(int left, int top, int right, int bottom);

bool PtInRegion(const QRegion& region, int x, int y);

} // namespace gdi
