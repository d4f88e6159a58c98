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

// ":/skin/<name>.svg" rendered at `size`.
QPixmap SkinPixmap(const QString& name, QSize size);

// BitmapList_Btn: the image buttons' pictures, normal and highlighted in pairs:
// 0, 1 close; 2, 3 load; 4, 5 save.
QList<QPixmap> ButtonPictures();

QIcon WindowIcon();
// The tray icon's own picture, 32 x 32.
QPixmap TrayPicture();

}  // namespace quillex
