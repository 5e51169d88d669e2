// How long a label takes on the station's one thread, step by step: reading
// the layout file, preparing it over the ticket line, painting it at the
// label printer's resolution and into a PDF, and (with --cups) handing it to
// the printing system, which the validation of a line waits for. Prints the
// figures; run by hand:
//     bench_label [LAYOUT.fr3] [--cups N]

#include "tickets/CupsPrintTarget.h"
#include "tickets/LabelLayoutFile.h"
#include "tickets/LabelRenderer.h"
#include "tickets/TicketReport.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

QTextStream out(stdout);

// Runs step n times; prints the median and the slowest run in milliseconds.
void measure(const QString &name, int n, const std::function<void()> &step)
{
    step(); // the first run loads fonts and plugins; the station pays it once
    QList<double> ms;
    QElapsedTimer clock;
    for (int i = 0; i < n; ++i) {
        clock.start();
        step();
        ms.append(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    out << qSetFieldWidth(34) << Qt::left << name << qSetFieldWidth(0)
        << u"median %1 ms, slowest %2 ms (%3 runs)"_s.arg(ms.at(ms.size() / 2), 0, 'f', 3)
               .arg(ms.last(), 0, 'f', 3)
               .arg(n)
        << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    int cupsRuns = 0;
    if (const qsizetype i = arguments.indexOf(u"--cups"_s); i >= 0) {
        cupsRuns = i + 1 < arguments.size() ? arguments.at(i + 1).toInt() : 10;
        arguments.remove(i, qMin<qsizetype>(2, arguments.size() - i));
    }

    QTemporaryDir dir;
    QString layoutPath = arguments.value(0);
    if (layoutPath.isEmpty()) {
        layoutPath = dir.filePath(u"Etiquette_2X4.fr3"_s);
        LabelLayoutFile::write(LabelReport::builtIn(), layoutPath);
    }
    const QList<LabelDataset> datasets = { TicketReport::sampleDataset() };
    out << "layout " << layoutPath << Qt::endl;

    TicketReport report;
    measure(u"read the layout file"_s, 500, [&] { report.loadFromFile(layoutPath); });
    measure(u"prepare over one line"_s, 500, [&] { report.prepare(datasets); });
    measure(u"paint at 203 dpi"_s, 200,
            [&] { LabelRenderer::renderImage(report.preparedPages().pages.first(), 203); });
    measure(u"paint into a PDF"_s, 100, [&] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        LabelRenderer::paintPages(writer, report.preparedPages());
    });

    if (cupsRuns > 0) {
        if (QPrinterInfo::defaultPrinterName().isEmpty()) {
            out << "no default printer: scripts/services/cups.sh start" << Qt::endl;
            return 1;
        }
        CupsPrintTarget printer;
        int job = 0;
        measure(u"hand to CUPS (%1)"_s.arg(QPrinterInfo::defaultPrinterName()), cupsRuns,
                [&] { report.print(printer, u"Bench %1"_s.arg(++job)); });
        out << job << " jobs named \"Bench N\" went to the printer" << Qt::endl;
    }
    return 0;
}
