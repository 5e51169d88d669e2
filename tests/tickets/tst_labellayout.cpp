// The label layout file: what is read, what is written back, what is refused.

#include "TicketTestSupport.h"
#include "app/StationError.h"
#include "tickets/LabelLayoutFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace TicketTestSupport;

class TestLabelLayout : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void foreignWriterKeptVerbatim();
    void editRewritesOnlyTheEditedAttribute();
    void sampleFigures();
    void damaged_data();
    void damaged();
    void failedWriteIsAnError();
};

void TestLabelLayout::roundTrip_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("sameBytes");
    QTest::newRow("the built-in label") << sampleLayout() << true;
    QTest::newRow("unknown elements and attributes at every level")
        << fixture(QStringLiteral("unknown-parts.fr3")) << true;
    QTest::newRow("another writer's quoting and indentation")
        << fixture(QStringLiteral("other-writer.fr3")) << false;
    // Saved again and again, a layout with text between its elements must not
    // grow by a line each time.
    QTest::newRow("stray text between elements") << fixture(QStringLiteral("stray-text.fr3")) << false;
    // A carriage return written as a reference is not a line end.
    QTest::newRow("stray text with a carriage return reference")
        << fixture(QStringLiteral("stray-text-return.fr3")) << false;
}

void TestLabelLayout::roundTrip()
{
    QFETCH(QString, path);
    QFETCH(bool, sameBytes);

    const LabelReport read = LabelLayoutFile::read(path);
    const QByteArray written = LabelLayoutFile::toXml(read);
    const LabelReport reread = LabelLayoutFile::fromXml(written, path);
    QVERIFY(reread == read);
    QCOMPARE(LabelLayoutFile::toXml(reread), written);
    if (sameBytes)
        QCOMPARE(QString::fromUtf8(written), QString::fromUtf8(contents(path)));
}

void TestLabelLayout::foreignWriterKeptVerbatim()
{
    // Unknown elements come back as the very text they had, whatever quoting,
    // references and indentation their writer used.
    const QString path = fixture(QStringLiteral("other-writer.fr3"));
    const QString written = QString::fromUtf8(LabelLayoutFile::toXml(LabelLayoutFile::read(path)));
    QVERIFY2(
        written.contains(u"<Variables>\n\t\t<item Name='A&amp;B' Value=\"&quot;x&quot;\"/>\n\t</Variables>"),
        qPrintable(written));
    // Known elements are written in the report XML's own style, with the same values.
    QVERIFY(written.contains(u"Text=\"[Ticet.&#34;NUM_VENTE&#34;]\""));
    QVERIFY(written.contains(u"<TfrxShapeView Name=\"Shape1\""));
    QVERIFY(written.contains(u"LeftMargin=\"1.0\""));
}

void TestLabelLayout::editRewritesOnlyTheEditedAttribute()
{
    const QString path = fixture(QStringLiteral("unknown-parts.fr3"));
    LabelReport report = LabelLayoutFile::read(path);
    LabelBand &master = report.pages()[0].bands()[1];
    QCOMPARE(master.name(), QStringLiteral("MasterData1"));
    LabelObject &number = master.objects()[0];
    QCOMPARE(number.name(), QStringLiteral("Numero"));
    number.setGeometry(number.geometry().translated(10.5, 0));
    number.setText(QStringLiteral("Commande \"[Ticet.\"NUM_VENTE\"]\" & <suite>"));

    QString expected = QString::fromUtf8(contents(path));
    expected.replace(QStringLiteral("AllowVectorExport=\"True\" Left=\"0\""),
                     QStringLiteral("AllowVectorExport=\"True\" Left=\"10.5\""));
    expected.replace(
        QStringLiteral("Text=\"N° [Ticet.&#34;NUM_VENTE&#34;]\""),
        QStringLiteral("Text=\"Commande &#34;[Ticet.&#34;NUM_VENTE&#34;]&#34; &#38; &#60;suite&#62;\""));
    QCOMPARE(QString::fromUtf8(LabelLayoutFile::toXml(report)), expected);

    // Objects added and removed around unknown ones leave those where they stood.
    master.objects().insert(0, LabelObject::newMemo(QStringLiteral("Nouveau"), QRectF(0, 0, 20, 10)));
    master.objects().removeAt(0);
    QCOMPARE(QString::fromUtf8(LabelLayoutFile::toXml(report)), expected);
    master.objects().removeAt(0); // Numero: the bar code after it is kept, Article follows it
    const QString withoutNumber = QString::fromUtf8(LabelLayoutFile::toXml(report));
    QVERIFY(!withoutNumber.contains(u"Name=\"Numero\""));
    QVERIFY(withoutNumber.indexOf(u"<TfrxBarcodeView") < withoutNumber.indexOf(u"Name=\"Article\""));
    QVERIFY(withoutNumber.indexOf(u"<TfrxBarcodeView") > withoutNumber.indexOf(u"<TfrxMasterData"));
}

