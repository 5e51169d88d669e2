// kitchen-tool check-db: whether the database has what the station relies on.

#include "StationDatabase.h"
#include "ToolCommand.h"
#include "app/StationError.h"
#include "data/DbConnection.h"
#include "data/SchemaCheck.h"

#include <QTextStream>

namespace {

int checkDb(const QStringList &arguments, QTextStream &out)
{
    if (!arguments.isEmpty())
        throw StationError(QStringLiteral("check-db takes no argument"));
    DbConnection connection;
    StationDatabase::open(connection);
    int problems = 0;
    for (const SchemaCheck::Item &item : SchemaCheck::run(connection)) {
        QString what;
        switch (item.kind) {
        case SchemaCheck::Item::Kind::Table:
            what = QStringLiteral("table ") + item.table;
            break;
        case SchemaCheck::Item::Kind::Column:
            what = QStringLiteral("column ") + item.table + QLatin1Char('.') + item.column;
            break;
        case SchemaCheck::Item::Kind::Index:
            what = QStringLiteral("index on ") + item.table + QLatin1Char('.') + item.column;
            break;
        }
        QString verdict;
        if (item.ok)
            verdict = QStringLiteral("ok");
        else if (item.found.isEmpty())
            verdict = QStringLiteral("missing: ") + item.advice;
        else
            verdict = QStringLiteral("unusable: ") + item.advice;
        if (!item.ok)
            ++problems;
        out << what << '\t' << (item.found.isEmpty() ? QStringLiteral("-") : item.found) << '\t' << verdict << '\n';
    }
    if (problems == 0)
        out << "everything the station relies on is there\n";
    else
        out << problems << (problems == 1 ? " problem\n" : " problems\n");
    return problems == 0 ? 0 : 3;
}

const ToolCommand::Registration registration({
    QStringLiteral("check-db"),
    QStringLiteral("check-db                      the tables, columns and indexes the station relies on "
                   "(exit status 3 when one is missing or unusable)"),
    checkDb,
});

} // namespace
