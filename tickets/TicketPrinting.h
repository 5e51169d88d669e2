#pragma once

#include "data/DbValue.h"
#include "tickets/TicketReport.h"

#include <QDate>
#include <QString>
#include <functional>
#include <memory>

class DbQuery;
class LabelDesigner;
class LabelPrintTarget;
class QWidget;

/// Printing and designing the ticket label: the main window's report
/// (frxReport1), the ticket dataset over the ticket query (Ticet1) and the
/// designer.
///
/// Errors (a damaged layout file, the database, the printer) are thrown as
/// StationError for the caller's error box; nothing catches them here.
class TicketPrinting
{
public:
    /// tickt, when given, is the ticket query the designer's preview reads its
    /// first row from (until a print names one).
    explicit TicketPrinting(DbQuery *tickt = nullptr);
    ~TicketPrinting();

    /// Where labels are printed; the printing system unless a test sets
    /// another. The target must outlive this object; nullptr for the printing system.
    void setPrintTarget(LabelPrintTarget *target);

    /// Prints the label of one order line: closes tickt, sets its parameters
    /// to the line's number, article key and size and to the working date,
    /// opens it, loads the layout afresh from the layout file of the working
    /// directory, prepares the report and prints it without a dialog, as the
    /// job "Ticket <number>", on the printer the layout names (or the default
    /// printer). With no layout file, nothing is printed and nothing said; a
    /// damaged one is an error naming it, and nothing is printed.
    void imprimerTicket(DbQuery &tickt, const DbValue &numVente, const DbValue &cleArt, const DbValue &taille,
                        QDate workingDate);

    /// Loads the layout from path (as a print does) and opens the designer on
    /// it, modally; returns when the cook closes the designer. Saving is the
    /// designer's own command.
    void modifierTicket(const QString &path, QWidget *parent = nullptr);

    /// Called with the designer once it is set up, before it is shown (tests
    /// drive the modal window from there).
    void setDesignerHook(std::function<void(LabelDesigner &)> hook);

    /// The report, with the layout it holds and the pages of the last print.
    TicketReport frxReport1;

private:
    LabelDataset previewDataset() const;

    DbQuery *m_tickt;
    LabelPrintTarget *m_target = nullptr;
    std::unique_ptr<LabelPrintTarget> m_printingSystem;
    std::function<void(LabelDesigner &)> m_designerHook;
};
