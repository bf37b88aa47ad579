// Checks that Debian's Qt headers parse after <windows.h> with the flags scripts/cross-windows
// uses, so that a failure of the platform headers' check is theirs and not Qt's.
#include <windows.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    QImage image(16, 16, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(RGB(1, 2, 3)));
    window.setMask(QRegion(image.rect()));
    return 0;
}
