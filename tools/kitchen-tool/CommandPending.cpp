// kitchen-tool pending: the tiles the board shows, one line each, in board order.

#include "StationDatabase.h"
#include "ToolCommand.h"
#include "data/DataModule.h"
#include "data/PendingTile.h"

#include <QTextStream>

namespace {

int pending(const QStringList &arguments, QTextStream &out)
{
    const QDate date = StationDatabase::dateArgument(arguments);
    DataModule module;
    StationDatabase::open(module.UniConnection1);
    module.Liste_article.setParam(0, date);
    module.Liste_article.open();
    for (const PendingTile &tile : PendingTile::fromQuery(module.Liste_article)) {
        out << tile.number << '\t' << tile.quantity << '\t' << tile.article << '\t' << tile.key << '\t' << tile.size
            << '\n';
    }
    return 0;
}

const ToolCommand::Registration registration({
    QStringLiteral("pending"),
    QStringLiteral("pending [--date YYYY-MM-DD]   the board's tiles: NUM_VENTE, QTE, ARTICLE, CLE_ART, TAILLE"),
    pending,
});

} // namespace
