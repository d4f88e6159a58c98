#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace quillex {

// The artwork, drawn as SVG in the program's resources and rendered at the size each
// control needs.
void InitSkinResources();

// The highest device pixel ratio of the screens: 2 on a 200 % screen.
qreal ScreenPixelRatio();

// ":/skin/<name>.svg" rendered at `size` in device-independent pixels, with `ratio` pixels of
// the picture to each of them, so that a scaled screen shows it sharp rather than blown up.
QPixmap SkinPixmap(const QString& name, QSize size, qreal ratio = ScreenPixelRatio());

// The image buttons' pictures, normal and highlighted in pairs:
// 0, 1 close; 2, 3 load; 4, 5 save.
QList<QPixmap> ButtonPictures();

QIcon WindowIcon();
// The tray icon's own picture, 32 x 32 pixels.
QPixmap TrayPicture();

}  // namespace quillex
