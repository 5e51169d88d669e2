#pragma once

#include "data/DbConnection.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"

#include <QDate>

/// The main window's connection with every query and statement it holds, each
/// under its component name and with its fixed text. The windows use them by
/// name; tests and the command-line tool use them without a window.
///
/// Parameter positions (from 0):
/// - Liste_article, Liste_Commande: DATE_VENTE (the working date; an invalid
///   QDate binds NULL and selects nothing, without an error).
/// - Update_commande: P (time of day), NUM_VENTE, CLE_ART, TAILLE (NULL matches
///   a NULL size), DATE_VENTE.
/// - Update_commande1: NUM_VENTE, CLE_ART, DATE_VENTE.
/// - Tickt: NUM_VENTE, CLE_ART, TAILLE (NULL matches a NULL size), DATE_VENTE.
///   It selects every column; the label's dataset takes the first 14
///   (CLE_LISTE_COMMANDE to WAJBA_ORDER).
/// - OPTION_LOCALS_UTILISATEUR: none; updatable on its own table.
///
/// NUM_VENTE and CLE_ART may be given as decimal texts (the tile's texts):
/// they are converted to the integer columns, and a text that is no number
/// fails with a DbError naming the parameter.
class DataModule
{
public:
    DataModule();

    DbConnection UniConnection1;

    DbQuery Liste_article;
    DbQuery Liste_Commande;
    DbStatement Update_commande;
    DbStatement Update_commande1;
    DbQuery Tickt;
    DbQuery OPTION_LOCALS_UTILISATEUR;

    static const QString Liste_articleSql;
    static const QString Liste_CommandeSql;
    static const QString Update_commandeSql;
    static const QString Update_commande1Sql;
    static const QString TicktSql;
    static const QString OPTION_LOCALS_UTILISATEURSql;
};
