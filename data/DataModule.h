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
///   date selects nothing).
/// - Update_commande: P (time of day), NUM_VENTE, CLE_ART, TAILLE (NULL matches
///   a NULL size), DATE_VENTE.
/// - Update_commande1: NUM_VENTE, CLE_ART, DATE_VENTE.
/// - Tickt: NUM_VENTE, CLE_ART, TAILLE (NULL matches a NULL size), DATE_VENTE.
/// - OPTION_LOCALS_UTILISATEUR: none; updatable on its own table.
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
