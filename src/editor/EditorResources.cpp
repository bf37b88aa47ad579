// Registers the editor library's embedded files once per process.
#include "EditorResources.h"

#include "Picture.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QStyle>
#include <QStyleOption>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <mutex>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be used inside a namespace.
static void RegisterEditorResources() {
    Q_INIT_RESOURCE(editor);
    Q_INIT_RESOURCE(AppIcon);
}

namespace {

constexpr std::array<int, 8> IconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The application icon's drawn sizes, each decoded only when a size is first asked for: most
// platforms ask for one or two of them, and decoding all eight is a noticeable part of start-up.
class AppIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const int side = Fitting(qMax(size.width(), size.height()));
        QPixmap picture = Drawn(side);
        if (picture.isNull()) {
            return picture;
        }
        if (side > size.width() || side > size.height()) {
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        // Disabled and selected looks are made from the picture the way the style makes them.
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
            QStyleOption option;
            option.palette = QApplication::palette();
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        Q_UNUSED(state);
        return picture;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        const int side = qMin(Fitting(qMax(size.width(), size.height())), qMin(size.width(), size.height()));
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        QList<QSize> sizes;
        for (const int side : IconSizes) {
            sizes << QSize(side, side);
        }
        return sizes;
    }

    QIconEngine* clone() const override { return new AppIconEngine(*this); }
    QString key() const override { return QStringLiteral("EvolutionEditorAppIcon"); }

private:
    // The smallest drawn size that covers `side`, else the largest.
    static int Fitting(int side) {
        for (const int drawn : IconSizes) {
            if (drawn >= side) {
                return drawn;
            }
        }
        return IconSizes.back();
    }

    QPixmap Drawn(int side) {
        const auto at =
            static_cast<std::size_t>(std::find(IconSizes.begin(), IconSizes.end(), side) - IconSizes.begin());
        if (decoded[at].isNull()) {
            QFile file(QStringLiteral(":/icons/app/%1.png").arg(side));
            if (file.open(QIODevice::ReadOnly)) {
                decoded[at] = QPixmap::fromImage(platform::Picture::DecodePng(file.readAll()));
            }
        }
        return decoded[at];
    }

    std::array<QPixmap, IconSizes.size()> decoded;
};

} // namespace

namespace EditorResources {

void Init() {
    static std::once_flag once;
    std::call_once(once, RegisterEditorResources);
}

QIcon ApplicationIcon() {
    Init();
    return QIcon(new AppIconEngine);
}

} // namespace EditorResources
