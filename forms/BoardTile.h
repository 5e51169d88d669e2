#pragma once

#include <QRgb>
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
    QRgb colour = qRgb(0, 0, 0);

    bool operator==(const BoardTile &) const = default;
};
