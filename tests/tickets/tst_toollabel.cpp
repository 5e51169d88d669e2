// kitchen-tool label, run as an installer runs it: in a working directory
// with Ch.txt, station.ini and the layout file.

#include "TestDatabase.h"
#include "TestHelpers.h"
#include "TestWorkingDirectory.h"
#include "TicketTestSupport.h"
#include "tickets/TicketReport.h"

#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace TicketTestSupport;

namespace {

using Run = TestHelpers::ToolRun;

/// kitchen-tool label with the arguments.
Run kitchenTool(const QStringList &arguments)
{
    return TestHelpers::runKitchenTool(QStringList { QStringLiteral("label") } + arguments);
}

/// The bounding box of the ink, in pixels.
QRect ink(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestToolLabel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void png();
    void pdf();
    void layoutOfItsOwn();
    void failures_data();
    void failures();

private:
    std::unique_ptr<QTemporaryDir> m_dbDir;
    std::unique_ptr<TestWorkingDirectory> m_work;
};

void TestToolLabel::init()
{
    // The database is made by isql, so that this process holds no attachment:
    // the embedded engine serves a file to one process at a time.
    m_dbDir = std::make_unique<QTemporaryDir>();
    ConnectionSettings settings;
    settings.database = m_dbDir->filePath(QStringLiteral("tool.fdb"));
    const QString script = QStringLiteral("CREATE DATABASE '%1' USER 'SYSDBA' PASSWORD '%2';\n")
                               .arg(settings.database, settings.password)
        + TestDatabase::schema()
        + QStringLiteral("\nINSERT INTO LISTE_COMMANDE (NUM_VENTE, DATE_VENTE, COLOR, CUISEN, CLE_ART, "
                         "ARTICLE, QTE, TAILLE)"
                         " VALUES (57, CURRENT_DATE, 255, 'Grill', 100, 'PIZZA', 2, 'M');\n"
                         "INSERT INTO LISTE_COMMANDE (NUM_VENTE, DATE_VENTE, COLOR, CUISEN, CLE_ART, "
                         "ARTICLE, QTE, TAILLE)"
                         " VALUES (58, '2024-05-14', 255, 'Grill', 200, 'TACOS', 1, NULL);\nCOMMIT;\n");
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"), { QStringLiteral("-q") });
    QVERIFY(isql.waitForStarted());
    isql.write(script.toUtf8());
    isql.closeWriteChannel();
    QVERIFY(isql.waitForFinished(60000));
    QVERIFY2(QFile::exists(settings.database), isql.readAll().constData());
    m_work = std::make_unique<TestWorkingDirectory>(settings);
    m_work->writeFile(TicketReport::layoutFileName(), contents(sampleLayout()));
}

void TestToolLabel::cleanup()
{
    m_work.reset();
    m_dbDir.reset();
}

void TestToolLabel::png()
{
    const QString path = m_work->filePath(QStringLiteral("57.png"));
    const Run run = kitchenTool(
        { QStringLiteral("57"), QStringLiteral("100"), QStringLiteral("M"), QStringLiteral("--png"), path });
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY(run.out.startsWith(path + u'\n'));
    const QImage image(path);
    // 40 x 20 mm at 203 dpi, the label printer's resolution.
    QCOMPARE(image.size(), QSize(320, 160));
    QVERIFY(qAbs(image.dotsPerMeterX() * 0.0254 - 203) < 1);
    // Ink in the number's box and in the article's: the line was found.
    const QRect all = ink(image);
    QVERIFY(!all.isEmpty());
    QVERIFY(!ink(image.copy(0, 105, 320, 45)).isEmpty()); // the article, from 12.9 mm down
}

void TestToolLabel::pdf()
{
    const QString path = m_work->filePath(QStringLiteral("58.pdf"));
    const Run run = kitchenTool({ QStringLiteral("58"), QStringLiteral("200"), QStringLiteral("NULL"),
                                  QStringLiteral("--date"), QStringLiteral("2024-05-14"),
                                  QStringLiteral("--pdf"), path });
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(u"1 line"), qPrintable(run.out)); // the NULL size found the line of that day
    const QString info = pdfInfo(path);
    QVERIFY2(isOneLabelPage(info), qPrintable(info));
    QVERIFY2(info.contains(u"Ticket 58"), qPrintable(info));
}

void TestToolLabel::layoutOfItsOwn()
{
    // --layout renders another file, here one that shows the quantity too.
    QByteArray layout = contents(sampleLayout());
    layout.replace("Text=\"[Ticet.&#34;NUM_VENTE&#34;]\"",
                   "Text=\"[Ticet.&#34;NUM_VENTE&#34;] x[Ticet.&#34;QTE&#34;]\"");
    layout.replace("PaperWidth=\"40\"", "PaperWidth=\"60\"");
    m_work->writeFile(QStringLiteral("autre.fr3"), layout);
    const QString path = m_work->filePath(QStringLiteral("autre.png"));
    const Run run = kitchenTool({ QStringLiteral("57"), QStringLiteral("100"), QStringLiteral("M"),
                                  QStringLiteral("--layout"), QStringLiteral("autre.fr3"),
                                  QStringLiteral("--png"), path });
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(QImage(path).size(), QSize(480, 160));
}

void TestToolLabel::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString png = QStringLiteral("--png");
    QTest::newRow("no output named") << QStringList { QStringLiteral("57"), QStringLiteral("100"),
                                                      QStringLiteral("M") }
                                     << QStringLiteral("--png, --pdf and --print");
    QTest::newRow("two outputs") << QStringList { QStringLiteral("57"),    QStringLiteral("100"),
                                                  QStringLiteral("M"),     png,
                                                  QStringLiteral("a.png"), QStringLiteral("--print") }
                                 << QStringLiteral("one of");
    QTest::newRow("too few") << QStringList { QStringLiteral("57"), png, QStringLiteral("a.png") }
                             << QStringLiteral("needed");
    QTest::newRow("not a date") << QStringList { QStringLiteral("57"),         QStringLiteral("100"),
                                                 QStringLiteral("M"),          QStringLiteral("--date"),
                                                 QStringLiteral("14/05/2024"), png,
                                                 QStringLiteral("a.png") }
                                << QStringLiteral("14/05/2024");
    QTest::newRow("no layout file") << QStringList { QStringLiteral("57"),         QStringLiteral("100"),
                                                     QStringLiteral("M"),          QStringLiteral("--layout"),
                                                     QStringLiteral("absent.fr3"), png,
                                                     QStringLiteral("a.png") }
                                    << QStringLiteral("absent.fr3");
    QTest::newRow("an order number that is no number")
        << QStringList { QStringLiteral("cinq"), QStringLiteral("100"), QStringLiteral("M"), png,
                         QStringLiteral("a.png") }
        << QStringLiteral("cinq");
}

void TestToolLabel::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const Run run = kitchenTool(arguments);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(error), qPrintable(run.err));
    QVERIFY(!QFile::exists(m_work->filePath(QStringLiteral("a.png"))));
}

QTEST_MAIN(TestToolLabel)
#include "tst_toollabel.moc"
