#pragma once

#include "data/PendingTile.h"

#include <QAbstractListModel>
#include <QList>

/// The tiles of the board, one per pending line in the order the database
/// returned them, and whether the placeholder tile still stands in for them
/// (until the first rebuild).
///
/// A rebuild hands over the whole new list; the model tells its views only
/// when what they show has changed, so an unchanged board is not repainted.
class PendingTileModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        NumberRole = Qt::UserRole + 1, ///< first text: NUM_VENTE
        QuantityRole, ///< second text: QTE
        ArticleRole, ///< third text: ARTICLE (also Qt::DisplayRole)
        KeyRole, ///< fourth text: CLE_ART
        SizeRole, ///< detail caption: TAILLE, empty when NULL
        SizeIsNullRole, ///< whether TAILLE was NULL
        ColorRole, ///< background (also Qt::BackgroundRole)
    };

    explicit PendingTileModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<PendingTile> &tiles() const { return m_tiles; }
    const PendingTile &tile(int row) const { return m_tiles.at(row); }

    /// True until the first rebuild: the board shows its placeholder tile.
    bool placeholderShown() const { return m_placeholderShown; }

    /// Puts these tiles in place of all others (and of the placeholder).
    /// Returns false, and signals nothing, when the board already showed exactly these.
    bool setTiles(QList<PendingTile> tiles);
    /// Removes every tile.
    bool clear() { return setTiles({}); }

private:
    QList<PendingTile> m_tiles;
    bool m_placeholderShown = true;
};
