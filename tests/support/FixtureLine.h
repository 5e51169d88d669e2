#pragma once

#include "data/DbValue.h"

#include <QDate>

/// One order line of LISTE_COMMANDE for a test fixture, with plain values
/// for every column a test does not care about: a pending line of today,
/// order 1, article 100 "Pizza" size "M" in the kitchen "Grill". Set what the
/// test is about, with designated initialisers:
///
///     db.insertLine({.NUM_VENTE = 7, .TAILLE = DbValue()});
///
/// CLE_LISTE_COMMANDE NULL takes the next value of the generator.
struct FixtureLine
{
    DbValue CLE_LISTE_COMMANDE = DbValue();
    DbValue NUM_VENTE = 1;
    DbValue DATE_VENTE = QDate::currentDate();
    DbValue TIME_VENTE = TimeOfDay::fromHms(12, 0, 0);
    DbValue NUMERO_TABLE = 1.0;
    DbValue VALIDE = QStringLiteral("False");
    DbValue COLOR = 0x00FFFF;
    DbValue CUISEN = QStringLiteral("Grill");
    DbValue PRIX = 10.0;
    DbValue CLE_ART = 100;
    DbValue ARTICLE = QStringLiteral("Pizza");
    DbValue QTE = 1.0;
    DbValue TIME_ORDER = DbValue();
    DbValue WAJBA_ORDER = 0;
    DbValue TAILLE = QStringLiteral("M");
};
