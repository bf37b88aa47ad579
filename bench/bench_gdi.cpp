// The drawing layer on a 161 x 41 button surface: fills, the two-ring frame, the ellipse, the
// elliptic region, the caption text and the button picture in its looks, each reported next to
// filling the same image once.
#include "BenchRatio.h"
#include "GdiDC.h"
#include "Picture.h"
#include "Regions.h"
#include "TransparentPicture.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>

namespace {

constexpr int Width = 161;
constexpr int Height = 41;

QImage Surface() {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

platform::Picture ButtonPicture() {
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            image.setPixel(x, y, (x + y) % 5 == 0 ? qRgba(0, 0, 0, 0) : qRgb(x * 8, y * 8, 128));
        }
    }
    return platform::Picture::FromImage(image, platform::Picture::Kind::Icon);
}

void FillImage(benchmark::State& state) {
    QImage image = Surface();
    for (auto _ : state) {
        image.fill(QColor(0xD7, 0xD7, 0xD7));
        benchmark::DoNotOptimize(image.constBits());
    }
}

void FillRect(benchmark::State& state) {
    QImage image = Surface();
    gdi::DeviceContext dc(image);
    for (auto _ : state) {
        dc.FillRect({0, 0, Width, Height}, 0xD7D7D7);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// Two rings of one-pixel lines along the edge, as a bevelled button draws its frame.
void Frame(benchmark::State& state) {
    QImage image = Surface();
    gdi::DeviceContext dc(image);
    const int r = Width - 1;
    const int b = Height - 1;
    for (auto _ : state) {
        dc.SelectPen({0xFFFFFF, 1, false});
        dc.MoveToEx(0, b);
        dc.LineTo(0, 0);
        dc.LineTo(r, 0);
        dc.SelectPen({0x000000, 1, false});
        dc.LineTo(r, b);
        dc.LineTo(-1, b);
        dc.MoveToEx(1, b - 1);
        dc.SelectPen({0xDFDFDF, 1, false});
        dc.LineTo(1, 1);
        dc.LineTo(r - 1, 1);
        dc.SelectPen({0x808080, 1, false});
        dc.LineTo(r - 1, b - 1);
        dc.LineTo(0, b - 1);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void Ellipse(benchmark::State& state) {
    QImage image = Surface();
    gdi::DeviceContext dc(image);
    dc.SelectPen({0x000000, 2, false});
    dc.SelectBrush({0xD7D7D7, false});
    for (auto _ : state) {
        dc.Ellipse({0, 0, Width, Height});
        benchmark::DoNotOptimize(image.constBits());
    }
}

void EllipticRegion(benchmark::State& state) {
    for (auto _ : state) {
        QRegion region = gdi::CreateEllipticRgn(0, 0, Width, Height);
        benchmark::DoNotOptimize(region.rectCount());
    }
}

// Measuring and drawing a caption the way a button does: calculate its rectangle, then draw it
// centred.
void Caption(benchmark::State& state) {
    QImage image = Surface();
    gdi::DeviceContext dc(image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    dc.SetFont(font);
    for (auto _ : state) {
        gdi::Rect r{33, 1, Width - 2, Height - 2};
        dc.DrawTextA(QStringLiteral("&Open ROM..."), r, gdi::DtCalcRect | gdi::DtWordBreak);
        dc.DrawTextA(QStringLiteral("&Open ROM..."), r, gdi::DtCenter | gdi::DtVCenter | gdi::DtWordBreak);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void PictureLook(benchmark::State& state, std::int32_t brush, bool darkOnly, bool greyscale, bool blend) {
    QImage image = Surface();
    const platform::Picture picture = ButtonPicture();
    for (auto _ : state) {
        DrawTransparentPicture(image, 8, 4, 32, 32, picture, 0xC0C0C0, brush, darkOnly, greyscale, blend,
                               true, 0xC0C0C0);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void PictureNormal(benchmark::State& state) {
    PictureLook(state, -1, false, false, false);
}
void PictureGreyscale(benchmark::State& state) {
    PictureLook(state, -1, false, true, false);
}
void PictureBlend(benchmark::State& state) {
    PictureLook(state, -1, false, false, true);
}
void PictureDarkOnly(benchmark::State& state) {
    PictureLook(state, 0x808080, true, false, false);
}

BENCHMARK(FillImage);
BENCHMARK(FillRect);
BENCHMARK(Frame);
BENCHMARK(Ellipse);
BENCHMARK(EllipticRegion);
BENCHMARK(Caption);
BENCHMARK(PictureNormal);
BENCHMARK(PictureGreyscale);
BENCHMARK(PictureBlend);
BENCHMARK(PictureDarkOnly);

} // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; the benchmarks run headless.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const std::string fill = "FillImage";
    return BenchRatio::RunAndPrintRatios(argc, argv,
                                         {
                                             {"FillRect", fill, "FillRect of the whole button"},
                                             {"Frame", fill, "two-ring frame of lines"},
                                             {"Ellipse", fill, "Ellipse with 2-pixel pen"},
                                             {"EllipticRegion", fill, "CreateEllipticRgn"},
                                             {"Caption", fill, "caption measured and drawn"},
                                             {"PictureNormal", fill, "32x32 picture, own colours"},
                                             {"PictureGreyscale", fill, "32x32 picture, greyscale"},
                                             {"PictureBlend", fill, "32x32 picture, blend"},
                                             {"PictureDarkOnly", fill, "32x32 picture, dark-only brush"},
                                         });
}
