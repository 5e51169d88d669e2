// kitchen-tool label NUM_VENTE CLE_ART TAILLE [--date D] [--layout FILE] (--png FILE | --pdf FILE | --print):
// renders or prints one order line's label as the station does.

#include "ToolCommand.h"
#include "app/ConnectionFile.h"
#include "app/StationError.h"
#include "data/DataModule.h"
#include "tickets/CupsPrintTarget.h"
#include "tickets/LabelRenderer.h"
#include "tickets/PdfPrintTarget.h"
#include "tickets/TicketReport.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The common resolution of label printers.
constexpr double labelPrinterDpi = 203;

const QString usageText = u"label NUM_VENTE CLE_ART TAILLE [--date YYYY-MM-DD] [--layout FILE] "
                          u"(--png FILE | --pdf FILE | --print)   (TAILLE NULL: no size)"_s;

struct Arguments
{
    DbValue numVente;
    DbValue cleArt;
    DbValue taille;
    QDate date = QDate::currentDate();
    QString layout = TicketReport::layoutFileName();
    enum class Output { None, Png, Pdf, Print } output = Output::None;
    QString file;
};

Arguments parse(const QStringList &arguments)
{
    const auto fail = [](const QString &why) {
        throw StationError(u"label: %1\nusage: kitchen-tool %2"_s.arg(why, usageText));
    };
    if (arguments.size() < 3
        || std::any_of(arguments.cbegin(), arguments.cbegin() + 3,
                       [](const QString &argument) { return argument.startsWith(u"--"); }))
        fail(u"NUM_VENTE, CLE_ART and TAILLE are needed, before the options"_s);
    Arguments parsed;
    // As the tile gives them: texts, which the data layer converts.
    parsed.numVente = arguments.at(0);
    parsed.cleArt = arguments.at(1);
    parsed.taille = arguments.at(2) == u"NULL" ? DbValue() : DbValue(arguments.at(2));
    for (qsizetype i = 3; i < arguments.size(); ++i) {
        const QString &option = arguments.at(i);
        const auto value = [&] {
            if (i + 1 >= arguments.size())
                fail(u"%1 needs a value"_s.arg(option));
            return arguments.at(++i);
        };
        const auto output = [&](Arguments::Output kind) {
            if (parsed.output != Arguments::Output::None)
                fail(u"give one of --png, --pdf and --print"_s);
            parsed.output = kind;
        };
        if (option == u"--date") {
            const QString text = value();
            parsed.date = QDate::fromString(text, Qt::ISODate);
            if (!parsed.date.isValid() || text.size() != 10)
                fail(u"\"%1\" is not a date of the form YYYY-MM-DD"_s.arg(text));
        } else if (option == u"--layout") {
            parsed.layout = value();
        } else if (option == u"--png") {
            output(Arguments::Output::Png);
            parsed.file = value();
        } else if (option == u"--pdf") {
            output(Arguments::Output::Pdf);
            parsed.file = value();
        } else if (option == u"--print") {
            output(Arguments::Output::Print);
        } else {
            fail(u"unknown argument \"%1\""_s.arg(option));
        }
    }
    if (parsed.output == Arguments::Output::None)
        fail(u"give one of --png, --pdf and --print"_s);
    return parsed;
}

// Pages after the first go beside it: label.png, label-2.png, ...
QString pagePath(const QString &path, qsizetype page)
{
    if (page == 0)
        return path;
    const QFileInfo info(path);
    return info.dir().filePath(u"%1-%2.%3"_s.arg(info.completeBaseName()).arg(page + 1).arg(info.suffix()));
}

int label(const QStringList &arguments, QTextStream &out)
{
    const Arguments parsed = parse(arguments);

    // The database as the station finds it: station.ini, then Ch.txt in its code page.
    ConnectionSettings settings = ConnectionSettings::fromWorkingDirectory(QDir::currentPath(), QString());
    settings.database = ConnectionFile::read(ConnectionFile::fileName(), settings.codepage).database();
    DataModule module;
    module.UniConnection1.open(settings);
    TicketReport::openTicket(module.Tickt, parsed.numVente, parsed.cleArt, parsed.taille, parsed.date);

    TicketReport report;
    // The station prints nothing, silently, without a layout file; here the
    // one who asked is told.
    if (!report.loadFromFile(parsed.layout))
        throw StationError(u"There is no label layout \"%1\": the station prints no label."_s.arg(
            QDir::toNativeSeparators(parsed.layout)));
    report.prepare({ TicketReport::datasetFromQuery(module.Tickt) });
    const PreparedLabel &pages = report.preparedPages();
    const QString job = TicketReport::jobName(parsed.numVente);
    const QString rows
        = module.Tickt.rowCount() == 1 ? u"1 line"_s : u"%1 lines"_s.arg(module.Tickt.rowCount());

    switch (parsed.output) {
    case Arguments::Output::Png:
        for (qsizetype i = 0; i < pages.pages.size(); ++i) {
            const QString path = pagePath(parsed.file, i);
            if (!LabelRenderer::renderImage(pages.pages.at(i), labelPrinterDpi).save(path, "PNG"))
                throw StationError(u"Cannot write \"%1\"."_s.arg(QDir::toNativeSeparators(path)));
            out << path << '\n';
        }
        break;
    case Arguments::Output::Pdf: {
        PdfPrintTarget pdf(parsed.file);
        report.print(pdf, job);
        out << parsed.file << '\n';
        break;
    }
    case Arguments::Output::Print: {
        CupsPrintTarget printer;
        report.print(printer, job);
        out << u"%1 printed on %2"_s.arg(job, CupsPrintTarget::resolvePrinter(report.layout().printerName()))
            << '\n';
        break;
    }
    case Arguments::Output::None:
        break;
    }
    out << u"%1: %2 page(s) from %3 of the ticket query"_s.arg(job).arg(pages.pages.size()).arg(rows) << '\n';
    return 0;
}

const ToolCommand::Registration registration({ u"label"_s, usageText, label });

} // namespace
