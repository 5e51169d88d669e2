#pragma once

#include <QString>
#include <QStringList>

class DbConnection;

/// The tables of the counter-sale system as far as the station relies on
/// them: LISTE_COMMANDE (with its key generator), UTILISA and
/// OPTION_LOCALS_UTILISATEUR. The counter-sale simulator creates them on a
/// demo or test database; the station itself never creates a table.
namespace CounterSaleSchema {

struct Options
{
    /// DATE_VENTE as TIMESTAMP (a date with a time part) instead of DATE.
    bool dateVenteAsTimestamp = false;
    /// Indexes on LISTE_COMMANDE.DATE_VENTE and NUM_VENTE.
    bool indexes = true;
    /// Character set of the text columns; empty for the database default
    /// (NONE), which a demo under a private Firebird root needs.
    QString textCharset;
};

/// CREATE statements for the three tables, the generator of
/// CLE_LISTE_COMMANDE and its trigger (no indexes), as one script.
QString tablesScript(const Options &options = Options());
/// CREATE INDEX statements for DATE_VENTE and NUM_VENTE.
QString indexesScript();
/// The users of a demo: "admin" (password "admin"), the cooks "Cuisine"
/// (password "1234") and "طباخ" (password "1111"), and the blocked user
/// "Ancien" (password "0000").
QString usersScript();

/// Creates whichever of the three tables is missing and, when
/// options.indexes, whichever of the two indexes is missing. Returns what it
/// created, one line each, for the simulator to report.
QStringList ensure(DbConnection &connection, const Options &options = Options());
/// The indexes alone (after a bulk load, which is faster without them).
QStringList ensureIndexes(DbConnection &connection);
/// Adds the demo users when UTILISA holds none; true when it added them.
bool ensureUsers(DbConnection &connection);

/// The 26 right columns of UTILISA, in field-list order.
const QStringList &rightColumns();

} // namespace CounterSaleSchema
