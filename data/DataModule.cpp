#include "data/DataModule.h"

// Every order-line text filters the working date with a half-open range
// instead of "Cast(DATE_VENTE as date) = :DATE_VENTE": the same rows for a
// DATE and for a TIMESTAMP column (a time part never hides a line), and an
// index on DATE_VENTE can serve it, where the cast forces a full scan.

const QString DataModule::Liste_articleSql = QStringLiteral(
    "Select *\n"
    "From  LISTE_COMMANDE\n"
    "where (VALIDE<>'True') And ( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as date) + 1)and "
    "(CUISEN<>'')\n");

const QString DataModule::Liste_CommandeSql = QStringLiteral(
    "Select *\n"
    "From  LISTE_COMMANDE\n"
    "where (VALIDE='True') And ( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as date) + 1)\n"
    "order by TIME_ORDER\n");

// The validation and the withdrawal touch only the lines of the caller's
// date: order numbers repeat from day to day. A NULL size matches a NULL size.
const QString DataModule::Update_commandeSql = QStringLiteral(
    "Update LISTE_COMMANDE\n"
    "set VALIDE='True' , time_order = :P\n"
    "WHere (NUM_VENTE=:NUM_VENTE) and (CLE_ART=:CLE_ART) and (TAILLE IS NOT DISTINCT FROM :TAILLE) and "
    "( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as date) + 1)");

const QString DataModule::Update_commande1Sql = QStringLiteral(
    "Update LISTE_COMMANDE\n"
    "set VALIDE='False'\n"
    "WHere (NUM_VENTE=:NUM_VENTE) and (CLE_ART=:CLE_ART) and "
    "( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as date) + 1)");

const QString DataModule::TicktSql = QStringLiteral(
    "Select *\n"
    "From  LISTE_COMMANDE\n"
    "where (NUM_VENTE=:NUM_VENTE)and (CLE_ART=:CLE_ART) and (TAILLE IS NOT DISTINCT FROM :TAILLE) and "
    "( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as date) + 1)\n"
    "\n");

const QString DataModule::OPTION_LOCALS_UTILISATEURSql = QStringLiteral(
    "Select *\n"
    "from OPTION_LOCALS_UTILISATEUR");

DataModule::DataModule()
    : Liste_article(UniConnection1, Liste_articleSql)
    , Liste_Commande(UniConnection1, Liste_CommandeSql)
    , Update_commande(UniConnection1, Update_commandeSql)
    , Update_commande1(UniConnection1, Update_commande1Sql)
    , Tickt(UniConnection1, TicktSql)
    , OPTION_LOCALS_UTILISATEUR(UniConnection1, OPTION_LOCALS_UTILISATEURSql)
{
    OPTION_LOCALS_UTILISATEUR.setUpdatingTable(QStringLiteral("OPTION_LOCALS_UTILISATEUR"));
}
