// Printing a line's label: the ticket query over a real database, the layout
// file read afresh, and the label handed to a printer without a dialog, both
// a recording one and the real printing system (CUPS with a PDF printer).

#include "TestDatabase.h"
#include "TestWorkingDirectory.h"
#include "TicketTestSupport.h"
#include "app/StationError.h"
#include "data/DataModule.h"
#include "tickets/LabelDesigner.h"
#include "tickets/LabelLayoutFile.h"
#include "tickets/RecordingPrintTarget.h"
#include "tickets/TicketPrinting.h"

#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <pwd.h>
#include <unistd.h>

using namespace TicketTestSupport;

namespace {

/// The folder cups-pdf writes the current user's jobs to, from its own settings.
QString cupsPdfFolder()
{
    QString folder = QStringLiteral("${HOME}/PDF");
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (config.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(config.readAll()).split(u'\n');
        for (const QString &line : lines) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(u"Out ") || trimmed.startsWith(u"Out\t"))
                folder = trimmed.mid(4).trimmed();
        }
    }
    const passwd *user = getpwuid(getuid());
    const QString home = user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    const QString name = user ? QString::fromLocal8Bit(user->pw_name) : QString();
    return folder.replace(QStringLiteral("${HOME}"), home).replace(QStringLiteral("${USER}"), name);
}

QStringList pdfsOf(const QString &folder, const QString &jobName)
{
    // cups-pdf makes the file name from the job's title, blanks as '_'.
    QString stem = jobName;
    stem.replace(u' ', u'_');
    QStringList found;
    for (const QString &name : QDir(folder).entryList({ QStringLiteral("*.pdf") }, QDir::Files)) {
        if (name.startsWith(stem + u'_') || name.startsWith(stem + u'.'))
            found.append(QDir(folder).filePath(name));
    }
    return found;
}

} // namespace

class TestTicketPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void printsTheLine_data();
    void printsTheLine();
    void missingLayoutPrintsNothing();
    void damagedLayout_data();
    void damagedLayout();
    void theFileNotTheBuiltInLayout();
    void printerNamedByTheLayout_data();
    void printerNamedByTheLayout();
    void databaseErrorReachesTheCaller();
    void designSaveThenPrint();
    void throughCups();

private:
    void writeLayout(const QByteArray &content);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TestWorkingDirectory> m_work;
    std::unique_ptr<DataModule> m_module;
    RecordingPrintTarget m_printer;
    std::unique_ptr<TicketPrinting> m_printing;
};

void TestTicketPrinting::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale::c());
}

void TestTicketPrinting::init()
{
    const QDate today = QDate::currentDate();
    m_db = std::make_unique<TestDatabase>();
    m_db->insertLine({ .NUM_VENTE = 57,
                       .CLE_ART = 100,
                       .ARTICLE = QStringLiteral("Pizza"),
                       .TAILLE = QStringLiteral("M") });
    m_db->insertLine({ .NUM_VENTE = 57,
                       .CLE_ART = 101,
                       .ARTICLE = QStringLiteral("Tacos"),
                       .TAILLE = QStringLiteral("M") });
    m_db->insertLine(
        { .NUM_VENTE = 58, .CLE_ART = 200, .ARTICLE = QStringLiteral("شاورما دجاج"), .TAILLE = DbValue() });
    m_db->insertLine({ .NUM_VENTE = 59,
                       .DATE_VENTE = today.addDays(-1),
                       .CLE_ART = 100,
                       .ARTICLE = QStringLiteral("Hier"),
                       .TAILLE = QStringLiteral("M") });
    m_work = std::make_unique<TestWorkingDirectory>(*m_db);
    m_module = std::make_unique<DataModule>();
    m_module->UniConnection1.open(m_db->settings());
    m_printer.clear();
    m_printing = std::make_unique<TicketPrinting>(&m_module->Tickt);
    m_printing->setPrintTarget(&m_printer);
    writeLayout(contents(sampleLayout()));
}

void TestTicketPrinting::cleanup()
{
    m_printing.reset();
    m_module.reset();
    m_work.reset();
    m_db.reset();
}

