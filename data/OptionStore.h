#pragma once

#include <QString>

class DbQuery;

/// The per-user options (ReadStringc, writeStringc) over the option query
/// OPTION_LOCALS_UTILISATEUR: one row per user key (CLE_USER) and option name
/// (OPTI), the value in PARAM.
///
/// The store works on the rows the query loaded when it was opened (at login)
/// and writes each change to the table at once; it never re-reads. Both
/// operations move the query's current row and need it open: on a closed
/// query they throw the data layer's closed-dataset error.
class OptionStore
{
public:
    explicit OptionStore(DbQuery &query);

    /// The print option: whether a ticket label is printed on validation.
    static QString printOption() { return QStringLiteral("Imprimer le Ticket Apres La Sauvegarde"); }

    /// The value of option Section for the user key Cle_util (decimal text):
    /// PARAM of the first row, in the query's order, whose CLE_USER and OPTI
    /// equal them exactly (option names are case-sensitive); empty when there
    /// is no such row or PARAM is NULL.
    QString ReadStringc(const QString &Cle_util, const QString &Section);

    /// Stores Value: PARAM of the row ReadStringc reads becomes Value (only
    /// that row, only PARAM); with no such row a new one is inserted. Throws
    /// DbError when the write fails.
    void writeStringc(const QString &Cle_util, const QString &Section, const QString &Value);

    /// The print-option box changed: store "True" when ticked, "False" otherwise,
    /// for the current user key. On failure the error is thrown and the box,
    /// which is the caller's, keeps its new state.
    void cxCheckBox12PropertiesChange(bool ticked, const QString &currentUserKey);

private:
    bool locate(const QString &Cle_util, const QString &Section);

    DbQuery &m_query;
};
