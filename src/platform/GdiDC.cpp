// The device context's drawing: fills, frames, lines, ellipses, focus dots, text and blits, all
// clipped to the image.
#include "GdiDC.h"

#include "Regions.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {

DeviceContext::DeviceContext(QImage& image) : image_(&image) {
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
        image.convertTo(QImage::Format_RGB32);
    }
}

namespace {

// Where logical coordinate v starts on a surface of the given pixel ratio.
int ToDevice(int v, qreal ratio) {
    return ratio == 1.0 ? v : static_cast<int>(std::floor(v * ratio + 0.5));
}

int ToLogical(int v, qreal ratio) {
    return ratio == 1.0 ? v : static_cast<int>(std::floor(v / ratio + 0.5));
}

} // namespace

int DeviceContext::Width() const {
    return ToLogical(image_->width(), Ratio());
}

int DeviceContext::Height() const {
    return ToLogical(image_->height(), Ratio());
}

QRect DeviceContext::DeviceRect(int left, int top, int right, int bottom) const {
    const qreal ratio = Ratio();
    left = std::max(ToDevice(left, ratio), 0);
    top = std::max(ToDevice(top, ratio), 0);
    right = std::min(ToDevice(right, ratio), image_->width());
    bottom = std::min(ToDevice(bottom, ratio), image_->height());
    if (left >= right || top >= bottom) {
        return {};
    }
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void DeviceContext::Plot(int x, int y, QRgb pixel) {
    if (Ratio() != 1.0) {
        FillRect({x, y, x + 1, y + 1}, FromQRgb(pixel));
        return;
    }
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) {
        return;
    }
    reinterpret_cast<QRgb*>(image_->scanLine(y))[x] = pixel;
}

void DeviceContext::FillRect(const Rect& rect, COLORREF color) {
    if (rect.IsEmpty()) {
        return; // also keeps coordinates far outside the image from reaching the conversion
    }
    const int imageWidth = image_->width();
    const int imageHeight = image_->height();
    QRect area;
    if (Ratio() == 1.0) {
        // Called for every line and rectangle of a redraw: the plain case stays short.
        area = QRect(QPoint(std::max(rect.left, 0), std::max(rect.top, 0)),
                     QPoint(std::min(rect.right, imageWidth) - 1, std::min(rect.bottom, imageHeight) - 1));
    } else {
        area = DeviceRect(std::max(rect.left, -1), std::max(rect.top, -1), std::min(rect.right, Width() + 1),
                          std::min(rect.bottom, Height() + 1));
    }
    if (area.isEmpty()) {
        return;
    }
    const QRgb pixel = ToQRgb(color);
    if (area.width() == imageWidth && area.height() == imageHeight) {
        image_->fill(pixel); // Qt's own fill is the fastest way over every pixel
        return;
    }
    uchar* const bits = image_->bits(); // once: scanLine() checks for sharing on every row
    const qsizetype stride = image_->bytesPerLine();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + area.left(), row + area.right() + 1, pixel);
    }
}

