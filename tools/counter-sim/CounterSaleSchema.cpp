#include "CounterSaleSchema.h"

#include "data/DbConnection.h"
#include "data/DbQuery.h"
#include "data/SchemaCheck.h"

namespace CounterSaleSchema {

namespace {

QString text(int width, const Options &options)
{
    QString type = QStringLiteral("VARCHAR(%1)").arg(width);
    if (!options.textCharset.isEmpty())
        type += QStringLiteral(" CHARACTER SET ") + options.textCharset;
    return type;
}

QString listeCommande(const Options &options)
{
    return QStringLiteral("CREATE TABLE LISTE_COMMANDE (\n"
                          "  CLE_LISTE_COMMANDE INTEGER NOT NULL,\n"
                          "  NUM_VENTE INTEGER,\n"
                          "  DATE_VENTE %1,\n"
                          "  TIME_VENTE TIME,\n"
                          "  NUMERO_TABLE DOUBLE PRECISION,\n"
                          "  VALIDE %2,\n"
                          "  COLOR INTEGER NOT NULL,\n"
                          "  CUISEN %3 NOT NULL,\n"
                          "  PRIX DOUBLE PRECISION,\n"
                          "  CLE_ART INTEGER NOT NULL,\n"
                          "  ARTICLE %4 NOT NULL,\n"
                          "  QTE DOUBLE PRECISION,\n"
                          "  TIME_ORDER TIME,\n"
                          "  WAJBA_ORDER INTEGER,\n"
                          "  TAILLE %5,\n"
                          "  CONSTRAINT PK_LISTE_COMMANDE PRIMARY KEY (CLE_LISTE_COMMANDE)\n"
                          ");\n"
                          "CREATE GENERATOR GEN_LISTE_COMMANDE;\n"
                          "SET TERM ^ ;\n"
                          "CREATE TRIGGER LISTE_COMMANDE_BI FOR LISTE_COMMANDE ACTIVE BEFORE INSERT POSITION 0 AS\n"
                          "BEGIN\n"
                          "  IF (NEW.CLE_LISTE_COMMANDE IS NULL) THEN\n"
                          "    NEW.CLE_LISTE_COMMANDE = NEXT VALUE FOR GEN_LISTE_COMMANDE;\n"
                          "END^\n"
                          "SET TERM ; ^\n")
        .arg(options.dateVenteAsTimestamp ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATE"), text(5, options),
             text(50, options), text(150, options), text(10, options));
}

QString utilisa(const Options &options)
{
    QString columns = QStringLiteral("CREATE TABLE UTILISA (\n"
                                     "  CLE_USER INTEGER NOT NULL,\n"
                                     "  NAME %1,\n"
                                     "  PASS %2,\n"
                                     "  INFO %3,\n"
                                     "  BLOQUE %4,\n"
                                     "  POSTE %5,\n")
                          .arg(text(40, options), text(20, options), text(100, options), text(5, options),
                               text(50, options));
    for (const QString &right : rightColumns())
        columns += QStringLiteral("  %1 %2,\n").arg(right, text(5, options));
    columns += QStringLiteral("  CONSTRAINT PK_UTILISA PRIMARY KEY (CLE_USER)\n);\n");
    return columns;
}

QString options(const Options &options)
{
    // No key on (CLE_USER, OPTI): the counter-sale system keeps its own
    // options here, and the station must cope with a user's option stored twice.
    return QStringLiteral("CREATE TABLE OPTION_LOCALS_UTILISATEUR (\n"
                          "  CLE_USER INTEGER NOT NULL,\n"
                          "  OPTI %1 NOT NULL,\n"
                          "  PARAM %2\n"
                          ");\n")
        .arg(text(100, options), text(100, options));
}

bool hasTable(DbConnection &connection, const QString &table)
{
    DbQuery query(connection, QStringLiteral("select 1 from RDB$RELATIONS where RDB$RELATION_NAME = :NAME"));
    query.setParam(0, table);
    query.open();
    return query.rowCount() > 0;
}

} // namespace

const QStringList &rightColumns()
{
    static const QStringList columns = {
        QStringLiteral("ARTICLE"),           QStringLiteral("LOTS"),
        QStringLiteral("ETAT_STOCK"),        QStringLiteral("CLIENT"),
        QStringLiteral("FOURNISSEUR"),       QStringLiteral("CLIENT_FOURNISSEUR"),
        QStringLiteral("BON_ACHAT"),         QStringLiteral("LISTE_BON_ACHAT"),
        QStringLiteral("REGLEMENT_FOURNISSEUR"), QStringLiteral("RETOUR_ACHAT"),
        QStringLiteral("JOURNAL_ACHAT"),     QStringLiteral("MOUVMENT_FOURNISSEUR"),
        QStringLiteral("BON_COMMANDE"),      QStringLiteral("BON_LIVRAISON"),
        QStringLiteral("LISTE_BON_LIVRAISON"), QStringLiteral("REGLEMENT_CLIENT"),
        QStringLiteral("RETOUR_VENTE"),      QStringLiteral("JOURNAL_VENTE"),
        QStringLiteral("MOUVEMENT_CLIENT"),  QStringLiteral("FACTURE_VENTE"),
        QStringLiteral("PROFORMA"),          QStringLiteral("VENTE_COMPTOIR"),
        QStringLiteral("REGLEMENT_CLIENT_COMPTOIR"), QStringLiteral("HOURNAL_VENTE_COMPTOIR"),
        QStringLiteral("BIBIOTHEQUE"),       QStringLiteral("OPTION"),
    };
    return columns;
}

QString tablesScript(const Options &opts)
{
    return listeCommande(opts) + utilisa(opts) + options(opts);
}

QString indexesScript()
{
    return QStringLiteral("CREATE INDEX IDX_LISTE_COMMANDE_DATE_VENTE ON LISTE_COMMANDE (DATE_VENTE);\n"
                          "CREATE INDEX IDX_LISTE_COMMANDE_NUM_VENTE ON LISTE_COMMANDE (NUM_VENTE);\n");
}

QString usersScript()
{
    const auto user = [](int key, const QString &name, const QString &pass, const QString &blocked,
                         const QString &poste, const QString &right) {
        QString columns = QStringLiteral("CLE_USER, NAME, PASS, INFO, BLOQUE, POSTE");
        QString values = QStringLiteral("%1, '%2', '%3', NULL, '%4', '%5'").arg(key).arg(name, pass, blocked, poste);
        for (const QString &column : rightColumns()) {
            columns += QStringLiteral(", ") + column;
            values += QStringLiteral(", '") + right + QLatin1Char('\'');
        }
        return QStringLiteral("INSERT INTO UTILISA (%1) VALUES (%2);\n").arg(columns, values);
    };
    return user(1, QStringLiteral("admin"), QStringLiteral("admin"), QStringLiteral("False"), QStringLiteral("Caisse"),
                QStringLiteral("True"))
           + user(2, QStringLiteral("Cuisine"), QStringLiteral("1234"), QStringLiteral("False"),
                  QStringLiteral("Cuisine 1"), QStringLiteral("False"))
           + user(3, QStringLiteral("طباخ"), QStringLiteral("1111"), QStringLiteral("False"),
                  QStringLiteral("مطبخ 2"), QStringLiteral("False"))
           + user(4, QStringLiteral("Ancien"), QStringLiteral("0000"), QStringLiteral("True"),
                  QStringLiteral("Cuisine 1"), QStringLiteral("False"));
}

QStringList ensure(DbConnection &connection, const Options &opts)
{
    QStringList created;
    if (!hasTable(connection, QStringLiteral("LISTE_COMMANDE"))) {
        connection.executeScript(listeCommande(opts));
        created.append(QStringLiteral("table LISTE_COMMANDE"));
    }
    if (!hasTable(connection, QStringLiteral("UTILISA"))) {
        connection.executeScript(utilisa(opts));
        created.append(QStringLiteral("table UTILISA"));
    }
    if (!hasTable(connection, QStringLiteral("OPTION_LOCALS_UTILISATEUR"))) {
        connection.executeScript(options(opts));
        created.append(QStringLiteral("table OPTION_LOCALS_UTILISATEUR"));
    }
    if (opts.indexes)
        created += ensureIndexes(connection);
    return created;
}

QStringList ensureIndexes(DbConnection &connection)
{
    QStringList created;
    const QStringList statements = indexesScript().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList columns = {QStringLiteral("DATE_VENTE"), QStringLiteral("NUM_VENTE")};
    for (int i = 0; i < columns.size(); ++i) {
        if (!SchemaCheck::indexOn(connection, QStringLiteral("LISTE_COMMANDE"), columns.at(i)).isEmpty())
            continue;
        connection.executeScript(statements.at(i));
        created.append(QStringLiteral("index on LISTE_COMMANDE.%1").arg(columns.at(i)));
    }
    return created;
}

bool ensureUsers(DbConnection &connection)
{
    DbQuery query(connection, QStringLiteral("select count(*) from UTILISA"));
    query.open();
    if (query.row(0).at(0).toInteger() > 0)
        return false;
    connection.executeScript(usersScript());
    return true;
}

} // namespace CounterSaleSchema
