#include "forms/PendingTileModel.h"

#include <QColor>

PendingTileModel::PendingTileModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int PendingTileModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tiles.size());
}

QVariant PendingTileModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const PendingTile &tile = m_tiles.at(index.row());
    switch (role) {
    case NumberRole:
        return tile.number;
    case QuantityRole:
        return tile.quantity;
    case Qt::DisplayRole:
    case ArticleRole:
        return tile.article;
    case KeyRole:
        return tile.key;
    case SizeRole:
        return tile.size;
    case SizeIsNullRole:
        return tile.sizeIsNull;
    case Qt::BackgroundRole:
    case ColorRole:
        return QColor(tile.colour);
    default:
        return {};
    }
}

QHash<int, QByteArray> PendingTileModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(NumberRole, "number");
    names.insert(QuantityRole, "quantity");
    names.insert(ArticleRole, "article");
    names.insert(KeyRole, "key");
    names.insert(SizeRole, "size");
    names.insert(SizeIsNullRole, "sizeIsNull");
    names.insert(ColorRole, "color");
    return names;
}

bool PendingTileModel::setTiles(QList<PendingTile> tiles)
{
    if (!m_placeholderShown && tiles == m_tiles)
        return false;
    beginResetModel();
    m_tiles = std::move(tiles);
    m_placeholderShown = false;
    endResetModel();
    return true;
}