void DeviceContext::FrameRect(const Rect& rect, COLORREF color) {
    if (rect.IsEmpty()) {
        return;
    }
    FillRect({rect.left, rect.top, rect.right, rect.top + 1}, color);
    FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    FillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

Pen DeviceContext::SelectPen(const Pen& pen) {
    Pen previous = pen_;
    pen_ = pen;
    return previous;
}

Brush DeviceContext::SelectBrush(const Brush& brush) {
    Brush previous = brush_;
    brush_ = brush;
    return previous;
}

QPoint DeviceContext::MoveToEx(int x, int y) {
    const QPoint previous = position_;
    position_ = QPoint(x, y);
    return previous;
}

void DeviceContext::LineTo(int x, int y) {
    const QPoint from = position_;
    position_ = QPoint(x, y);
    if (pen_.null) {
        return;
    }
    // 64-bit, so that coordinates far apart cannot overflow.
    const long long dx = static_cast<long long>(x) - from.x();
    const long long dy = static_cast<long long>(y) - from.y();
    const int stepX = dx < 0 ? -1 : 1;
    const int stepY = dy < 0 ? -1 : 1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    // On a tie the pixel goes up on lines that run mostly across and left on lines that run
    // mostly down, whichever way the line is drawn: step the minor axis early only when that
    // step moves up (or left).
    const int bias = xMajor ? (dy < 0 ? 1 : 0) : (dx < 0 ? 1 : 0);
    const int width = std::max(pen_.width, 1);
    const int before = (width - 1) / 2; // a wide pen leans up and left
    if (dx == 0 && dy == 0) {
        return; // no pixel up to the end point
    }
    constexpr long long Far = 1LL << 29; // beyond this the rectangle's corners could overflow
    if ((dx == 0 || dy == 0) && std::llabs(dx + dy) < Far && std::abs(from.x()) < Far &&
        std::abs(from.y()) < Far) {
        // Across or down: the pixels the steps below would plot, as one rectangle. A line drawn
        // right to left or upwards covers the pixels after its end up to its start.
        const int length = static_cast<int>(std::llabs(dx + dy));
        const int first = static_cast<int>((dx + dy) < 0 ? (dx + dy) + 1 : 0);
        const int left = from.x() + (dy == 0 ? first : 0) - before;
        const int top = from.y() + (dx == 0 ? first : 0) - before;
        FillRect(
            {left, top, left + (dy == 0 ? length : 1) + width - 1, top + (dx == 0 ? length : 1) + width - 1},
            pen_.color);
        return;
    }
    const QRgb pixel = ToQRgb(pen_.color);
    // Rows are reached through one pointer fetched here: scanLine() per pixel would check for a
    // shared image every time.
    uchar* const bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    const int imageWidth = image_->width();
    const int imageHeight = image_->height();
    const bool scaled = Ratio() != 1.0;
    int px = from.x();
    int py = from.y();
    long long err = 2 * minor - major;
    for (long long i = 0; i < major; ++i) {
        if (width > 1 || scaled) {
            FillRect({px - before, py - before, px - before + width, py - before + width}, pen_.color);
        } else if (px >= 0 && py >= 0 && px < imageWidth && py < imageHeight) {
            reinterpret_cast<QRgb*>(bits + py * stride)[px] = pixel;
        }
        if (err + bias > 0) {
            if (xMajor) {
                py += stepY;
            } else {
                px += stepX;
            }
            err -= 2 * major;
        }
        err += 2 * minor;
        if (xMajor) {
            px += stepX;
        } else {
            py += stepY;
        }
    }
}

void DeviceContext::Ellipse(const Rect& rect) {
    Rect box = rect;
    if (box.left > box.right) {
        std::swap(box.left, box.right);
    }
    if (box.top > box.bottom) {
        std::swap(box.top, box.bottom);
    }
    // The path runs through the box; the pen straddles it, its extra half leaning up and left,
    // and the brush fills what lies inside the pen.
    std::vector<Span> fill;
    std::vector<Span> outer;
    if (pen_.null) {
        fill = EllipticSpans(box.left, box.top, box.right, box.bottom);
    } else {
        const int width = std::max(pen_.width, 1);
        const int out = width / 2;
        const int in = width - out;
        outer = EllipticSpans(box.left - out, box.top - out, box.right + in, box.bottom + in);
        fill = EllipticSpans(box.left + in, box.top + in, box.right - out, box.bottom - out);
    }
    if (!brush_.null) {
        for (const Span& s : fill) {
            FillRect({s.left, s.y, s.right, s.y + 1}, brush_.color);
        }
    }
    if (pen_.null) {
        return;
    }
    // The outline is every pixel of the outer ellipse that the inner one does not cover.
    std::size_t next = 0;
    for (const Span& s : outer) {
        while (next < fill.size() && fill[next].y < s.y) {
            ++next;
        }
        if (next < fill.size() && fill[next].y == s.y) {
            FillRect({s.left, s.y, fill[next].left, s.y + 1}, pen_.color);
            FillRect({fill[next].right, s.y, s.right, s.y + 1}, pen_.color);
        } else {
            FillRect({s.left, s.y, s.right, s.y + 1}, pen_.color);
        }
    }
}

void DeviceContext::SetPixelV(int x, int y, COLORREF color) {
    Plot(x, y, ToQRgb(color));
}

COLORREF DeviceContext::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return ClrInvalid;
    }
    // The block's first device pixel: the one a blocky drawing gave the whole block.
    const QRect block = DeviceRect(x, y, x + 1, y + 1);
    return FromQRgb(reinterpret_cast<const QRgb*>(image_->constScanLine(block.top()))[block.left()]);
}

void DeviceContext::DrawFocusRect(const Rect& rect) {
    if (rect.IsEmpty()) {
        return;
    }
    auto invert = [this](int x, int y) {
        if ((x + y) % 2 == 0) {
            return;
        }
        const QRect block = DeviceRect(x, y, x + 1, y + 1);
        for (int dy = block.top(); dy <= block.bottom(); ++dy) {
            QRgb* row = reinterpret_cast<QRgb*>(image_->scanLine(dy));
            for (int dx = block.left(); dx <= block.right(); ++dx) {
                row[dx] = (row[dx] & 0xFF000000u) | (~row[dx] & 0x00FFFFFFu);
            }
        }
    };
    // Each outline pixel exactly once, so that a second call restores the image.
    for (int x = rect.left; x < rect.right; ++x) {
        invert(x, rect.top);
        if (rect.bottom - 1 > rect.top) {
            invert(x, rect.bottom - 1);
        }
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        invert(rect.left, y);
        if (rect.right - 1 > rect.left) {
            invert(rect.right - 1, y);
        }
    }
}

