#pragma once

#include "tickets/LabelDataset.h"
#include "tickets/LabelReport.h"
#include "tickets/PreparedLabel.h"

#include <QDate>
#include <QString>

class DbQuery;
class LabelPrintTarget;

/// The station's ticket report: the layout it holds (the built-in label until
/// the first load), the file that layout came from, and the pages of its last
/// run.
class TicketReport
{
public:
    /// The layout file, relative to the working directory.
    static QString layoutFileName();
    /// The name layouts give the ticket dataset, and the name of its component.
    static QString datasetName();
    static QString datasetComponentName();
    /// The fields of the ticket dataset: those of the ticket query, size excepted.
    static QStringList fieldNames();
    /// The ticket dataset over the rows of the open ticket query.
    static LabelDataset datasetFromQuery(const DbQuery &tickt);
    /// Opens the ticket query on one line: closes it, sets NUM_VENTE, CLE_ART
    /// and TAILLE, in that order, and the working date, then opens it.
    static void openTicket(DbQuery &tickt, const DbValue &numVente, const DbValue &cleArt,
                           const DbValue &taille, QDate workingDate);
    /// The name of the print job of a line's label: "Ticket <number>".
    static QString jobName(const DbValue &numVente);
    /// One made-up line, for a preview when there is no real one.
    static LabelDataset sampleDataset();

    TicketReport();

    const LabelReport &layout() const { return m_layout; }
    void setLayout(const LabelReport &layout) { m_layout = layout; }
    /// The file the layout was read from; empty when there is none.
    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    /// Empties the report and forgets its file name; then, if the file exists,
    /// reads the layout from it and remembers its path. Returns whether it
    /// existed. A file that exists but is damaged leaves the report empty and
    /// throws StationError naming the file.
    bool loadFromFile(const QString &path);

    /// Runs the layout over datasets, in place of the pages of any earlier run.
    /// Throws StationError (naming the layout's file) when the layout asks
    /// for a dataset or field that is not there; no pages are then left.
    void prepare(const QList<LabelDataset> &datasets, QDate date = QDate::currentDate());
    const PreparedLabel &preparedPages() const { return m_prepared; }

    /// Prints the prepared pages, without a dialog, on the printer the layout
    /// names (the default printer when it names none). A run without pages
    /// prints nothing.
    void print(LabelPrintTarget &target, const QString &jobName) const;

private:
    LabelReport m_layout;
    QString m_fileName;
    PreparedLabel m_prepared;
};
