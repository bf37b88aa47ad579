// Drawing a button picture pixel by pixel over what the button has drawn so far.
#include "TransparentPicture.h"

#include "GdiDC.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

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
QImage SourcePixels(const platform::Picture& picture, int width, int height, gdi::COLORREF maskRgb) {
    if (picture.Type() == platform::Picture::Kind::Bitmap) {
        return picture.Image();
    }
    const QImage& icon = picture.Image();
    const int w = std::min(width, icon.width());
    const int h = std::min(height, icon.height());
    QImage source(w, h, QImage::Format_RGB32);
    source.fill(gdi::ToQColor(maskRgb));
    QPainter painter(&source);
    painter.drawImage(0, 0, icon);
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
    QImage source = SourcePixels(picture, width, height, maskRgb);
    const gdi::DeviceContext srcDC(source);
    // Only this much of the work area holds picture pixels; a size larger than the picture draws
    // nothing beyond it.
    const int coveredWidth = std::min(width, source.width());
    const int coveredHeight = std::min(height, source.height());

    QImage bgBitmap(width, height, QImage::Format_RGB32);
    QImage picBitmap(width, height, QImage::Format_RGB32);
    bgBitmap.fill(Qt::black);
    picBitmap.fill(Qt::black);
    gdi::DeviceContext bgDC(bgBitmap);
    gdi::DeviceContext picDC(picBitmap);
    bgDC.BitBlt(0, 0, width, height, destDC, x, y);
    picDC.BitBlt(0, 0, width, height, srcDC, 0, 0);
    std::vector<std::uint8_t> bg = gdi::GetDIBits(bgBitmap);
    const std::vector<std::uint8_t> pic = gdi::GetDIBits(picBitmap);

    const bool useBrush = brushColor >= 0;
    const std::uint8_t brushBlue = static_cast<std::uint8_t>((brushColor / 65536) % 256);
    const std::uint8_t brushGreen = static_cast<std::uint8_t>((brushColor / 256) % 256);
    const std::uint8_t brushRed = static_cast<std::uint8_t>(brushColor % 256);
    // Without the mask colour no pixel is transparent: no colour of a pixel is 0xFFFFFFFF.
    const gdi::COLORREF transparent = useMaskColor ? transparentColor : 0xFFFFFFFFu;

    const int stride = gdi::DibRowBytes(width);
    for (int row = 0; row < height; ++row) {
        // Rows are stored bottom first.
        const int pictureRow = height - 1 - row;
        if (pictureRow >= coveredHeight) {
            continue;
        }
        const std::size_t rowStart = static_cast<std::size_t>(row) * static_cast<std::size_t>(stride);
        for (int col = 0; col < coveredWidth; ++col) {
            const std::size_t i = rowStart + 3 * static_cast<std::size_t>(col);
            const int pb = pic[i];
            const int pg = pic[i + 1];
            const int pr = pic[i + 2];
            if (destDC.GetNearestColor(gdi::Rgb(pr, pg, pb)) == transparent) {
                continue;
            }
            if (useBrush) {
                if (darkOnly && pr + pg + pb > 384) {
                    continue;
                }
                bg[i] = brushBlue;
                bg[i + 1] = brushGreen;
                bg[i + 2] = brushRed;
            } else if (greyscale) {
                const auto grey = static_cast<std::uint8_t>(GreyLevel(pr, pg, pb));
                bg[i] = grey;
                bg[i + 1] = grey;
                bg[i + 2] = grey;
            } else if (blend) {
                bg[i] = static_cast<std::uint8_t>((2 * pb + bg[i]) / 3);
                bg[i + 1] = static_cast<std::uint8_t>((2 * pg + bg[i + 1]) / 3);
                bg[i + 2] = static_cast<std::uint8_t>((2 * pr + bg[i + 2]) / 3);
            } else {
                bg[i] = static_cast<std::uint8_t>(pb);
                bg[i + 1] = static_cast<std::uint8_t>(pg);
                bg[i + 2] = static_cast<std::uint8_t>(pr);
            }
            // Only the pixels drawn go back: the rest would come back as what the one-pixel
            // copy above kept, losing detail of a surface finer than a logical pixel.
            destDC.SetPixelV(x + col, y + pictureRow, gdi::Rgb(bg[i + 2], bg[i + 1], bg[i]));
        }
    }
}