COLORREF DeviceContext::SetTextColor(COLORREF color) {
    const COLORREF previous = textColor_;
    textColor_ = color;
    return previous;
}

QString StripPrefixes(const QString& text, int& underline) {
    QString plain;
    plain.reserve(text.size());
    underline = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            plain += text[i];
            continue;
        }
        if (i + 1 >= text.size()) {
            break;
        }
        ++i;
        if (text[i] != QLatin1Char('&')) {
            underline = static_cast<int>(plain.size());
        }
        plain += text[i];
    }
    return plain;
}

namespace {

struct TextLine {
    QString text;
    int underline = -1; // index of the access-key character in text, -1 for none
};

// Greedy breaking at spaces: a line takes as many words as fit; a word wider than the
// rectangle stays whole on its own line; the spaces where a line breaks are dropped.
std::vector<TextLine> BreakLines(const QString& plain, int underline, unsigned format, int width,
                                 const QFontMetrics& metrics) {
    std::vector<TextLine> lines;
    auto add = [&](qsizetype start, qsizetype end) {
        TextLine line{plain.mid(start, end - start), -1};
        if (underline >= start && underline < end) {
            line.underline = static_cast<int>(underline - start);
        }
        lines.push_back(line);
    };
    if (format & DtSingleLine) {
        add(0, plain.size());
        return lines;
    }
    qsizetype start = 0;
    while (start <= plain.size()) {
        qsizetype end = plain.indexOf(QLatin1Char('\n'), start);
        const qsizetype next = end < 0 ? plain.size() + 1 : end + 1;
        if (end < 0) {
            end = plain.size();
        }
        qsizetype paragraphEnd = end;
        if (paragraphEnd > start && plain[paragraphEnd - 1] == QLatin1Char('\r')) {
            --paragraphEnd;
        }
        if (!(format & DtWordBreak)) {
            add(start, paragraphEnd);
        } else {
            qsizetype pos = start;
            bool first = true;
            while (pos < paragraphEnd || first) {
                first = false;
                // Find the last break (end of a word) that still fits.
                qsizetype fit = -1;
                qsizetype scan = pos;
                while (scan < paragraphEnd) {
                    qsizetype wordEnd = scan;
                    while (wordEnd < paragraphEnd && plain[wordEnd] != QLatin1Char(' ')) {
                        ++wordEnd;
                    }
                    if (fit >= 0 && metrics.horizontalAdvance(plain.mid(pos, wordEnd - pos)) > width) {
                        break;
                    }
                    fit = wordEnd;
                    if (metrics.horizontalAdvance(plain.mid(pos, wordEnd - pos)) > width) {
                        break; // a first word too wide for the rectangle stays whole
                    }
                    scan = wordEnd;
                    while (scan < paragraphEnd && plain[scan] == QLatin1Char(' ')) {
                        ++scan;
                    }
                }
                if (fit < 0) {
                    fit = paragraphEnd;
                }
                add(pos, fit);
                pos = fit;
                while (pos < paragraphEnd && plain[pos] == QLatin1Char(' ')) {
                    ++pos;
                }
            }
        }
        start = next;
    }
    return lines;
}

} // namespace

TextLayout::TextLayout() = default;
TextLayout::~TextLayout() = default;
TextLayout::TextLayout(TextLayout&&) noexcept = default;
TextLayout& TextLayout::operator=(TextLayout&&) noexcept = default;

int TextLayout::Width() const {
    int widest = 0;
    for (const Line& line : lines) {
        widest = std::max(widest, line.width);
    }
    return widest;
}

TextLayout DeviceContext::LayoutText(const QString& text, int width, unsigned format) const {
    // A null image (a control not sized yet) has no resolution of its own: measure for the screen.
    QPaintDevice* device = image_->isNull() ? nullptr : image_;
    const QFontMetrics metrics(font_, device);
    TextLayout layout;
    layout.lineHeight = metrics.height();
    layout.ascent = metrics.ascent();
    layout.underlinePos = metrics.underlinePos();
    layout.underlineThickness = std::max(metrics.lineWidth(), 1);
    int underline = -1;
    const QString plain = (format & DtNoPrefix) ? text : StripPrefixes(text, underline);
    if (plain.isEmpty()) {
        return layout;
    }
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    for (const TextLine& line : BreakLines(plain, underline, format, width, metrics)) {
        TextLayout::Line kept;
        kept.width = metrics.horizontalAdvance(line.text);
        if (line.underline >= 0) {
            kept.underlineX = metrics.horizontalAdvance(line.text.left(line.underline));
            kept.underlineWidth = metrics.horizontalAdvance(line.text.mid(line.underline, 1));
        }
        if (format & DtCalcRect) {
            layout.lines.push_back(std::move(kept)); // measuring needs no shapes
            continue;
        }
        kept.shaped = std::make_unique<QTextLayout>(line.text, font_, device);
        kept.shaped->setTextOption(option);
        kept.shaped->setCacheEnabled(true); // keep the glyphs: that is what the layout is kept for
        kept.shaped->beginLayout();
        QTextLine shapedLine = kept.shaped->createLine();
        if (shapedLine.isValid()) {
            shapedLine.setPosition(QPointF(0, 0));
        }
        kept.shaped->endLayout();
        layout.lines.push_back(std::move(kept));
    }
    return layout;
}

