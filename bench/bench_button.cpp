// How long the button takes to draw itself at the editor's size (161 x 41), against filling the
// same image once: the editor's Open button as its design file describes it (a forced redraw, and
// the looks of one click), colours, caption layout and a forced redraw together, then a redraw of
// each style.
#include "BenchRatio.h"
#include "CursorQuery.h"
#include "PropertyBag.h"
#include "StyledButton.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <cstdio>

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

// The editor's Open button, loaded from the window's design file, with its handlers opened to
// the benchmark.
class EditorButton : public StyledButton {
public:
    EditorButton() {
        QFile design(QStringLiteral(EVO_SOURCE_DIR "/src/editor/design/cmdOpen.json"));
        std::optional<platform::PropertyBag> bag;
        if (design.open(QIODevice::ReadOnly)) {
            bag = platform::PropertyBag::FromText(design.readAll());
        }
        if (bag) {
            ReadProperties(*bag);
        } else {
            std::fprintf(stderr, "bench_button: cannot read %s\n", qPrintable(design.fileName()));
            InitProperties();
            SetCaption(QStringLiteral("Open ROM..."));
            SetButtonType(GradientFramed);
        }
        resize(Width, Height);
        UserControl_Resize();
    }
    void Draw() { Redraw(0, true); }
    // What the button itself does for one click with the mouse coming and going: the hover look,
    // the down look, the up look, the click's forced up look, and the look once the mouse left.
    void Click() {
        short button = 0;
        short shift = 0;
        float x = 50;
        float y = 15;
        platform::CursorQuery::SetQuery([this] { return this; });
        UserControl_MouseMove(button, shift, x, y);
        button = 1;
        UserControl_MouseDown(button, shift, x, y);
        UserControl_MouseUp(button, shift, x, y);
        UserControl_Click();
        platform::CursorQuery::SetQuery([] { return nullptr; });
        OverTimer_Timer();
    }
};

void FillImage(benchmark::State& state) {
    QImage image(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(qRgb(192, 192, 192));
        benchmark::DoNotOptimize(image.bits());
    }
}

void EditorButtonRedraw(benchmark::State& state) {
    EditorButton button;
    for (auto _ : state) {
        button.Draw();
    }
}

void EditorButtonClick(benchmark::State& state) {
    EditorButton button;
    for (auto _ : state) {
        button.Click();
    }
    platform::CursorQuery::SetQuery({});
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
    benchmark::RegisterBenchmark("EditorButton/Redraw", EditorButtonRedraw);
    benchmark::RegisterBenchmark("EditorButton/Click", EditorButtonClick);
    benchmark::RegisterBenchmark("LayoutAndRedraw", LayoutAndRedraw);
    std::vector<BenchRatio::Pair> pairs{
        {"EditorButton/Redraw", "FillImage", "forced redraw, editor Open button (aim: 20)"},
        {"EditorButton/Click", "FillImage", "click looks, editor Open button"},
        {"LayoutAndRedraw", "FillImage", "colours + layout + redraw"}};
    for (int style = 1; style <= 14; ++style) {
        const std::string name = std::string("Redraw/") + StyleNames[style - 1];
        benchmark::RegisterBenchmark(name.c_str(), RedrawStyle, style);
        pairs.push_back({name, "FillImage", std::string("redraw ") + StyleNames[style - 1]});
    }
    return BenchRatio::RunAndPrintRatios(argc, argv, pairs);
}
