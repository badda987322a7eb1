#pragma once

#include <QIcon>
#include <QPixmap>

// The editor's images, drawn here rather than loaded, so they scale with nothing to ship.

// Toolbar 128's button images (16 x 15): new, open, save, cut, copy, paste, print, about.
// A null icon for any other command.
QIcon toolbarIcon(int commandId);

QIcon mainWindowIcon();     // icon 128
QIcon stageWindowIcon();    // icon 129
QPixmap aboutBoxIcon();     // icon 136, 32 x 32
QPixmap openFolderBitmap(); // bitmap 130, 16 x 15: the panels' browse buttons
