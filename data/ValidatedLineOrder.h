#pragma once

#include <QList>

class DbQuery;

/// The order in which the validated-line grid lists the rows of an open
/// Liste_Commande: DATE_VENTE descending, then TIME_ORDER descending, the
/// latest validation first; rows that tie keep the query's order, NULLs come
/// last. Returns row indexes of the query. Throws DbError on a closed query.
QList<int> validatedLineOrder(const DbQuery &Liste_Commande);
