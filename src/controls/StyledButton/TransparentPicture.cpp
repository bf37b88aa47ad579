// Drawing a button picture pixel by pixel over what the button has drawn so far.
#include "TransparentPicture.h"

#include "GdiDC.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Nearest whole number, halves to the even neighbour (the default rounding mode).
int Nearest(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// The grey of a pixel with the weights 0.3, 0.59 and 0.11. Every product and sum is its own
// double-precision step (no fused multiply-add), so that the levels come out the same on every
// machine: white gives 254, pure red 76, (5, 0, 0) gives 2.
int GreyLevel(int red, int green, int blue) {
    const double redPart = red * 0.3;
    const double redLevel = Nearest(redPart);
    const double greenPart = green * 0.59;
    const double firstSum = greenPart + redLevel;
    const double bluePart = blue * 0.11;
    const double total = firstSum + bluePart;
    return Nearest(total);
}

// The picture as the pixels to draw: a bitmap as it is; an icon laid over the mask colour, so that
// its transparent area takes that colour.
// A button draws the same icon over the same mask colour on every redraw, so the last few
// composites are kept (by the icon image's cache key, which changes with its pixels).
QImage SourcePixels(const platform::Picture& picture, int width, int height, gdi::COLORREF maskRgb) {
    if (picture.Type() == platform::Picture::Kind::Bitmap) {
        return picture.Image();
    }
    const QImage& icon = picture.Image();
    const int w = std::min(width, icon.width());
    const int h = std::min(height, icon.height());
    struct Composite {
        qint64 icon = 0;
        QSize size;
        gdi::COLORREF mask = 0;
        QImage pixels;
    };
    static std::array<Composite, 4> kept;
    static std::size_t next = 0;
    for (const Composite& c : kept) {
        if (!c.pixels.isNull() && c.icon == icon.cacheKey() && c.size == QSize(w, h) && c.mask == maskRgb) {
            return c.pixels;
        }
    }
    QImage source(w, h, QImage::Format_RGB32);
    source.fill(gdi::ToQColor(maskRgb));
    QPainter painter(&source);
    painter.drawImage(0, 0, icon);
    painter.end();
    kept[next] = {icon.cacheKey(), QSize(w, h), maskRgb, source};
    next = (next + 1) % kept.size();
    return source;
}

} // namespace

void DrawTransparentPicture(QImage& dest, int x, int y, int width, int height,
                            const platform::Picture& picture, gdi::COLORREF transparentColor,
                            std::int32_t brushColor, bool darkOnly, bool greyscale, bool blend,
                            bool useMaskColor, gdi::COLORREF maskRgb) {
    if (width == 0 || height == 0 || picture.IsEmpty()) {
        return;
    }
    if (width < 0) {
        width = Nearest(platform::Picture::HimetricToPixels(picture.Width()));
    }
    if (height < 0) {
        height = Nearest(platform::Picture::HimetricToPixels(picture.Height()));
    }
    if (width <= 0 || height <= 0) {
        return;
    }

    gdi::DeviceContext destDC(dest);
    const QImage source = SourcePixels(picture, width, height, maskRgb);
    // Only this much of the work area holds picture pixels; a size larger than the picture draws
    // nothing beyond it, and nothing is drawn outside the destination.
    const int firstCol = std::max(0, -x);
    const int firstRow = std::max(0, -y);
    const int endCol = std::min({width, source.width(), destDC.Width() - x});
    const int endRow = std::min({height, source.height(), destDC.Height() - y});

    const bool useBrush = brushColor >= 0;
    const int brushBlue = (brushColor / 65536) % 256;
    const int brushGreen = (brushColor / 256) % 256;
    const int brushRed = brushColor % 256;
    // Without the mask colour no pixel is transparent: no colour of a pixel is 0xFFFFFFFF.
    const gdi::COLORREF transparent = useMaskColor ? transparentColor : 0xFFFFFFFFu;
    // One device pixel per logical pixel: rows are read and written in place. A finer surface
    // goes through the device context, which reads a block's first pixel and fills the block.
    const bool direct = destDC.Ratio() == 1.0;
    uchar* const bits = direct ? dest.bits() : nullptr;
    const qsizetype stride = dest.bytesPerLine();

    // Each pixel is worked out from the picture's pixel and the one under it, then written back,
    // with the 8-bit channel arithmetic of a 24-bit pixel row; transparent and skipped pixels
    // keep what lies under them.
    // The common case, the picture as it is on a surface of logical pixels: a masked copy.
    const bool plain = direct && !useBrush && !greyscale && !blend;
    const QRgb clear = transparent > 0xFFFFFFu ? 0xFF000000u : (gdi::ToQRgb(transparent) & 0xFFFFFFu);
    for (int row = firstRow; row < endRow; ++row) {
        const QRgb* pic = reinterpret_cast<const QRgb*>(source.constScanLine(row));
        QRgb* line = direct ? reinterpret_cast<QRgb*>(bits + (y + row) * stride) : nullptr;
        if (plain) {
            // Every pixel is rewritten, transparent ones with what they held: a loop the compiler
            // can run several pixels at a time.
            QRgb* to = line + x;
            for (int col = firstCol; col < endCol; ++col) {
                const QRgb p = pic[col] & 0xFFFFFFu;
                to[col] = p != clear ? (0xFF000000u | p) : to[col];
            }
            continue;
        }
        for (int col = firstCol; col < endCol; ++col) {
            const int pr = qRed(pic[col]);
            const int pg = qGreen(pic[col]);
            const int pb = qBlue(pic[col]);
            if (destDC.GetNearestColor(gdi::Rgb(pr, pg, pb)) == transparent) {
                continue;
            }
            int r = pr;
            int g = pg;
            int b = pb;
            if (useBrush) {
                if (darkOnly && pr + pg + pb > 384) {
                    continue;
                }
                r = brushRed;
                g = brushGreen;
                b = brushBlue;
            } else if (greyscale) {
                r = g = b = GreyLevel(pr, pg, pb);
            } else if (blend) {
                const gdi::COLORREF under =
                    direct ? gdi::FromQRgb(line[x + col]) : destDC.GetPixel(x + col, y + row);
                r = (2 * pr + gdi::RedOf(under)) / 3;
                g = (2 * pg + gdi::GreenOf(under)) / 3;
                b = (2 * pb + gdi::BlueOf(under)) / 3;
            }
            if (direct) {
                line[x + col] = qRgb(r & 0xFF, g & 0xFF, b & 0xFF);
            } else {
                destDC.SetPixelV(x + col, y + row, gdi::Rgb(r, g, b));
            }
        }
    }
}
