#pragma once

#include "data/DbValue.h"

#include <QList>
#include <QLocale>
#include <QRgb>
#include <QString>

class DbQuery;

/// What one tile of the board shows and carries for one pending line: the
/// values are filled exactly as the board fills its tiles, and they are all
/// that a touch on the tile knows of the line.
///
/// Filling rule, one row of the pending-lines query (Liste_article) at a time:
/// - number: NUM_VENTE as decimal digits;
/// - quantity: QTE as a general number text (see numberText), empty when NULL;
/// - article: ARTICLE as stored;
/// - key: CLE_ART as decimal digits;
/// - size: TAILLE as stored, empty when NULL, with sizeIsNull telling the two
///   apart (the validation must then match a NULL size, see sizeValue());
/// - colour: COLOR, a Windows colour value (red in the lowest byte, then
///   green, then blue); bits above the low 24 are ignored.
struct PendingTile
{
    QString number;
    QString quantity;
    QString article;
    QString key;
    QString size;
    bool sizeIsNull = false;
    QRgb colour = qRgb(0, 0, 0);

    bool operator==(const PendingTile &other) const = default;

    /// The size as the validation and label statements take it: NULL when
    /// the line's size was NULL, the size text otherwise.
    DbValue sizeValue() const { return sizeIsNull ? DbValue() : DbValue(size); }

    /// The tiles of an open Liste_article, in row order: a row whose NUM_VENTE
    /// is 0 or NULL gives no tile; identical rows give one tile each. The
    /// query's current row is left as it was. Throws DbError when the query is
    /// closed or lacks a column.
    static QList<PendingTile> fromQuery(const DbQuery &Liste_article, const QLocale &locale = QLocale());

    /// The tile of one row (which must have a non-zero NUM_VENTE), with the
    /// column indexes of the query.
    static PendingTile fromRow(const DbRow &row, const QList<int> &columns, const QLocale &locale);

    /// A Windows colour value as an RGB colour.
    static QRgb colourFromWindows(qint64 color);

    /// A number as a general number text: no decimals for a whole value,
    /// otherwise up to 15 significant digits with the locale's decimal point;
    /// no group separators, Latin digits. An empty text for NULL.
    static QString numberText(const DbValue &value, const QLocale &locale = QLocale());
};