void TestLabelLayout::sampleFigures()
{
    const LabelReport report = LabelLayoutFile::read(sampleLayout());
    QCOMPARE(report.printerName(), QString());
    QCOMPARE(report.datasets().size(), 1);
    QCOMPARE(report.datasets().at(0).value(u"DataSetName"), QStringLiteral("Ticet"));
    QCOMPARE(report.pages().size(), 1);
    const LabelPage &page = report.pages().at(0);
    QCOMPARE(page.paperSize(), QSizeF(40, 20));
    QCOMPARE(page.paperSizeCode(), LabelPage::PaperCustom);
    QCOMPARE(page.margins(), QMarginsF(1, 0.5, 1, 0));
    QCOMPARE(page.bands().size(), 2);
    const LabelBand &title = page.bands().at(0);
    QCOMPARE(title.kind(), LabelBand::Kind::ReportTitle);
    QCOMPARE(title.height(), 71.81102362);
    const LabelBand &master = page.bands().at(1);
    QCOMPARE(master.kind(), LabelBand::Kind::MasterData);
    QCOMPARE(master.dataSetName(), QString());
    QCOMPARE(master.rowCount(), 0);

    QCOMPARE(title.objects().size(), 2);
    const LabelObject &number = title.objects().at(0);
    QCOMPARE(number.geometry(), QRectF(4.55906, 1.33859, 132.28355, 48.37797));
    const LabelFont numberFont = number.font(title.attributes());
    QCOMPARE(numberFont.characterHeight(), 40.0);
    QCOMPARE(numberFont.style, int(LabelFont::Bold));
    QCOMPARE(number.hAlign(), LabelObject::HAlign::Center);
    QCOMPARE(number.text(), QStringLiteral("[Ticet.\"NUM_VENTE\"]"));
    const LabelObject &article = title.objects().at(1);
    QCOMPARE(article.geometry(), QRectF(4, 46.91342, 136.06308, 22.67718));
    QCOMPARE(article.font(title.attributes()).characterHeight(), 13.0);
    QCOMPARE(article.dataField(), QStringLiteral("ARTICLE"));
    QCOMPARE(article.dataSetName(), QStringLiteral("Ticet"));
    QCOMPARE(article.frame().sides, 0);
    QCOMPARE(article.fillColor(), LabelColor::None);
}

void TestLabelLayout::damaged_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("why");

    const QByteArray sample = contents(sampleLayout());
    const auto edited = [&](const char *from, const char *to) {
        QByteArray content = sample;
        content.replace(from, to);
        Q_ASSERT(content != sample);
        return content;
    };
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("XML");
    QTest::newRow("not XML at all") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                    << QStringLiteral("XML");
    QTest::newRow("cut short") << sample.left(sample.size() / 2) << QStringLiteral("XML");
    QTest::newRow("two roots") << sample + "<TfrxReport/>" << QStringLiteral("XML");
    QTest::newRow("another root") << QByteArray("<?xml version=\"1.0\"?><html><body/></html>")
                                  << QStringLiteral("<html>");
    QTest::newRow("paper of no width")
        << edited("PaperWidth=\"40\"", "PaperWidth=\"0\"") << QStringLiteral("PaperWidth");
    QTest::newRow("paper of a kilometre")
        << edited("PaperHeight=\"20\"", "PaperHeight=\"1000000\"") << QStringLiteral("PaperHeight");
    QTest::newRow("paper width not a number")
        << edited("PaperWidth=\"40\"", "PaperWidth=\"forty\"") << QStringLiteral("PaperWidth");
    QTest::newRow("margins wider than the paper")
        << edited("LeftMargin=\"1\"", "LeftMargin=\"39.5\"") << QStringLiteral("margins");
    QTest::newRow("negative band height")
        << edited("Height=\"71.81102362\"", "Height=\"-5\"") << QStringLiteral("Height");
    QTest::newRow("object wider than a road")
        << edited("Width=\"132.28355\"", "Width=\"1e9\"") << QStringLiteral("Width");
    QTest::newRow("object position not a number")
        << edited("Left=\"4\"", "Left=\"NaN\"") << QStringLiteral("Left");
    QTest::newRow("giant font") << edited("Font.Height=\"-40\"", "Font.Height=\"-40000\"")
                                << QStringLiteral("Font.Height");
}

void TestLabelLayout::damaged()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, why);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Etiquette_2X4.fr3"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    try {
        LabelLayoutFile::read(path);
        QFAIL("a damaged layout was read");
    } catch (const StationError &error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
        QVERIFY2(error.message().contains(why), qPrintable(error.message()));
    }
    QCOMPARE(contents(path), content);
}

void TestLabelLayout::failedWriteIsAnError()
{
    // A save that cannot be made says so, naming the file, and leaves what
    // stands under that name alone (here a folder, which no process may replace).
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Etiquette_2X4.fr3"));
    QVERIFY(QDir().mkdir(path));
    QVERIFY(QFile::copy(sampleLayout(), path + u"/inside.fr3"));
    try {
        LabelLayoutFile::write(LabelReport::builtIn(), path);
        QFAIL("the save was reported as made");
    } catch (const StationError &error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
    QCOMPARE(contents(path + u"/inside.fr3"), contents(sampleLayout()));
}

QTEST_GUILESS_MAIN(TestLabelLayout)
#include "tst_labellayout.moc"
