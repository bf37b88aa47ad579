// render-styles: draws the button in each of its fourteen styles and in each state (normal, hover,
// pressed, disabled, focused, default) at the editor's size, into one labelled PNG sheet.
#include "StyledButton.h"

#include <QApplication>
#include <QPainter>
#include <QTextStream>

namespace {

constexpr int CellWidth = 161;
constexpr int CellHeight = 41;
constexpr int Gap = 8;
constexpr int LabelWidth = 150;
constexpr int HeaderHeight = 24;

const char* const StyleNames[] = {
    "1 BorderedBevel",     "2 ClassicBevel",       "3 GradientFramed", "4 InsetPanel",     "5 FlatPanel",
    "6 LightBevel",        "7 FlatBevel",          "8 HoverBevel",     "9 SelectionHover", "10 PlainFace",
    "11 ParentBackground", "12 HoverClassicBevel", "13 Elliptic",      "14 GradientPanel"};
const char* const StateNames[] = {"normal", "hover", "pressed", "disabled", "focused", "default"};

// A small open folder, so that the sheet shows where each style puts its picture.
platform::Picture FolderPicture() {
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(QColor(120, 90, 0));
    p.setBrush(QColor(240, 200, 60));
    p.drawRect(2, 6, 19, 14);
    p.drawRect(2, 4, 8, 3);
    p.setBrush(QColor(40, 160, 40));
    p.drawPolygon(QPolygon({QPoint(12, 10), QPoint(20, 14), QPoint(12, 18)}));
    return platform::Picture::FromImage(image, platform::Picture::Kind::Icon);
}

// Opens the renderer's state so each cell can be drawn in the state it shows.
class SheetButton : public StyledButton {
public:
    using StyledButton::StyledButton;
    void DrawState(int state) {
        IsOver = state == 1;
        HasFocus = state == 4;
        if (state == 5) {
            SetAmbientDisplayAsDefault(true);
        }
        if (state == 3) {
            SetEnabled(false);
        }
        Redraw(state == 2 ? 2 : 0, true);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: render-styles <sheet.png>\n";
        return 2;
    }

    const int columns = 6;
    const int rows = 14;
    QImage sheet(LabelWidth + columns * (CellWidth + Gap) + Gap,
                 HeaderHeight + rows * (CellHeight + Gap) + Gap, QImage::Format_RGB32);
    sheet.fill(QColor(236, 233, 216));
    QPainter painter(&sheet);
    painter.setPen(Qt::black);
    for (int c = 0; c < columns; ++c) {
        painter.drawText(QRect(LabelWidth + c * (CellWidth + Gap), 0, CellWidth, HeaderHeight),
                         Qt::AlignCenter, QString::fromLatin1(StateNames[c]));
    }

    // The transparent style shows its container: a striped host makes that visible.
    QWidget host;
    host.resize(CellWidth + 20, CellHeight + 20);
    host.setAutoFillBackground(true);
    QPalette stripes = host.palette();
    QLinearGradient gradient(0, 0, 24, 0);
    gradient.setSpread(QGradient::RepeatSpread);
    gradient.setColorAt(0, QColor(120, 170, 220));
    gradient.setColorAt(1, QColor(236, 233, 216));
    stripes.setBrush(QPalette::Window, gradient);
    host.setPalette(stripes);
    host.show();

    const platform::Picture folder = FolderPicture();
    for (int r = 0; r < rows; ++r) {
        const int y = HeaderHeight + r * (CellHeight + Gap);
        painter.drawText(QRect(Gap, y, LabelWidth - Gap, CellHeight), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromLatin1(StyleNames[r]));
        for (int c = 0; c < columns; ++c) {
            SheetButton button(&host);
            button.InitProperties();
            button.SetCaption(QStringLiteral("Open ROM..."));
            button.SetPictureNormal(folder);
            button.SetButtonType(r + 1);
            button.setGeometry(10, 10, CellWidth, CellHeight);
            button.show();
            button.DrawState(c);
            const QPoint at(LabelWidth + c * (CellWidth + Gap), y);
            // Cut-away corners show the sheet, as they show the window behind the button.
            painter.setClipRegion(button.mask().isEmpty() ? QRegion(button.rect()).translated(at)
                                                          : button.mask().translated(at));
            painter.drawImage(at, button.Surface());
            painter.setClipping(false);
        }
    }
    painter.end();
    if (!sheet.save(args.at(1))) {
        QTextStream(stderr) << "render-styles: cannot write " << args.at(1) << "\n";
        return 1;
    }
    return 0;
}
