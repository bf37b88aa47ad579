// Pixel assertions for drawing tests: compares an area of an image with rows of characters that
// stand for colours, and prints both as text rows when they differ.
#pragma once

#include <QImage>
#include <QMap>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QTest>

namespace PixelRows {

// Character -> colour (0x00BBGGRR is not used here: these are plain QRgb values, 0xRRGGBB).
using Legend = QMap<QChar, QRgb>;

inline QChar CharFor(QRgb pixel, const Legend& legend) {
    for (auto it = legend.cbegin(); it != legend.cend(); ++it) {
        if ((it.value() & 0xFFFFFF) == (pixel & 0xFFFFFF)) {
            return it.key();
        }
    }
    return QLatin1Char('?');
}

// The area as text rows; pixels outside the image show as a blank, unknown colours as '?'.
inline QStringList Rows(const QImage& image, const QRect& area, const Legend& legend) {
    QStringList rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QString row;
        for (int x = area.left(); x <= area.right(); ++x) {
            row += image.valid(x, y) ? CharFor(image.pixel(x, y), legend) : QLatin1Char(' ');
        }
        rows << row;
    }
    return rows;
}

// True when the pixels at (x, y) onward match rows; otherwise report gets expected and actual rows.
inline bool Match(const QImage& image, int x, int y, const QStringList& expected, const Legend& legend,
                  QString* report) {
    const int width = expected.isEmpty() ? 0 : static_cast<int>(expected.first().size());
    const QStringList actual = Rows(image, QRect(x, y, width, static_cast<int>(expected.size())), legend);
    if (actual == expected) {
        return true;
    }
    if (report) {
        *report = QStringLiteral("pixels at (%1, %2) differ\nexpected:\n  %3\nactual:\n  %4")
                      .arg(x)
                      .arg(y)
                      .arg(expected.join(QStringLiteral("\n  ")), actual.join(QStringLiteral("\n  ")));
    }
    return false;
}

// Compares a drawing at device pixel ratio 2 with the same drawing at ratio 1: outside the logical
// area fine, every 2 x 2 block must be one colour, the colour of its pixel in one. Returns what
// differs first (empty when nothing does) and counts the blocks inside fine that are not one colour.
inline QString BlockMismatch(const QImage& one, const QImage& two, const QRect& fine, int* fineBlocks) {
    *fineBlocks = 0;
    if (two.size() != one.size() * 2) {
        return QStringLiteral("sizes %1x%2 and %3x%4")
            .arg(one.width())
            .arg(one.height())
            .arg(two.width())
            .arg(two.height());
    }
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            const QRgb p = two.pixel(2 * x, 2 * y);
            const bool uniform = two.pixel(2 * x + 1, 2 * y) == p && two.pixel(2 * x, 2 * y + 1) == p &&
                                 two.pixel(2 * x + 1, 2 * y + 1) == p;
            if (fine.contains(x, y)) {
                *fineBlocks += uniform ? 0 : 1;
            } else if (!uniform || p != one.pixel(x, y)) {
                return QStringLiteral("block (%1, %2) is %3 %4, at ratio 1 %5")
                    .arg(x)
                    .arg(y)
                    .arg(uniform ? "all" : "partly")
                    .arg(p & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(one.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
            }
        }
    }
    return QString();
}

} // namespace PixelRows

// Fails the current test with a readable picture of the difference.
#define EVO_COMPARE_PIXELS(image, x, y, expected, legend)                                                    \
    do {                                                                                                     \
        QString evoPixelReport;                                                                              \
        if (!PixelRows::Match((image), (x), (y), (expected), (legend), &evoPixelReport)) {                   \
            QFAIL(qPrintable(evoPixelReport));                                                               \
        }                                                                                                    \
    } while (false)
