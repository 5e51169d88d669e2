#pragma once

#include <QColor>
#include <QString>

/// The values one order tile carries.
struct BoardTile
{
    QString number;
    QString quantity;
    QString article;
    QString key;
    QString size;
    bool sizeIsNull = false;
    QColor color;

    bool operator==(const BoardTile &) const = default;
};
