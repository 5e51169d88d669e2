#include "data/ValidatedLineOrder.h"

#include "data/DbError.h"
#include "data/DbQuery.h"

#include <algorithm>
#include <numeric>

QList<int> validatedLineOrder(const DbQuery &Liste_Commande)
{
    QList<int> order(Liste_Commande.rowCount());
    std::iota(order.begin(), order.end(), 0);
    const int date = Liste_Commande.fieldIndex(QStringLiteral("DATE_VENTE"));
    const int time = Liste_Commande.fieldIndex(QStringLiteral("TIME_ORDER"));
    if (date < 0 || time < 0)
        throw DbError(QStringLiteral("Field '%1' not found")
                          .arg(date < 0 ? QStringLiteral("DATE_VENTE") : QStringLiteral("TIME_ORDER")));
    // descending, with NULL below every value
    const auto later = [](const DbValue &a, const DbValue &b, auto key) {
        if (a.isNull() || b.isNull())
            return !a.isNull() && b.isNull();
        return key(b) < key(a);
    };
    std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
        const DbRow &a = Liste_Commande.row(left);
        const DbRow &b = Liste_Commande.row(right);
        const auto dateKey = [](const DbValue &v) { return v.toDateTime(); };
        const auto timeKey = [](const DbValue &v) { return v.toTime(); };
        if (later(a.at(date), b.at(date), dateKey))
            return true;
        if (later(b.at(date), a.at(date), dateKey))
            return false;
        return later(a.at(time), b.at(time), timeKey);
    });
    return order;
}
