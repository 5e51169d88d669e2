#include "data/SchemaCheck.h"

#include "data/DbQuery.h"

namespace SchemaCheck {

namespace {

// What the station does with a column decides which types serve.
enum class Need { Integer, Number, Date, ReadTime, WriteTime, ReadText, WriteText };

struct Expected
{
    QString table;
    QString column;
    Need need;
    int width = 0; ///< for a written text: the longest value the station writes
};

const QList<Expected> &expectedColumns()
{
    const QString lines = QStringLiteral("LISTE_COMMANDE");
    const QString users = QStringLiteral("UTILISA");
    const QString options = QStringLiteral("OPTION_LOCALS_UTILISATEUR");
    static const QList<Expected> columns = {
        {lines, QStringLiteral("CLE_LISTE_COMMANDE"), Need::Integer},
        {lines, QStringLiteral("NUM_VENTE"), Need::Integer},
        {lines, QStringLiteral("DATE_VENTE"), Need::Date},
        {lines, QStringLiteral("TIME_VENTE"), Need::ReadTime},
        {lines, QStringLiteral("NUMERO_TABLE"), Need::Number},
        {lines, QStringLiteral("VALIDE"), Need::WriteText, 5}, // "False"
        {lines, QStringLiteral("COLOR"), Need::Integer},
        {lines, QStringLiteral("CUISEN"), Need::ReadText},
        {lines, QStringLiteral("PRIX"), Need::Number},
        {lines, QStringLiteral("CLE_ART"), Need::Integer},
        {lines, QStringLiteral("ARTICLE"), Need::ReadText},
        {lines, QStringLiteral("QTE"), Need::Number},
        {lines, QStringLiteral("TIME_ORDER"), Need::WriteTime},
        {lines, QStringLiteral("WAJBA_ORDER"), Need::Integer},
        {lines, QStringLiteral("TAILLE"), Need::ReadText},
        {users, QStringLiteral("CLE_USER"), Need::Integer},
        {users, QStringLiteral("NAME"), Need::ReadText},
        {users, QStringLiteral("PASS"), Need::ReadText},
        {users, QStringLiteral("INFO"), Need::ReadText},
        {users, QStringLiteral("BLOQUE"), Need::ReadText},
        {users, QStringLiteral("POSTE"), Need::ReadText},
        {options, QStringLiteral("CLE_USER"), Need::Integer},
        {options, QStringLiteral("OPTI"), Need::WriteText, 38}, // "Imprimer le Ticket Apres La Sauvegarde"
        {options, QStringLiteral("PARAM"), Need::WriteText, 5},
    };
    return columns;
}

// RDB$FIELD_TYPE codes
enum FieldType {
    Smallint = 7,
    Integer = 8,
    Float = 10,
    Date = 12,
    Time = 13,
    Char = 14,
    Bigint = 16,
    Boolean = 23,
    Double = 27,
    Timestamp = 35,
    Varchar = 37,
    Blob = 261,
};

QString typeText(int type, int scale, int length, int subtype, int precision)
{
    switch (type) {
    case Smallint:
    case Integer:
    case Bigint:
        if (scale < 0)
            return QStringLiteral("NUMERIC(%1,%2)").arg(precision).arg(-scale);
        return type == Smallint ? QStringLiteral("SMALLINT")
                                : type == Integer ? QStringLiteral("INTEGER") : QStringLiteral("BIGINT");
    case Float:
        return QStringLiteral("FLOAT");
    case Double:
        return QStringLiteral("DOUBLE PRECISION");
    case Date:
        return QStringLiteral("DATE");
    case Time:
        return QStringLiteral("TIME");
    case Timestamp:
        return QStringLiteral("TIMESTAMP");
    case Char:
        return QStringLiteral("CHAR(%1)").arg(length);
    case Varchar:
        return QStringLiteral("VARCHAR(%1)").arg(length);
    case Boolean:
        return QStringLiteral("BOOLEAN");
    case Blob:
        return subtype == 1 ? QStringLiteral("BLOB SUB_TYPE TEXT") : QStringLiteral("BLOB");
    default:
        return QStringLiteral("type %1").arg(type);
    }
}

// Empty when the type serves, otherwise why not.
QString unusable(const Expected &expected, int type, int scale, int length, int subtype)
{
    const bool integer = (type == Smallint || type == Integer || type == Bigint) && scale == 0;
    const bool number = type == Smallint || type == Integer || type == Bigint || type == Float || type == Double;
    const bool text = type == Char || type == Varchar;
    switch (expected.need) {
    case Need::Integer:
        return integer ? QString() : QStringLiteral("an integer type is needed");
    case Need::Number:
        return number ? QString() : QStringLiteral("a number type is needed");
    case Need::Date:
        return type == Date || type == Timestamp ? QString() : QStringLiteral("DATE or TIMESTAMP is needed");
    case Need::ReadTime:
        return type == Time || type == Timestamp ? QString() : QStringLiteral("TIME is needed");
    case Need::WriteTime:
        return type == Time ? QString() : QStringLiteral("TIME is needed (the station writes a time of day)");
    case Need::ReadText:
        return text || (type == Blob && subtype == 1) ? QString() : QStringLiteral("a text type is needed");
    case Need::WriteText:
        if (!text)
            return QStringLiteral("CHAR or VARCHAR is needed");
        if (length < expected.width)
            return QStringLiteral("at least %1 characters are needed").arg(expected.width);
        return QString();
    }
    return QString();
}

QString suggestedIndex(const QString &table, const QString &column)
{
    return QStringLiteral("CREATE INDEX IDX_%1_%2 ON %1 (%2);").arg(table, column);
}

} // namespace

QString indexOn(DbConnection &connection, const QString &table, const QString &column)
{
    DbQuery query(connection, QStringLiteral("select i.RDB$INDEX_NAME from RDB$INDICES i join RDB$INDEX_SEGMENTS s "
                                             "on s.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
                                             "where i.RDB$RELATION_NAME = :TABLE_NAME and s.RDB$FIELD_NAME = "
                                             ":COLUMN_NAME and s.RDB$FIELD_POSITION = 0 "
                                             "and coalesce(i.RDB$INDEX_INACTIVE, 0) = 0 "
                                             "and i.RDB$EXPRESSION_BLR is null order by 1"));
    query.setParam(0, table);
    query.setParam(1, column);
    query.open();
    return query.isEmpty() ? QString() : query.row(0).at(0).toText().trimmed();
}

QList<Item> run(DbConnection &connection)
{
    DbQuery columns(connection,
                    QStringLiteral("select rf.RDB$FIELD_NAME, f.RDB$FIELD_TYPE, f.RDB$FIELD_SCALE, "
                                   "coalesce(f.RDB$CHARACTER_LENGTH, f.RDB$FIELD_LENGTH), f.RDB$FIELD_SUB_TYPE, "
                                   "f.RDB$FIELD_PRECISION "
                                   "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = "
                                   "rf.RDB$FIELD_SOURCE where rf.RDB$RELATION_NAME = :TABLE_NAME"));
    DbQuery tables(connection, QStringLiteral("select 1 from RDB$RELATIONS where RDB$RELATION_NAME = :TABLE_NAME"));

    QList<Item> items;
    QString table;
    bool tablePresent = false;
    for (const Expected &expected : expectedColumns()) {
        if (expected.table != table) {
            table = expected.table;
            tables.setParam(0, table);
            tables.open();
            tablePresent = !tables.isEmpty();
            items.append({Item::Kind::Table, table, QString(), tablePresent ? table : QString(), tablePresent,
                          tablePresent ? QString() : QStringLiteral("the table is missing")});
            columns.setParam(0, table);
            columns.open();
        }
        if (!tablePresent)
            continue;
        Item item {Item::Kind::Column, table, expected.column, QString(), false, QStringLiteral("the column is missing")};
        for (int i = 0; i < columns.rowCount(); ++i) {
            const DbRow &row = columns.row(i);
            if (row.at(0).toText().trimmed() != expected.column)
                continue;
            const int type = int(row.at(1).toInteger());
            const int scale = int(row.at(2).toInteger());
            const int length = int(row.at(3).toInteger());
            const int subtype = int(row.at(4).toInteger());
            item.found = typeText(type, scale, length, subtype, int(row.at(5).toInteger()));
            item.advice = unusable(expected, type, scale, length, subtype);
            item.ok = item.advice.isEmpty();
            break;
        }
        items.append(item);
    }

    const QString lines = QStringLiteral("LISTE_COMMANDE");
    for (const QString &column : {QStringLiteral("DATE_VENTE"), QStringLiteral("NUM_VENTE")}) {
        const QString name = indexOn(connection, lines, column);
        items.append({Item::Kind::Index, lines, column, name, !name.isEmpty(),
                      name.isEmpty() ? suggestedIndex(lines, column) : QString()});
    }
    return items;
}

} // namespace SchemaCheck
