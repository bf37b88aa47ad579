// StyledButton's pictures on its surface, and the capture of the container's pixels that the
// transparent style shows as its face.
#include "StyledButton.h"

#include "TransparentPicture.h"

#include <QPainter>

void StyledButton::DrawTransparentPicture(int x, int y, int width, int height,
                                          const platform::Picture& picture, gdi::COLORREF transparentColor,
                                          std::int32_t brushColor, bool darkOnly, bool greyscale,
                                          bool blend) {
    ::DrawTransparentPicture(Surface(), x, y, width, height, picture, transparentColor, brushColor, darkOnly,
                             greyscale, blend, Props.UseMaskColor, TranslateColor(Props.MaskColor));
}

void StyledButton::CaptureBackground() {
    QWidget* container = parentWidget();
    if (container == nullptr || !BackgroundDC) {
        return; // nothing to capture from, or no buffer made at show time
    }
    Capturing = true;
    // The container is rendered with this control shrunk to nothing, so that what lies under it
    // (the container's own background and any sibling) is what the buffer receives.
    const int keptHeight = ClientHeight;
    resize(width(), 0);
    QImage under(std::max(ClientWidth, 1), std::max(keptHeight, 1), QImage::Format_RGB32);
    under.fill(Qt::black);
    if (ClientWidth > 0 && keptHeight > 0) {
        const QRect area(pos(), QSize(ClientWidth, keptHeight));
        container->render(&under, QPoint(0, 0), QRegion(area),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
        gdi::DeviceContext source(under);
        BackgroundDC->BitBlt(0, 0, ClientWidth, keptHeight, source, 0, 0);
    }
    resize(width(), keptHeight);
    Capturing = false;
}
