#include "forms/TileLayout.h"

#include <QtGlobal>

int TileLayout::columns(int boardWidth) const
{
    return qMax(1, (boardWidth + gap) / (tileWidth + gap));
}

QRect TileLayout::tileRect(int index, int boardWidth) const
{
    const int perColumn = qMax(1, maxRows);
    const int perBlock = perColumn * columns(boardWidth);
    const int block = index / perBlock;
    const int inBlock = index % perBlock;
    const int column = inBlock / perColumn;
    const int row = block * perColumn + inBlock % perColumn;
    return { column * (tileWidth + gap), row * (tileHeight + gap), tileWidth, tileHeight };
}

int TileLayout::contentHeight(int count, int boardWidth) const
{
    if (count <= 0)
        return 0;
    const int perColumn = qMax(1, maxRows);
    const int perBlock = perColumn * columns(boardWidth);
    const int fullBlocks = (count - 1) / perBlock;
    const int inLastBlock = count - fullBlocks * perBlock;
    const int rows = fullBlocks * perColumn + qMin(inLastBlock, perColumn);
    return rows * tileHeight + (rows - 1) * gap;
}

int TileLayout::indexAt(QPoint point, int count, int boardWidth) const
{
    if (point.x() < 0 || point.y() < 0)
        return -1;
    const int column = point.x() / (tileWidth + gap);
    const int row = point.y() / (tileHeight + gap);
    if (column >= columns(boardWidth) || point.x() % (tileWidth + gap) >= tileWidth
        || point.y() % (tileHeight + gap) >= tileHeight)
        return -1;
    const int perColumn = qMax(1, maxRows);
    const int block = row / perColumn;
    const int index = block * perColumn * columns(boardWidth) + column * perColumn + row % perColumn;
    return index < count ? index : -1;
}