void TestTicketPrinting::writeLayout(const QByteArray &content)
{
    m_work->writeFile(TicketReport::layoutFileName(), content);
}

void TestTicketPrinting::printsTheLine_data()
{
    QTest::addColumn<DbValue>("numVente");
    QTest::addColumn<DbValue>("cleArt");
    QTest::addColumn<DbValue>("taille");
    QTest::addColumn<int>("daysBack"); // the working date, before today
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("article");

    QTest::newRow("integers, as the reprint gives them")
        << DbValue(57) << DbValue(100) << DbValue(QStringLiteral("M")) << 0 << QStringLiteral("57")
        << QStringLiteral("Pizza");
    QTest::newRow("a French article") << DbValue(60) << DbValue(400) << DbValue(QStringLiteral("L")) << 0
                                      << QStringLiteral("60") << QStringLiteral("Croque-monsieur");
    QTest::newRow("texts, as a tile gives them")
        << DbValue(QStringLiteral("57")) << DbValue(QStringLiteral("101")) << DbValue(QStringLiteral("M"))
        << 0 << QStringLiteral("57") << QStringLiteral("Tacos");
    QTest::newRow("an Arabic article, a NULL size") << DbValue(58) << DbValue(200) << DbValue() << 0
                                                    << QStringLiteral("58") << QStringLiteral("شاورما دجاج");
    QTest::newRow("another size: no row, the label prints empty")
        << DbValue(57) << DbValue(100) << DbValue(QStringLiteral("L")) << 0 << QString() << QString();
    QTest::newRow("a line of another day is not the working date's")
        << DbValue(59) << DbValue(100) << DbValue(QStringLiteral("M")) << 0 << QString() << QString();
    QTest::newRow("yesterday as the working date")
        << DbValue(59) << DbValue(100) << DbValue(QStringLiteral("M")) << 1 << QStringLiteral("59")
        << QStringLiteral("Hier");
    QTest::newRow("the empty list's reprint: 0, 0 and no size")
        << DbValue(0) << DbValue(0) << DbValue(QString()) << 0 << QString() << QString();
}

void TestTicketPrinting::printsTheLine()
{
    QFETCH(DbValue, numVente);
    QFETCH(DbValue, cleArt);
    QFETCH(DbValue, taille);
    QFETCH(int, daysBack);
    QFETCH(QString, number);
    QFETCH(QString, article);

    m_db->insertLine({ .NUM_VENTE = 60,
                       .CLE_ART = 400,
                       .ARTICLE = QStringLiteral("Croque-monsieur"),
                       .TAILLE = QStringLiteral("L") });
    m_printing->imprimerTicket(m_module->Tickt, numVente, cleArt, taille,
                               QDate::currentDate().addDays(-daysBack));

    QCOMPARE(m_printer.jobs().size(), 1);
    const RecordingPrintTarget::Job &job = m_printer.jobs().first();
    QCOMPARE(job.options.jobName, QStringLiteral("Ticket ") + numVente.toText());
    QCOMPARE(job.options.printerName, QString()); // "Default"
    QCOMPARE(job.label.pages.size(), 1);
    const PreparedLabel::Page &page = job.label.pages.first();
    QCOMPARE(page.paperSize, QSizeF(40, 20));
    QCOMPARE(page.items.size(), 2);
    QCOMPARE(page.items.at(0).text, number);
    QCOMPARE(page.items.at(1).text, article);
    // The query stays open on the line, as the layout's dataset left it.
    QVERIFY(m_module->Tickt.isOpen());

    if (article == u"Croque-monsieur")
        keepScreenshot(QStringLiteral("label-fr.png"), m_printer.pageImage(0, 0));
    else if (article.isRightToLeft())
        keepScreenshot(QStringLiteral("label-ar.png"), m_printer.pageImage(0, 0));
}

