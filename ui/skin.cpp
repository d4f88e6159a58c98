#include "ui/skin.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include "ui/main_layout.h"

// Resources of a static library are registered by name, outside any namespace.
static void InitQuillexResources() {
    Q_INIT_RESOURCE(quillex);
}

namespace quillex {

void InitSkinResources() {
    InitQuillexResources();
}

qreal ScreenPixelRatio() {
    return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap SkinPixmap(const QString& name, QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/skin/%1.svg").arg(name));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QList<QPixmap> ButtonPictures() {
    const QSize close = layout::kSb_Close.size();
    const QSize file = layout::kBtn_Load_File.size();
    return {SkinPixmap(QStringLiteral("close"), close),
            SkinPixmap(QStringLiteral("close_hover"), close),
            SkinPixmap(QStringLiteral("load"), file),
            SkinPixmap(QStringLiteral("load_hover"), file),
            SkinPixmap(QStringLiteral("save"), file),
            SkinPixmap(QStringLiteral("save_hover"), file)};
}

QIcon WindowIcon() {
    QIcon icon;
    for (int side : {16, 32, 48, 64, 128}) {
        icon.addPixmap(SkinPixmap(QStringLiteral("icon"), QSize(side, side), 1.0));
    }
    return icon;
}

QPixmap TrayPicture() {
    return SkinPixmap(QStringLiteral("tray"), QSize(32, 32), 1.0);
}

}  // namespace quillex
