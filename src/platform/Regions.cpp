// Rectangular and elliptic regions built from spans.
#include "Regions.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace gdi {

QRegion CreateRectRgn(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) {
        return QRegion();
    }
    return QRegion(left, top, right - left, bottom - top);
}

std::vector<Span> EllipticSpans(int left, int top, int right, int bottom) {
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    // The region covers the box without its right column and bottom row.
    --right;
    --bottom;
    const int width = right - left;
    const int height = bottom - top;
    std::vector<Span> spans;
    if (width < 2 || height < 2) {
        for (int y = top; y < bottom && left < right; ++y) {
            spans.push_back({y, left, right});
        }
        return spans;
    }

    // Midpoint ellipse through the pixel centres of a width x height box, walked from the middle
    // row down to the bottom row; each step records how far in the row's span starts. The rows
    // above the middle mirror the ones below.
    std::vector<int> inset(static_cast<std::size_t>(height), 0);
    const std::int64_t a = width - 1;
    const std::int64_t b = height - 1;
    const std::int64_t stepX = 8 * b * b;
    const std::int64_t stepY = 8 * a * a;
    std::int64_t dx = 4 * b * b * (1 - a);
    std::int64_t dy = 4 * a * a * (1 + b % 2);
    std::int64_t err = dx + dy + a * a * (b % 2);
    int x = 0;
    int row = height / 2;
    while (x <= width / 2) {
        const std::int64_t twice = 2 * err;
        if (twice >= dx) {
            ++x;
            dx += stepX;
            err += dx;
        }
        if (twice <= dy) {
            ++row;
            dy += stepY;
            err += dy;
            if (row < height) {
                inset[static_cast<std::size_t>(row)] = x;
            }
        }
    }
    for (int i = 0; i < height / 2; ++i) {
        inset[static_cast<std::size_t>(i)] = inset[static_cast<std::size_t>(b - i)];
    }
    spans.reserve(static_cast<std::size_t>(height));
    for (int i = 0; i < height; ++i) {
        const int in = inset[static_cast<std::size_t>(i)];
        if (left + in < right - in) {
            spans.push_back({top + i, left + in, right - in});
        }
    }
    return spans;
}

QRegion CreateEllipticRgn(int left, int top, int right, int bottom) {
    QRegion region;
    for (const Span& s : EllipticSpans(left, top, right, bottom)) {
        region += QRect(s.left, s.y, s.right - s.left, 1);
    }
    return region;
}

bool PtInRegion(const QRegion& region, int x, int y) {
    return region.contains(QPoint(x, y));
}

} // namespace gdi
