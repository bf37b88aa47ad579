// The pixel work behind a button's pictures: drawing a picture with one colour left out, or in a
// solid colour, a dark-only colour, greyscale or a 2:1 blend with what lies underneath.
#pragma once

#include "Color.h"
#include "Picture.h"

#include <QImage>
#include <cstdint>

// Draws picture into dest at (x, y), width x height pixels (0: nothing; negative: the
// picture's own size). Picture pixels of transparentColor keep the destination, but only while
// useMaskColor is set. brushColor >= 0 paints every drawn pixel in that colour (with darkOnly,
// only pixels whose red + green + blue is at most 384); otherwise greyscale draws grey levels and
// blend mixes picture and destination 2:1. An icon's transparent area is first filled with maskRgb,
// the control's mask colour. Nothing outside dest or outside the picture is drawn.
void DrawTransparentPicture(QImage& dest, int x, int y, int width, int height,
                            const platform::Picture& picture, gdi::COLORREF transparentColor,
                            std::int32_t brushColor, bool darkOnly, bool greyscale, bool blend,
                            bool useMaskColor, gdi::COLORREF maskRgb);
