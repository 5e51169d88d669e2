#include "data/PendingTile.h"

#include "data/DbError.h"
#include "data/DbQuery.h"

namespace {

const QStringList tileColumns = {QStringLiteral("NUM_VENTE"), QStringLiteral("QTE"), QStringLiteral("ARTICLE"),
                                 QStringLiteral("CLE_ART"), QStringLiteral("TAILLE"), QStringLiteral("COLOR")};
enum Column { Number, Quantity, Article, Key, Size, Colour };

} // namespace

QList<PendingTile> PendingTile::fromQuery(const DbQuery &Liste_article, const QLocale &locale)
{
    const int rows = Liste_article.rowCount(); // throws on a closed query
    QList<int> columns;
    for (const QString &name : tileColumns) {
        const int index = Liste_article.fieldIndex(name);
        if (index < 0)
            throw DbError(QStringLiteral("Field '%1' not found").arg(name));
        columns.append(index);
    }
    QList<PendingTile> tiles;
    tiles.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        const DbRow &row = Liste_article.row(i);
        // a NULL number reads as 0, and 0 is no order
        if (row.at(columns[Number]).toInteger() == 0)
            continue;
        tiles.append(fromRow(row, columns, locale));
    }
    return tiles;
}

PendingTile PendingTile::fromRow(const DbRow &row, const QList<int> &columns, const QLocale &locale)
{
    PendingTile tile;
    tile.number = QString::number(row.at(columns[Number]).toInteger());
    tile.quantity = numberText(row.at(columns[Quantity]), locale);
    tile.article = row.at(columns[Article]).toText();
    tile.key = QString::number(row.at(columns[Key]).toInteger());
    const DbValue size = row.at(columns[Size]);
    tile.sizeIsNull = size.isNull();
    tile.size = size.toText();
    tile.colour = colourFromWindows(row.at(columns[Colour]).toInteger());
    return tile;
}

QRgb PendingTile::colourFromWindows(qint64 color)
{
    const auto value = quint32(quint64(color) & 0xFFFFFFu);
    return qRgb(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QString PendingTile::numberText(const DbValue &value, const QLocale &locale)
{
    if (value.isNull())
        return QString();
    if (value.type() == DbValue::Type::Integer)
        return QString::number(value.toInteger());
    const double number = value.toFloat();
    QString text = QString::number(number, 'g', 15);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0)
        text.replace(point, 1, locale.decimalPoint());
    return text;
}
