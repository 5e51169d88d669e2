#include "tickets/CupsPrintTarget.h"

#include "app/StationError.h"
#include "tickets/LabelRenderer.h"

#include <QPrinter>
#include <QPrinterInfo>

QString CupsPrintTarget::resolvePrinter(const QString &printerName)
{
    // A layout made on another machine may name a printer this one does not
    // have; its labels then go to the default printer rather than nowhere.
    if (!printerName.isEmpty()) {
        const QPrinterInfo named = QPrinterInfo::printerInfo(printerName);
        if (!named.isNull())
            return named.printerName();
    }
    return QPrinterInfo::defaultPrinterName();
}

void CupsPrintTarget::print(const PreparedLabel &label, const LabelPrintOptions &options)
{
    if (label.isEmpty())
        return;
    const QString queue = resolvePrinter(options.printerName);
    if (queue.isEmpty()) {
        throw StationError(
            QStringLiteral("The label \"%1\" was not printed: no printer is set up on this computer.")
                .arg(options.jobName));
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(queue);
    printer.setDocName(options.jobName);
    printer.setCopyCount(options.copies);
    printer.setFullPage(true);
    if (!LabelRenderer::paintPages(printer, label) || printer.printerState() == QPrinter::Error) {
        throw StationError(
            QStringLiteral("The label \"%1\" could not be printed on \"%2\".").arg(options.jobName, queue));
    }
}