int DeviceContext::DrawTextLayout(const TextLayout& layout, const Rect& rect, unsigned format) {
    const int textHeight = layout.Height();
    if (layout.lines.empty() || image_->isNull()) {
        return textHeight;
    }
    int y = rect.top;
    if (format & DtSingleLine) {
        if (format & DtVCenter) {
            y = rect.top + (rect.bottom - rect.top - layout.lineHeight) / 2;
        } else if (format & DtBottom) {
            y = rect.bottom - layout.lineHeight;
        }
    }
    QPainter painter(image_);
    painter.setFont(font_);
    painter.setPen(ToQColor(textColor_));
    painter.setClipRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
    for (const TextLayout::Line& line : layout.lines) {
        int x = rect.left;
        if (format & DtCenter) {
            x = (rect.left + rect.right - line.width) / 2;
        } else if (format & DtRight) {
            x = rect.right - line.width;
        }
        const int baseline = y + layout.ascent;
        // The shaped line has its top at the origin and its baseline at its own ascent.
        const QTextLine shaped = line.shaped ? line.shaped->lineAt(0) : QTextLine();
        if (shaped.isValid()) {
            line.shaped->draw(&painter, QPointF(x, baseline - shaped.ascent()));
        }
        if (line.underlineWidth > 0) {
            painter.fillRect(QRect(x + line.underlineX, baseline + layout.underlinePos, line.underlineWidth,
                                   layout.underlineThickness),
                             ToQColor(textColor_));
        }
        y += layout.lineHeight;
    }
    return textHeight;
}

int DeviceContext::DrawTextA(const QString& text, Rect& rect, unsigned format) {
    const TextLayout layout = LayoutText(text, rect.right - rect.left, format);
    if (format & DtCalcRect) {
        rect.right = rect.left + layout.Width();
        rect.bottom = rect.top + layout.Height();
        return layout.Height();
    }
    return DrawTextLayout(layout, rect, format);
}

void DeviceContext::BitBlt(int x, int y, int width, int height, const DeviceContext& src, int xSrc,
                           int ySrc) {
    // Clip against both images, moving source and destination together.
    if (x < 0) {
        xSrc -= x;
        width += x;
        x = 0;
    }
    if (y < 0) {
        ySrc -= y;
        height += y;
        y = 0;
    }
    if (xSrc < 0) {
        x -= xSrc;
        width += xSrc;
        xSrc = 0;
    }
    if (ySrc < 0) {
        y -= ySrc;
        height += ySrc;
        ySrc = 0;
    }
    width = std::min({width, Width() - x, src.Width() - xSrc});
    height = std::min({height, Height() - y, src.Height() - ySrc});
    if (width <= 0 || height <= 0) {
        return;
    }
    if (Ratio() == src.Ratio()) {
        // The same resolution: device pixels are copied as they are.
        const QRect to = DeviceRect(x, y, x + width, y + height);
        const QRect from = src.DeviceRect(xSrc, ySrc, xSrc + width, ySrc + height);
        const int columns = std::min(to.width(), from.width());
        const int rows = std::min(to.height(), from.height());
        // A copy within one image may overlap; take the source rows first.
        const QImage source =
            (src.image_ == image_) ? image_->copy(from.left(), from.top(), columns, rows) : QImage();
        for (int row = 0; row < rows; ++row) {
            const QRgb* in =
                source.isNull()
                    ? reinterpret_cast<const QRgb*>(src.image_->constScanLine(from.top() + row)) + from.left()
                    : reinterpret_cast<const QRgb*>(source.constScanLine(row));
            QRgb* out = reinterpret_cast<QRgb*>(image_->scanLine(to.top() + row)) + to.left();
            for (int col = 0; col < columns; ++col) {
                out[col] = 0xFF000000u | in[col];
            }
        }
        return;
    }
    // Another resolution (always another image): one colour per logical pixel, read where the
    // source's block starts.
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            Plot(x + col, y + row, 0xFF000000u | ToQRgb(src.GetPixel(xSrc + col, ySrc + row)));
        }
    }
}

} // namespace gdi
