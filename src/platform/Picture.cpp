// Button pictures: construction from images and PNG data, HIMETRIC sizes.
#include "Picture.h"

#include <QBuffer>
#include <QImageReader>
#include <cmath>

namespace platform {

Picture Picture::FromImage(const QImage& image, Kind kind) {
    Picture picture;
    if (image.isNull() || kind == Kind::None) {
        return picture;
    }
    picture.kind_ = kind;
    // An icon keeps its alpha as its mask; a bitmap has no transparency of its own.
    picture.image_ = image.convertToFormat(kind == Kind::Icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return picture;
}

Picture Picture::FromPng(const QByteArray& png, Kind kind) {
    const QImage image = DecodePng(png);
    if (image.isNull()) {
        return Picture();
    }
    return FromImage(image, kind);
}

QImage Picture::DecodePng(const QByteArray& png) {
    QBuffer buffer;
    buffer.setData(png);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QByteArray Picture::ToPng() const {
    QByteArray png;
    if (image_.isNull()) {
        return png;
    }
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image_.save(&buffer, "PNG");
    return png;
}

int Picture::PixelsToHimetric(int pixels) {
    return static_cast<int>(std::lround(static_cast<double>(pixels) * 2540.0 / 96.0));
}

double Picture::HimetricToPixels(int himetric) {
    return static_cast<double>(himetric) * 96.0 / 2540.0;
}

bool operator==(const Picture& a, const Picture& b) {
    return a.Type() == b.Type() && a.image_ == b.image_;
}

} // namespace platform
