// kitchen-tool validated: the validated lines as the grid lists them, the latest first.

#include "StationDatabase.h"
#include "ToolCommand.h"
#include "data/DataModule.h"
#include "data/PendingTile.h"
#include "data/ValidatedLineOrder.h"

#include <QTextStream>

namespace {

int validated(const QStringList &arguments, QTextStream &out)
{
    const QDate date = StationDatabase::dateArgument(arguments);
    DataModule module;
    StationDatabase::open(module.UniConnection1);
    DbQuery &lines = module.Liste_Commande;
    lines.setParam(0, date);
    lines.open();
    const int number = lines.fieldIndex(QStringLiteral("NUM_VENTE"));
    const int table = lines.fieldIndex(QStringLiteral("NUMERO_TABLE"));
    const int quantity = lines.fieldIndex(QStringLiteral("QTE"));
    const int time = lines.fieldIndex(QStringLiteral("TIME_ORDER"));
    const int article = lines.fieldIndex(QStringLiteral("ARTICLE"));
    for (const int index : validatedLineOrder(lines)) {
        const DbRow &row = lines.row(index);
        out << row.at(number).toText() << '\t' << PendingTile::numberText(row.at(table)) << '\t'
            << PendingTile::numberText(row.at(quantity)) << '\t'
            << (row.at(time).isNull() ? QString() : row.at(time).toTime().toString()) << '\t'
            << row.at(article).toText() << '\n';
    }
    return 0;
}

const ToolCommand::Registration registration({
    QStringLiteral("validated"),
    QStringLiteral("validated [--date YYYY-MM-DD] the validated lines, latest first: NUM_VENTE, NUMERO_TABLE, "
                   "QTE, TIME_ORDER, ARTICLE"),
    validated,
});

} // namespace
