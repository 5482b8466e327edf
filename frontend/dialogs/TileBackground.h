#pragma once
// Fills a dialog's background with copies of a tile picture at its natural
// size, row by row from the top-left corner. Tiles at the right and bottom
// edges are cut off by the window.

#include <QPixmap>
#include <QSize>

class QPainter;

void TileBackground(QPainter& painter, const QPixmap& tile, const QSize& client);
