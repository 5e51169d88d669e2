#include "tickets/TicketReport.h"

#include "app/StationError.h"
#include "data/DbQuery.h"
#include "tickets/LabelLayoutFile.h"
#include "tickets/LabelPrintTarget.h"
#include "tickets/LabelRenderer.h"

#include <QDir>
#include <QFileInfo>

QString TicketReport::layoutFileName()
{
    return QStringLiteral("Etat/Etiquette_2X4.fr3");
}

QString TicketReport::datasetName()
{
    return QStringLiteral("Ticet");
}

QString TicketReport::datasetComponentName()
{
    return QStringLiteral("Ticet1");
}

QStringList TicketReport::fieldNames()
{
    return { QStringLiteral("CLE_LISTE_COMMANDE"),
             QStringLiteral("NUM_VENTE"),
             QStringLiteral("DATE_VENTE"),
             QStringLiteral("TIME_VENTE"),
             QStringLiteral("NUMERO_TABLE"),
             QStringLiteral("VALIDE"),
             QStringLiteral("COLOR"),
             QStringLiteral("CUISEN"),
             QStringLiteral("PRIX"),
             QStringLiteral("CLE_ART"),
             QStringLiteral("ARTICLE"),
             QStringLiteral("QTE"),
             QStringLiteral("TIME_ORDER"),
             QStringLiteral("WAJBA_ORDER") };
}

LabelDataset TicketReport::datasetFromQuery(const DbQuery &tickt)
{
    return LabelDataset::fromQuery(datasetName(), datasetComponentName(), tickt, fieldNames());
}

void TicketReport::openTicket(DbQuery &tickt, const DbValue &numVente, const DbValue &cleArt,
                              const DbValue &taille, QDate workingDate)
{
    tickt.close();
    tickt.setParam(0, numVente);
    tickt.setParam(1, cleArt);
    tickt.setParam(2, taille);
    // The ticket query reads the line of the working date only.
    if (tickt.paramCount() > 3)
        tickt.setParam(3, DbValue(workingDate));
    tickt.open();
}

QString TicketReport::jobName(const DbValue &numVente)
{
    return QStringLiteral("Ticket ") + numVente.toText().trimmed();
}

LabelDataset TicketReport::sampleDataset()
{
    const DbRow row = { DbValue(1),
                        DbValue(123),
                        DbValue(QDate::currentDate()),
                        DbValue(TimeOfDay::fromHms(12, 30, 0)),
                        DbValue(4.0),
                        DbValue(QStringLiteral("True")),
                        DbValue(0xC0FFC0),
                        DbValue(QStringLiteral("Cuisine")),
                        DbValue(650.0),
                        DbValue(17),
                        DbValue(QStringLiteral("Pizza Margherita")),
                        DbValue(1.0),
                        DbValue(TimeOfDay::fromHms(12, 42, 0)),
                        DbValue(0) };
    return LabelDataset(datasetName(), datasetComponentName(), fieldNames(), { row });
}

TicketReport::TicketReport()
    : m_layout(LabelReport::builtIn())
{
}

bool TicketReport::loadFromFile(const QString &path)
{
    m_layout = LabelReport();
    m_fileName.clear();
    m_prepared = PreparedLabel();
    if (!QFileInfo(path).isFile())
        return false;
    m_layout = LabelLayoutFile::read(path);
    m_fileName = path;
    return true;
}

void TicketReport::prepare(const QList<LabelDataset> &datasets, QDate date)
{
    m_prepared = PreparedLabel();
    try {
        m_prepared = LabelRenderer::prepare(m_layout, datasets, date);
    } catch (const StationError &error) {
        if (m_fileName.isEmpty())
            throw;
        throw StationError(QStringLiteral("The label layout \"%1\" cannot be printed: %2")
                               .arg(QDir::toNativeSeparators(m_fileName), error.message()));
    }
}

void TicketReport::print(LabelPrintTarget &target, const QString &jobName) const
{
    if (m_prepared.isEmpty())
        return;
    LabelPrintOptions options;
    options.jobName = jobName;
    options.printerName = m_layout.printerName();
    options.copies = m_layout.copies();
    target.print(m_prepared, options);
}
