#include "tickets/CupsPrintTarget.h"

#include "app/StationError.h"
#include "tickets/LabelRenderer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
QPageLayout pageLayout(const PreparedLabel::Page &page)
{
    const QPageSize size(page.paperSize, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}
} // namespace

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
        throw StationError(QStringLiteral("The label \"%1\" was not printed: no printer is set up on this computer.")
                               .arg(options.jobName));
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(queue);
    printer.setDocName(options.jobName);
    printer.setCopyCount(options.copies);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(label.pages.first()));

    QPainter painter;
    if (!painter.begin(&printer)) {
        throw StationError(QStringLiteral("The label \"%1\" could not be sent to the printer \"%2\".")
                               .arg(options.jobName, queue));
    }
    for (qsizetype i = 0; i < label.pages.size(); ++i) {
        const PreparedLabel::Page &page = label.pages.at(i);
        if (i > 0) {
            printer.setPageLayout(pageLayout(page));
            printer.newPage();
        }
        painter.save();
        const double scale = printer.resolution() / 96.0;
        painter.scale(scale, scale);
        LabelRenderer::paintPage(painter, page);
        painter.restore();
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        throw StationError(QStringLiteral("The printer \"%1\" did not take the label \"%2\".")
                               .arg(queue, options.jobName));
    }
}
