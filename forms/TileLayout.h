#pragma once

#include <QPoint>
#include <QRect>

/// Where the tiles of the board stand. Tiles flow down a column of at most
/// maxRows tiles, then down the next column to its right, as many columns as
/// the board's width holds; when those columns are full, the next tiles start
/// a new block of columns below. The board scrolls vertically.
struct TileLayout
{
    int tileWidth = 341; ///< a large tile: two cells of 170 and the gap between them
    int tileHeight = 63;
    int gap = 1;
    int maxRows = 10;

    /// Columns side by side in a board of that width (at least one).
    int columns(int boardWidth) const;
    /// The tile's place in content coordinates (before scrolling).
    QRect tileRect(int index, int boardWidth) const;
    /// Height of the content holding count tiles.
    int contentHeight(int count, int boardWidth) const;
    /// Index of the tile under a point of the content, -1 when none.
    int indexAt(QPoint point, int count, int boardWidth) const;
};
