// The launcher's pictures, painted in code: background tiles, the launch-pad picture, the message
// dialogs' pictures, the drag images and the icon. Each is made once and kept.
#pragma once

#include <QIcon>
#include <QPixmap>

const QPixmap& backgroundTile64();   // whole dialogs and some frames, 64 x 64
const QPixmap& frameTile32();        // inside most decorative frames, 32 x 32
const QPixmap& launchPadPicture();   // the launch pad's picture, scaled by the caller
const QPixmap& errorPicture();
const QPixmap& messagePicture();
const QPixmap& warningPicture();
const QPixmap& dragImageOneRow();    // 88 x 16
const QPixmap& dragImageManyRows();  // 89 x 16
const QIcon& launcherIcon();