void TestTicketPrinting::missingLayoutPrintsNothing()
{
    m_work->removeFile(TicketReport::layoutFileName());
    m_printing->imprimerTicket(m_module->Tickt, 57, 100, QStringLiteral("M"), QDate::currentDate());
    QCOMPARE(m_printer.jobs().size(), 0);
    // The built-in layout is gone too: the report is empty until a file is there.
    QVERIFY(m_printing->frxReport1.layout().isEmpty());
    QCOMPARE(m_printing->frxReport1.fileName(), QString());
    writeLayout(contents(sampleLayout()));
    m_printing->imprimerTicket(m_module->Tickt, 57, 100, QStringLiteral("M"), QDate::currentDate());
    QCOMPARE(m_printer.jobs().size(), 1);
}

void TestTicketPrinting::damagedLayout_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray sample = contents(sampleLayout());
    QTest::newRow("not XML") << QByteArray("MZ\x90\0\3\0\0\0", 8);
    QTest::newRow("cut short") << sample.left(400);
    QTest::newRow("another kind of file")
        << QByteArray("<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    QTest::newRow("a label a kilometre long")
        << QByteArray(sample).replace("PaperHeight=\"20\"", "PaperHeight=\"1000000\"");
}

void TestTicketPrinting::damagedLayout()
{
    QFETCH(QByteArray, content);
    writeLayout(content);
    try {
        m_printing->imprimerTicket(m_module->Tickt, 57, 100, QStringLiteral("M"), QDate::currentDate());
        QFAIL("a damaged layout printed");
    } catch (const StationError &error) {
        QVERIFY2(error.message().contains(QDir::toNativeSeparators(TicketReport::layoutFileName())),
                 qPrintable(error.message()));
    }
    QCOMPARE(m_printer.jobs().size(), 0);
    QCOMPARE(contents(m_work->filePath(TicketReport::layoutFileName())), content);
}

void TestTicketPrinting::theFileNotTheBuiltInLayout()
{
    // The first print after start-up already reads the file.
    QByteArray layout = contents(sampleLayout());
    layout.replace("Text=\"[Ticet.&#34;NUM_VENTE&#34;]\"",
                   "Text=\"N° [Ticet.&#34;NUM_VENTE&#34;] · [Ticet.&#34;QTE&#34;]\"");
    writeLayout(layout);
    QVERIFY(m_printing->frxReport1.layout() == LabelReport::builtIn());
    m_printing->imprimerTicket(m_module->Tickt, 57, 100, QStringLiteral("M"), QDate::currentDate());
    QCOMPARE(m_printer.jobs().size(), 1);
    QCOMPARE(m_printer.jobs().first().label.pages.first().items.at(0).text, QStringLiteral("N° 57 · 1"));
}

void TestTicketPrinting::printerNamedByTheLayout_data()
{
    QTest::addColumn<QByteArray>("printer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Default: the system's default") << QByteArray("Default") << QString();
    QTest::newRow("a named printer") << QByteArray("Etiquettes cuisine")
                                     << QStringLiteral("Etiquettes cuisine");
    QTest::newRow("none named") << QByteArray() << QString();
}

void TestTicketPrinting::printerNamedByTheLayout()
{
    QFETCH(QByteArray, printer);
    QFETCH(QString, expected);
    QByteArray layout = contents(sampleLayout());
    layout.replace("PrintOptions.Printer=\"Default\"",
                   printer.isEmpty() ? QByteArray() : "PrintOptions.Printer=\"" + printer + '"');
    // A layout that asks for the print dialog prints without one all the same.
    layout.replace("PrintOptions.ShowDialog=\"False\"", "PrintOptions.ShowDialog=\"True\"");
    writeLayout(layout);
    m_printing->imprimerTicket(m_module->Tickt, 57, 100, QStringLiteral("M"), QDate::currentDate());
    QCOMPARE(m_printer.jobs().size(), 1);
    QCOMPARE(m_printer.jobs().first().options.printerName, expected);
}

void TestTicketPrinting::databaseErrorReachesTheCaller()
{
    m_module->UniConnection1.close();
    QVERIFY_THROWS_EXCEPTION(
        StationError,
        m_printing->imprimerTicket(m_module->Tickt, 57, 100, QStringLiteral("M"), QDate::currentDate()));
    QCOMPARE(m_printer.jobs().size(), 0);
}

