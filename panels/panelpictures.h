#pragma once

#include <QColor>
#include <QPixmap>

#include <cstdint>

// Small pictures of the tool panels, drawn here rather than loaded.

// 16 x 15: an opened folder, shown on the properties panel's browse buttons.
QPixmap openFolderPicture();

// 8 x 8: the block kind `kind` (1..8, or any other code) in the colours the stage shows it in.
QPixmap blockKindPicture(int kind);

// A 0x00BBGGRR colour value as a QColor.
QColor colourOfValue(std::uint32_t bbggrr);
