// How long the button takes to draw itself at the editor's size (161 x 41), against filling the
// same image once: colours, caption layout and a forced redraw together, then a redraw of each style.
#include "BenchRatio.h"
#include "StyledButton.h"

#include <QApplication>
#include <QImage>

namespace {

constexpr int Width = 161;
constexpr int Height = 41;

const char* const StyleNames[] = {"BorderedBevel",  "ClassicBevel", "GradientFramed",   "InsetPanel",
                                  "FlatPanel",      "LightBevel",   "FlatBevel",        "HoverBevel",
                                  "SelectionHover", "PlainFace",    "ParentBackground", "HoverClassicBevel",
                                  "Elliptic",       "GradientPanel"};

// Opens the renderer to the benchmark.
class BenchButton : public StyledButton {
public:
    BenchButton(int style) {
        InitProperties();
        resize(Width, Height);
        SetCaption(QStringLiteral("Open ROM..."));
        QImage picture(32, 32, QImage::Format_ARGB32);
        picture.fill(qRgba(200, 160, 40, 255));
        SetPictureNormal(platform::Picture::FromImage(picture, platform::Picture::Kind::Icon));
        SetButtonType(style);
    }
    void LayoutAndDraw() {
        ComputeColors();
        LayoutCaption();
        Redraw(0, true);
    }
    void Draw() { Redraw(0, true); }
};

void FillImage(benchmark::State& state) {
    QImage image(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(qRgb(192, 192, 192));
        benchmark::DoNotOptimize(image.bits());
    }
}

void LayoutAndRedraw(benchmark::State& state) {
    BenchButton button(StyledButton::ClassicBevel);
    for (auto _ : state) {
        button.LayoutAndDraw();
    }
}

void RedrawStyle(benchmark::State& state, int style) {
    BenchButton button(style);
    for (auto _ : state) {
        button.Draw();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("FillImage", FillImage);
    benchmark::RegisterBenchmark("LayoutAndRedraw", LayoutAndRedraw);
    std::vector<BenchRatio::Pair> pairs{{"LayoutAndRedraw", "FillImage", "colours + layout + redraw"}};
    for (int style = 1; style <= 14; ++style) {
        const std::string name = std::string("Redraw/") + StyleNames[style - 1];
        benchmark::RegisterBenchmark(name.c_str(), RedrawStyle, style);
        pairs.push_back({name, "FillImage", std::string("redraw ") + StyleNames[style - 1]});
    }
    return BenchRatio::RunAndPrintRatios(argc, argv, pairs);
}
