// A button picture: a bitmap or an icon (an icon's alpha is its transparency) with its size in
// HIMETRIC at 96 dpi, as stored in a control's design data.
#pragma once

#include <QByteArray>
#include <QImage>

namespace platform {

class Picture {
public:
    // The numbers are those stored next to the picture's PNG.
    enum class Kind { None = 0, Bitmap = 1, Icon = 3 };

    Picture() = default;

    // A bitmap keeps only the image's colours; an icon keeps its alpha as transparency.
    // A null image gives an empty picture.
    static Picture FromImage(const QImage& image, Kind kind);
    // Data that is not a readable image, or kind None, gives an empty picture.
    static Picture FromPng(const QByteArray& png, Kind kind);
    // PNG data as an image, read by Qt's own PNG reader alone: no image plugin is loaded to ask
    // whether it reads the data better. A null image for data that is no PNG.
    static QImage DecodePng(const QByteArray& png);

    QByteArray ToPng() const; // empty for an empty picture

    bool IsEmpty() const { return image_.isNull(); }
    Kind Type() const { return image_.isNull() ? Kind::None : kind_; }
    const QImage& Image() const { return image_; }

    // Size in HIMETRIC (0.01 mm), 0 when empty.
    int Width() const { return PixelsToHimetric(PixelWidth()); }
    int Height() const { return PixelsToHimetric(PixelHeight()); }
    int PixelWidth() const { return image_.isNull() ? 0 : image_.width(); }
    int PixelHeight() const { return image_.isNull() ? 0 : image_.height(); }

    // HIMETRIC <-> pixels at 96 dpi; pixels to HIMETRIC rounds to the nearest whole unit.
    static int PixelsToHimetric(int pixels);
    static double HimetricToPixels(int himetric);

    friend bool operator==(const Picture& a, const Picture& b);

private:
    QImage image_; // RGB32 for a bitmap, ARGB32 for an icon
    Kind kind_ = Kind::None;
};

} // namespace platform