void TestTicketPrinting::designSaveThenPrint()
{
    // Edit and save in the designer, edit again without saving: the next
    // print shows the saved edit, not the unsaved one.
    m_printing->setDesignerHook([](LabelDesigner &designer) {
        QTimer::singleShot(0, &designer, [&designer] {
            designer.document().setText({ 0, 0, 0 }, QStringLiteral("Commande [Ticet.\"NUM_VENTE\"]"));
            designer.document().setFont({ { 0, 0, 0 } },
                                        LabelFont { QStringLiteral("Arial"), -20, LabelFont::Bold, 0 });
            designer.save();
            designer.document().setText({ 0, 0, 1 }, QStringLiteral("not saved"));
            designer.setCloseQuestion([] { return QMessageBox::Discard; });
            designer.reject();
        });
    });
    m_printing->modifierTicket(TicketReport::layoutFileName(), nullptr);
    m_printing->imprimerTicket(m_module->Tickt, 57, 101, QStringLiteral("M"), QDate::currentDate());
    QCOMPARE(m_printer.jobs().size(), 1);
    const PreparedLabel::Page &page = m_printer.jobs().first().label.pages.first();
    QCOMPARE(page.items.at(0).text, QStringLiteral("Commande 57"));
    QCOMPARE(page.items.at(0).font.height, -20);
    QCOMPARE(page.items.at(1).text, QStringLiteral("Tacos"));

    // The designer's preview shows the ticket query's line once a print opened it.
    QString previewArticle;
    m_printing->setDesignerHook([&previewArticle](LabelDesigner &designer) {
        const LabelDataset &preview = designer.previewData();
        previewArticle = preview.row(0).at(preview.fieldIndex(u"ARTICLE")).toText();
        QTimer::singleShot(0, &designer, &LabelDesigner::reject);
    });
    m_printing->modifierTicket(TicketReport::layoutFileName(), nullptr);
    QCOMPARE(previewArticle, QStringLiteral("Tacos"));
}

void TestTicketPrinting::throughCups()
{
    // The station's own printer: the system's default, a cups-pdf queue set up
    // by scripts/services/cups.sh. Each label is one PDF of 40 x 20 mm.
    if (QPrinterInfo::defaultPrinterName().isEmpty())
        QFAIL("No default printer: run scripts/services/cups.sh start (scripts/test.sh does)");
    const QString folder = cupsPdfFolder();
    const int first = 10000 + int(QRandomGenerator::global()->bounded(80000));
    m_db->insertLine({ .NUM_VENTE = first,
                       .CLE_ART = 300,
                       .ARTICLE = QStringLiteral("Crêpe"),
                       .TAILLE = QStringLiteral("S") });
    m_db->insertLine({ .NUM_VENTE = first + 1,
                       .CLE_ART = 300,
                       .ARTICLE = QStringLiteral("كسكس"),
                       .TAILLE = QStringLiteral("S") });
    QByteArray layout = contents(sampleLayout());
    layout.replace("PrintOptions.ShowDialog=\"False\"", "PrintOptions.ShowDialog=\"True\""); // never a dialog
    writeLayout(layout);

    TicketPrinting station(&m_module->Tickt); // its own printer: the printing system
    for (const int number : { first, first + 1 })
        station.imprimerTicket(m_module->Tickt, number, 300, QStringLiteral("S"), QDate::currentDate());

    for (const int number : { first, first + 1 }) {
        const QString job = TicketReport::jobName(number);
        QTRY_COMPARE_WITH_TIMEOUT(pdfsOf(folder, job).size(), 1, 30000);
        const QString path = pdfsOf(folder, job).first();
        QString info;
        QTRY_VERIFY_WITH_TIMEOUT((info = pdfInfo(path)).contains(u"Pages:"), 10000);
        QVERIFY2(isOneLabelPage(info), qPrintable(info));
        QVERIFY2(info.contains(job), qPrintable(info)); // the title carries the order number
        QFile::remove(path);
    }
}

QTEST_MAIN(TestTicketPrinting)
#include "tst_ticketprinting.moc"
