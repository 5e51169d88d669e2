#include "data/OptionStore.h"

#include "data/DbError.h"
#include "data/DbQuery.h"

namespace {
const QString userField = QStringLiteral("CLE_USER");
const QString optionField = QStringLiteral("OPTI");
const QString valueField = QStringLiteral("PARAM");

/// CLE_USER is an integer column and the key travels as its decimal text.
qint64 userKey(const QString &Cle_util)
{
    bool ok = false;
    const qint64 key = Cle_util.toLongLong(&ok);
    if (!ok)
        throw StationError(QStringLiteral("« %1 » n'est pas une clé d'utilisateur").arg(Cle_util));
    return key;
}
} // namespace

OptionStore::OptionStore(DbQuery &query)
    : m_query(query)
{
}

bool OptionStore::locate(const QString &Cle_util, const QString &Section)
{
    // On a closed query this is where the closed-dataset error comes from.
    m_query.first();
    return m_query.locate(userField, DbValue(userKey(Cle_util)), optionField, DbValue(Section));
}

QString OptionStore::ReadStringc(const QString &Cle_util, const QString &Section)
{
    if (!locate(Cle_util, Section))
        return {};
    return m_query.asText(valueField); // NULL reads as empty text
}

void OptionStore::writeStringc(const QString &Cle_util, const QString &Section, const QString &Value)
{
    if (locate(Cle_util, Section)) {
        m_query.edit();
        m_query.setField(valueField, DbValue(Value));
    } else {
        m_query.insert();
        m_query.setField(userField, DbValue(userKey(Cle_util)));
        m_query.setField(optionField, DbValue(Section));
        m_query.setField(valueField, DbValue(Value));
    }
    try {
        m_query.post();
    } catch (...) {
        // A failed post leaves the row half-changed in the loaded copy; drop
        // the change so that the copy still says what the table holds.
        m_query.cancel();
        throw;
    }
}

void OptionStore::cxCheckBox12PropertiesChange(bool ticked, const QString &currentUserKey)
{
    writeStringc(currentUserKey, printOption(), ticked ? QStringLiteral("True") : QStringLiteral("False"));
}
