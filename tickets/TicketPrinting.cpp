#include "tickets/TicketPrinting.h"

#include "data/DbQuery.h"
#include "tickets/CupsPrintTarget.h"
#include "tickets/LabelDesigner.h"

TicketPrinting::TicketPrinting(DbQuery *tickt)
    : m_tickt(tickt)
    , m_printingSystem(std::make_unique<CupsPrintTarget>())
{
}

TicketPrinting::~TicketPrinting() = default;

void TicketPrinting::setPrintTarget(LabelPrintTarget *target)
{
    m_target = target;
}

void TicketPrinting::setDesignerHook(std::function<void(LabelDesigner &)> hook)
{
    m_designerHook = std::move(hook);
}

void TicketPrinting::imprimerTicket(DbQuery &tickt, const DbValue &numVente, const DbValue &cleArt,
                                    const DbValue &taille, QDate workingDate)
{
    m_tickt = &tickt;
    TicketReport::openTicket(tickt, numVente, cleArt, taille, workingDate);

    // Read afresh for every print: what the designer saved is what prints.
    frxReport1.loadFromFile(TicketReport::layoutFileName());
    frxReport1.prepare({ TicketReport::datasetFromQuery(tickt) });
    // There is no print dialog, whatever the layout's print options say.
    frxReport1.print(m_target ? *m_target : *m_printingSystem, TicketReport::jobName(numVente));
}

LabelDataset TicketPrinting::previewDataset() const
{
    if (m_tickt && m_tickt->isOpen() && m_tickt->rowCount() > 0)
        return TicketReport::datasetFromQuery(*m_tickt);
    return TicketReport::sampleDataset();
}

void TicketPrinting::modifierTicket(const QString &path, QWidget *parent)
{
    frxReport1.loadFromFile(path);
    LabelDesigner designer(frxReport1.layout(), frxReport1.fileName(), previewDataset(), parent);
    if (m_designerHook)
        m_designerHook(designer);
    designer.exec();
    // The report holds what the designer held, saved or not (the next print
    // reads the file again anyway).
    frxReport1.setLayout(designer.document().report());
    frxReport1.setFileName(designer.document().fileName());
}
