// The label renderer: bands in order, texts evaluated, and where the ink falls.

#include "TicketTestSupport.h"
#include "app/StationError.h"
#include "tickets/LabelLayoutFile.h"
#include "tickets/LabelRenderer.h"
#include "tickets/LabelText.h"
#include "tickets/TicketReport.h"

#include <QLocale>
#include <QTest>

using namespace TicketTestSupport;

namespace {

constexpr double dpi = 203;

double toMm(double devicePixels)
{
    return devicePixels * 25.4 / dpi;
}

/// The bounding box of the ink (any pixel darker than mid grey) in millimetres.
QRectF inkMm(const QImage &image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRectF(QPointF(toMm(left), toMm(top)), QPointF(toMm(right + 1), toMm(bottom + 1)));
}

/// The number of bands of rows with ink, top to bottom: lines of text.
int inkLines(const QImage &image)
{
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 128;
        if (ink && !inLine)
            ++lines;
        inLine = ink;
    }
    return lines;
}

/// The columns of an image (within rows top..bottom) that hold ink.
QList<bool> inkColumns(const QImage &image)
{
    QList<bool> columns(image.width(), false);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                columns[x] = true;
        }
    }
    return columns;
}

LabelDataset ticet(const QList<DbRow> &rows)
{
    return LabelDataset(TicketReport::datasetName(), TicketReport::datasetComponentName(),
                        TicketReport::fieldNames(), rows);
}

DbRow ticketRow(const DbValue &number, const DbValue &article)
{
    DbRow row = TicketReport::sampleDataset().row(0);
    row[1] = number;
    row[10] = article;
    return row;
}

QImage renderFirstPage(const LabelReport &layout, const QList<LabelDataset> &datasets)
{
    const PreparedLabel label = LabelRenderer::prepare(layout, datasets);
    Q_ASSERT(label.pages.size() == 1);
    return LabelRenderer::renderImage(label.pages.at(0), dpi);
}

/// A 40 x 20 mm label without margins whose title band holds one text
/// object at 10, 10 px of 100 x 50 px, with the given extra attributes.
LabelReport oneMemo(const QString &attributes, const QString &text)
{
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport>"
        "<TfrxReportPage Name=\"Page1\" PaperWidth=\"40\" PaperHeight=\"20\" LeftMargin=\"0\" "
        "RightMargin=\"0\" "
        "TopMargin=\"0\" BottomMargin=\"0\"><TfrxReportTitle Name=\"ReportTitle1\" Height=\"75.5906\">"
        "<TfrxMemoView Name=\"Memo1\" Left=\"10\" Top=\"10\" Width=\"100\" Height=\"50\" %1 Text=\"%2\"/>"
        "</TfrxReportTitle></TfrxReportPage></TfrxReport>");
    QString escaped = text.toHtmlEscaped();
    escaped.replace(u'\r', QStringLiteral("&#13;")).replace(u'\n', QStringLiteral("&#10;"));
    const LabelReport layout
        = LabelLayoutFile::fromXml(xml.arg(attributes, escaped).toUtf8(), QStringLiteral("memo.fr3"));
    if (qEnvironmentVariableIsSet("LABEL_TEST_DUMP"))
        LabelRenderer::renderImage(LabelRenderer::prepare(layout, {}).pages.at(0), dpi)
            .save(QStringLiteral("/tmp/memo-%1.png")
                      .arg(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_')));
    return layout;
}

// The memo box of oneMemo, in millimetres.
const QRectF memoBoxMm(10 * 25.4 / 96, 10 * 25.4 / 96, 100 * 25.4 / 96, 50 * 25.4 / 96);

} // namespace

class TestLabelRenderer : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void sampleInk();
    void sampleWithoutRow();
    void sampleShowsFirstRowOnly();
    void bands_data();
    void bands();
    void masterDataWithoutDataset_data();
    void masterDataWithoutDataset();
    void missingDatasetIsAnError();
    void text_data();
    void text();
    void displayText_data();
    void displayText();
    void alignment_data();
    void alignment();
    void colours_data();
    void colours();
    void frame_data();
    void frame();
    void linesAndShapes_data();
    void linesAndShapes();
    void wordWrap_data();
    void wordWrap();
    void arabicShapedRightToLeft();
};

void TestLabelRenderer::sampleInk()
{
    // The number alone, then the article alone, so that each one's ink is known.
    const LabelReport sample = LabelLayoutFile::read(sampleLayout());
    const QRectF number = inkMm(renderFirstPage(sample, { ticet({ ticketRow(57, QString()) }) }));
    const QRectF article
        = inkMm(renderFirstPage(sample, { ticet({ ticketRow(DbValue(), QStringLiteral("PIZZA")) }) }));
    QVERIFY(!number.isEmpty());
    QVERIFY(!article.isEmpty());

    // Boxes on the paper: the band starts at the margins (1 mm, 0.5 mm).
    const QRectF numberBox(1 + 1.21, 0.5 + 0.35, 35.0, 12.8);
    const QRectF articleBox(1 + 1.06, 0.5 + 12.41, 36.0, 6.0);
    QVERIFY2(numberBox.contains(number),
             qPrintable(QStringLiteral("number ink %1,%2 %3x%4 mm")
                            .arg(number.x())
                            .arg(number.y())
                            .arg(number.width())
                            .arg(number.height())));
    QVERIFY2(articleBox.contains(article),
             qPrintable(QStringLiteral("article ink %1,%2 %3x%4 mm")
                            .arg(article.x())
                            .arg(article.y())
                            .arg(article.width())
                            .arg(article.height())));
    // Centred in their boxes.
    QVERIFY(qAbs(number.center().x() - numberBox.center().x()) < 0.3);
    QVERIFY(qAbs(article.center().x() - articleBox.center().x()) < 0.3);
    // Character heights in pixels of 1/96 inch: capitals and digits of Arial
    // are 0.716 of the character height, 40 px = 7.6 mm and 13 px = 2.5 mm
    // (taken for points they would be a third larger).
    QVERIFY2(qAbs(number.height() - 7.58) < 0.4, qPrintable(QString::number(number.height())));
    QVERIFY2(qAbs(article.height() - 2.46) < 0.3, qPrintable(QString::number(article.height())));
    // Top aligned: the digits start just under the box's top, the number
    // stands above the article.
    QVERIFY(number.top() - numberBox.top() < 3.0);
    QVERIFY(article.top() - articleBox.top() < 1.5);
    QVERIFY(number.bottom() < article.top());
}

void TestLabelRenderer::sampleWithoutRow()
{
    // No row: the title band still prints, with empty texts.
    const PreparedLabel label = LabelRenderer::prepare(LabelReport::builtIn(), { ticet({}) });
    QCOMPARE(label.pages.size(), 1);
    QCOMPARE(label.pages.at(0).paperSize, QSizeF(40, 20));
    QCOMPARE(label.pages.at(0).items.size(), 2);
    QVERIFY(inkMm(LabelRenderer::renderImage(label.pages.at(0), dpi)).isEmpty());
}

void TestLabelRenderer::sampleShowsFirstRowOnly()
{
    const PreparedLabel label = LabelRenderer::prepare(
        LabelReport::builtIn(),
        { ticet({ ticketRow(57, QStringLiteral("Pizza")), ticketRow(58, QStringLiteral("Tacos")),
                  ticketRow(59, QStringLiteral("Soupe")) }) });
    QCOMPARE(label.pages.size(), 1);
    QStringList texts;
    for (const PreparedLabel::Item &item : label.pages.at(0).items)
        texts.append(item.text);
    QCOMPARE(texts, QStringList({ QStringLiteral("57"), QStringLiteral("Pizza") }));
}

void TestLabelRenderer::bands_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("expected"); // "text@top mm", page by page, "|" between pages

    // Every band is 10 mm high; the page is 60 mm high, the footer takes the last 10.
    QTest::newRow("no row: title, header, summary, footer")
        << 0 << QStringList({ QStringLiteral("T@0 H@10 S@20 F1/1@50") });
    QTest::newRow("two rows: one band per row, in order, the title shows the first")
        << 2 << QStringList({ QStringLiteral("T10@0 H@10 1:10@20 2:20@30 S10@40 F1/1@50") });
    QTest::newRow("four rows: the fourth goes to a second page under the header again")
        << 4
        << QStringList({ QStringLiteral("T10@0 H@10 1:10@20 2:20@30 3:30@40 F1/2@50"),
                         QStringLiteral("H@0 4:40@10 S10@20 F2/2@50") });
}

void TestLabelRenderer::bands()
{
    QFETCH(int, rows);
    QFETCH(QStringList, expected);

    QList<DbRow> values;
    for (int i = 1; i <= rows; ++i)
        values.append(ticketRow(10 * i, QStringLiteral("Article %1").arg(i)));
    const PreparedLabel label = LabelRenderer::prepare(
        LabelLayoutFile::read(fixture(QStringLiteral("bands.fr3"))), { ticet(values) });
    QStringList pages;
    for (const PreparedLabel::Page &page : label.pages) {
        QStringList items;
        for (const PreparedLabel::Item &item : page.items)
            items.append(item.text + u'@'
                         + QString::number(qRound(item.object.geometry().top() * 25.4 / 96)));
        pages.append(items.join(u' '));
    }
    QCOMPARE(pages, expected);
}

void TestLabelRenderer::masterDataWithoutDataset_data()
{
    QTest::addColumn<QString>("rowCount");
    QTest::addColumn<int>("printed");
    QTest::newRow("row count 0 never prints") << QStringLiteral("0") << 0;
    QTest::newRow("row count 3 prints three times") << QStringLiteral("3") << 3;
    QTest::newRow("no row count prints once") << QString() << 1;
}

void TestLabelRenderer::masterDataWithoutDataset()
{
    QFETCH(QString, rowCount);
    QFETCH(int, printed);

    const QString rowCountAttribute
        = rowCount.isEmpty() ? QString() : QStringLiteral(" RowCount=\"%1\"").arg(rowCount);
    QByteArray xml = contents(sampleLayout());
    xml.replace(
        " RowCount=\"0\"/>",
        QByteArray(
            (rowCountAttribute + QStringLiteral(">")).toUtf8()
            + "<TfrxMemoView Name=\"Rang\" Left=\"0\" Top=\"0\" Width=\"20\" Height=\"10\" Text=\"[Line#]\"/>"
              "</TfrxMasterData>"));
    const LabelReport layout = LabelLayoutFile::fromXml(xml, QStringLiteral("master.fr3"));
    const PreparedLabel label
        = LabelRenderer::prepare(layout, { ticet({ ticketRow(57, QStringLiteral("Pizza")) }) });
    QStringList lines;
    for (const PreparedLabel::Page &page : label.pages) {
        for (const PreparedLabel::Item &item : page.items) {
            if (item.object.name() == u"Rang")
                lines.append(item.text);
        }
    }
    QCOMPARE(lines.size(), printed);
}

void TestLabelRenderer::missingDatasetIsAnError()
{
    QByteArray xml = contents(sampleLayout());
    xml.replace("RowCount=\"0\"", "DataSet=\"Clients1\" DataSetName=\"Clients\" RowCount=\"0\"");
    const LabelReport layout = LabelLayoutFile::fromXml(xml, QStringLiteral("master.fr3"));
    QVERIFY_THROWS_EXCEPTION(StationError, LabelRenderer::prepare(layout, { ticet({}) }));
    try {
        LabelRenderer::prepare(layout, { ticet({}) });
    } catch (const StationError &error) {
        QVERIFY2(error.message().contains(u"\"Clients\""), qPrintable(error.message()));
        QVERIFY2(error.message().contains(u"\"MasterData1\""), qPrintable(error.message()));
    }
}

void TestLabelRenderer::text_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // "!" + part of the message for an error

    QTest::newRow("a field") << QString() << QStringLiteral("[Ticet.\"NUM_VENTE\"]") << QStringLiteral("57");
    QTest::newRow("fields among literal text")
        << QString() << QStringLiteral("N° [Ticet.\"NUM_VENTE\"] x[Ticet.QTE] - [Ticet.\"ARTICLE\"]!")
        << QStringLiteral("N° 57 x2 - Pizza!");
    QTest::newRow("names in any case, blanks inside")
        << QString() << QStringLiteral("[ ticet . \"article\" ]") << QStringLiteral("Pizza");
    QTest::newRow("the component's name")
        << QString() << QStringLiteral("[Ticet1.\"ARTICLE\"]") << QStringLiteral("Pizza");
    QTest::newRow("an expression that is no field stays")
        << QString() << QStringLiteral("[promo] [a + b]") << QStringLiteral("[promo] [a + b]");
    QTest::newRow("an unclosed bracket stays")
        << QString() << QStringLiteral("[Ticet.\"NUM_VENTE\"") << QStringLiteral("[Ticet.\"NUM_VENTE\"");
    QTest::newRow("a closing bracket inside quotes")
        << QString() << QStringLiteral("[Ticet.\"A]B\"]") << QStringLiteral("!\"A]B\"");
    QTest::newRow("a field the dataset lacks is an error")
        << QString() << QStringLiteral("[Ticet.\"TAILLE\"]") << QStringLiteral("!\"TAILLE\"");
    QTest::newRow("a dataset that is not there is an error")
        << QString() << QStringLiteral("[Clients.\"NOM\"]") << QStringLiteral("!\"Clients\"");
    QTest::newRow("the field it is bound to, whatever its text")
        << QStringLiteral("DataField=\"ARTICLE\" DataSetName=\"Ticet\"")
        << QStringLiteral("[Ticet.\"NUM_VENTE\"]") << QStringLiteral("Pizza");
    QTest::newRow("expressions switched off")
        << QStringLiteral("AllowExpressions=\"False\"") << QStringLiteral("[Ticet.\"NUM_VENTE\"]")
        << QStringLiteral("[Ticet.\"NUM_VENTE\"]");
    QTest::newRow("delimiters of its own")
        << QStringLiteral("ExpressionDelimiters=\"&lt;%,%&gt;\"")
        << QStringLiteral("[x] <%Ticet.\"NUM_VENTE\"%>") << QStringLiteral("[x] 57");
    QTest::newRow("several lines") << QString()
                                   << QStringLiteral("[Ticet.\"NUM_VENTE\"]\r\n[Ticet.\"ARTICLE\"]")
                                   << QStringLiteral("57\r\nPizza");
}

void TestLabelRenderer::text()
{
    QFETCH(QString, attributes);
    QFETCH(QString, text);
    QFETCH(QString, shown);

    DbRow row = ticketRow(57, QStringLiteral("Pizza"));
    row[11] = DbValue(2.0);
    const LabelReport layout = oneMemo(attributes, text);
    try {
        const PreparedLabel label = LabelRenderer::prepare(layout, { ticet({ row }) });
        QCOMPARE(label.pages.at(0).items.at(0).text, shown);
    } catch (const StationError &error) {
        QVERIFY2(shown.startsWith(u'!'), qPrintable(error.message()));
        QVERIFY2(error.message().contains(shown.mid(1)), qPrintable(error.message()));
        QVERIFY2(error.message().contains(u"\"Memo1\""), qPrintable(error.message()));
    }
}

void TestLabelRenderer::displayText_data()
{
    QTest::addColumn<DbValue>("value");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("NULL shows nothing") << DbValue() << QStringLiteral("fr_FR") << QString();
    QTest::newRow("an integer has no decimals")
        << DbValue(1234567) << QStringLiteral("fr_FR") << QStringLiteral("1234567");
    QTest::newRow("a whole float has no decimals")
        << DbValue(2.0) << QStringLiteral("fr_FR") << QStringLiteral("2");
    QTest::newRow("a float with the locale's separator")
        << DbValue(12.5) << QStringLiteral("fr_FR") << QStringLiteral("12,5");
    QTest::newRow("a float in C") << DbValue(0.1 + 0.2) << QStringLiteral("C")
                                  << QStringLiteral("0.30000000000000004");
    QTest::newRow("a text as stored, blanks kept")
        << DbValue(QStringLiteral(" Tacos  ")) << QStringLiteral("fr_FR") << QStringLiteral(" Tacos  ");
    QTest::newRow("a date in the short form")
        << DbValue(QDate(2024, 3, 9)) << QStringLiteral("fr_FR") << QStringLiteral("09/03/2024");
    QTest::newRow("a time to the second") << DbValue(TimeOfDay::fromHms(7, 5, 9, 1234))
                                          << QStringLiteral("fr_FR") << QStringLiteral("07:05:09");
}

void TestLabelRenderer::displayText()
{
    QFETCH(DbValue, value);
    QFETCH(QString, locale);
    QFETCH(QString, shown);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(LabelDataset::displayText(value), shown);
}

void TestLabelRenderer::alignment_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("horizontal"); // left, center, right: where the ink sits in the box
    QTest::addColumn<QString>("vertical"); // top, center, bottom

    QTest::newRow("default: top left") << QString() << QStringLiteral("left") << QStringLiteral("top");
    QTest::newRow("right, bottom") << QStringLiteral("HAlign=\"haRight\" VAlign=\"vaBottom\"")
                                   << QStringLiteral("right") << QStringLiteral("bottom");
    QTest::newRow("centre, centre") << QStringLiteral("HAlign=\"haCenter\" VAlign=\"vaCenter\"")
                                    << QStringLiteral("center") << QStringLiteral("center");
    QTest::newRow("left stays left for Arabic")
        << QStringLiteral("HAlign=\"haLeft\"") << QStringLiteral("left") << QStringLiteral("top");
}

void TestLabelRenderer::alignment()
{
    QFETCH(QString, attributes);
    QFETCH(QString, horizontal);
    QFETCH(QString, vertical);

    const bool arabic = QByteArray(QTest::currentDataTag()).contains("Arabic");
    const QRectF ink = inkMm(renderFirstPage(oneMemo(attributes + QStringLiteral(" Font.Height=\"-16\""),
                                                     arabic ? QStringLiteral("محمد") : QStringLiteral("HIH")),
                                             {}));
    QVERIFY(memoBoxMm.contains(ink));
    const double gapX = 2 * 25.4 / 96;
    const double tolerance = 0.6; // side bearing of the letters
    if (horizontal == u"left")
        QVERIFY2(ink.left() - memoBoxMm.left() < gapX + tolerance, qPrintable(QString::number(ink.left())));
    else if (horizontal == u"right")
        QVERIFY2(memoBoxMm.right() - ink.right() < gapX + tolerance,
                 qPrintable(QString::number(ink.right())));
    else
        QVERIFY(qAbs(ink.center().x() - memoBoxMm.center().x()) < tolerance);
    if (vertical == u"top")
        QVERIFY(ink.top() - memoBoxMm.top() < memoBoxMm.height() / 4);
    else if (vertical == u"bottom")
        QVERIFY(memoBoxMm.bottom() - ink.bottom() < memoBoxMm.height() / 4);
    else
        QVERIFY(qAbs(ink.center().y() - memoBoxMm.center().y()) < 0.6);
}

void TestLabelRenderer::colours_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QColor>("text"); // the colour of the letters
    QTest::addColumn<QColor>("fill"); // the colour of the box around them

    QTest::newRow("black on nothing") << QString() << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("red is the low byte")
        << QStringLiteral("Font.Color=\"255\"") << QColor(Qt::red) << QColor(Qt::white);
    QTest::newRow("blue is the high byte")
        << QStringLiteral("Font.Color=\"16711680\"") << QColor(Qt::blue) << QColor(Qt::white);
    QTest::newRow("window text is black")
        << QStringLiteral("Font.Color=\"-16777208\"") << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("a green fill") << QStringLiteral("Color=\"65280\"") << QColor(Qt::black)
                                  << QColor(Qt::green);
    QTest::newRow("a fill of no colour")
        << QStringLiteral("Color=\"536870911\"") << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("the newer fill attribute")
        << QStringLiteral("Fill.BackColor=\"16776960\"") << QColor(Qt::black) << QColor(Qt::cyan);
}

void TestLabelRenderer::colours()
{
    QFETCH(QString, attributes);
    QFETCH(QColor, text);
    QFETCH(QColor, fill);

    const QImage image = renderFirstPage(
        oneMemo(attributes + QStringLiteral(" Font.Height=\"-40\" Font.Style=\"1\""), QStringLiteral("I")),
        {});
    // The stem of the I, near the box's left, and a point of the box far from it.
    const double px = dpi / 96;
    QColor stem;
    for (int x = int(12 * px); x < int(30 * px) && !stem.isValid(); ++x) {
        const QColor c = image.pixelColor(x, int(35 * px));
        if (qAbs(c.red() - text.red()) + qAbs(c.green() - text.green()) + qAbs(c.blue() - text.blue()) < 60)
            stem = c;
    }
    QVERIFY2(stem.isValid(), "no letter pixel of the colour");
    QCOMPARE(image.pixelColor(int(100 * px), int(50 * px)), fill);
    QCOMPARE(image.pixelColor(int(130 * px), int(50 * px)), QColor(Qt::white)); // outside the box
}

void TestLabelRenderer::frame_data()
{
    QTest::addColumn<int>("sides");
    QTest::newRow("none") << 0;
    QTest::newRow("left") << 1;
    QTest::newRow("right") << 2;
    QTest::newRow("top") << 4;
    QTest::newRow("bottom") << 8;
    QTest::newRow("all four") << 15;
}

void TestLabelRenderer::frame()
{
    QFETCH(int, sides);

    const QImage image = renderFirstPage(
        oneMemo(QStringLiteral("Frame.Typ=\"%1\" Frame.Width=\"2\"").arg(sides), QString()), {});
    const double px = dpi / 96;
    const auto dark = [&](double x, double y) { return qGray(image.pixel(int(x * px), int(y * px))) < 128; };
    QCOMPARE(dark(10, 35), bool(sides & 1));
    QCOMPARE(dark(110, 35), bool(sides & 2));
    QCOMPARE(dark(60, 10), bool(sides & 4));
    QCOMPARE(dark(60, 60), bool(sides & 8));
    QVERIFY(!dark(60, 35));
}

void TestLabelRenderer::linesAndShapes_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QPointF>("inked"); // layout pixels on the page
    QTest::addColumn<QPointF>("blank");
    QTest::addColumn<QColor>("colour"); // of the inked point

    QTest::newRow("a line under the article")
        << QStringLiteral("<TfrxLineView Name=\"Trait\" Left=\"10\" Top=\"30\" Width=\"100\" Height=\"0\" "
                          "Frame.Typ=\"4\" Frame.Width=\"2\"/>")
        << QPointF(60, 30) << QPointF(60, 34) << QColor(Qt::black);
    QTest::newRow("a filled rectangle with a red outline")
        << QStringLiteral("<TfrxShapeView Name=\"Cadre\" Left=\"10\" Top=\"10\" Width=\"100\" Height=\"50\" "
                          "Color=\"65280\" Frame.Color=\"255\" Frame.Width=\"3\"/>")
        << QPointF(10, 35) << QPointF(120, 35) << QColor(Qt::red);
    QTest::newRow("the rectangle's inside is its fill")
        << QStringLiteral("<TfrxShapeView Name=\"Cadre\" Left=\"10\" Top=\"10\" Width=\"100\" Height=\"50\" "
                          "Color=\"65280\" Frame.Color=\"255\" Frame.Width=\"3\"/>")
        << QPointF(60, 35) << QPointF(60, 70) << QColor(Qt::green);
    QTest::newRow("an ellipse leaves its corners")
        << QStringLiteral("<TfrxShapeView Name=\"Rond\" Left=\"10\" Top=\"10\" Width=\"100\" Height=\"50\" "
                          "Shape=\"skEllipse\" Color=\"0\"/>")
        << QPointF(60, 35) << QPointF(13, 13) << QColor(Qt::black);
    QTest::newRow("an invisible object is not printed")
        << QStringLiteral("<TfrxShapeView Name=\"Cache\" Left=\"10\" Top=\"10\" Width=\"100\" Height=\"50\" "
                          "Color=\"0\" Visible=\"False\"/>")
        << QPointF(-1, -1) << QPointF(60, 35) << QColor();
}

void TestLabelRenderer::linesAndShapes()
{
    QFETCH(QString, object);
    QFETCH(QPointF, inked);
    QFETCH(QPointF, blank);
    QFETCH(QColor, colour);

    const QString xml = QStringLiteral("<?xml version=\"1.0\"?><TfrxReport><TfrxReportPage Name=\"Page1\" "
                                       "PaperWidth=\"40\" PaperHeight=\"20\" "
                                       "LeftMargin=\"0\" RightMargin=\"0\" TopMargin=\"0\" "
                                       "BottomMargin=\"0\"><TfrxReportTitle Name=\"T\" Height=\"75\">%1"
                                       "</TfrxReportTitle></TfrxReportPage></TfrxReport>")
                            .arg(object);
    const QImage image
        = renderFirstPage(LabelLayoutFile::fromXml(xml.toUtf8(), QStringLiteral("shapes.fr3")), {});
    const double px = dpi / 96;
    const auto at = [&](const QPointF &p) { return image.pixelColor(int(p.x() * px), int(p.y() * px)); };
    if (colour.isValid()) {
        const QColor c = at(inked);
        QVERIFY2(qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green())
                         + qAbs(c.blue() - colour.blue())
                     < 90,
                 qPrintable(c.name()));
    }
    QCOMPARE(at(blank), QColor(Qt::white));
}

void TestLabelRenderer::wordWrap_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines"); // -1: as many as it takes
    // Two words that fit the box's width only one at a time.
    const QString twoWords = QStringLiteral("HHHHHHH HHHHHHH");
    QTest::newRow("wraps by default") << QString() << twoWords << 2;
    QTest::newRow("one line, cut at the box, without wrap") << QStringLiteral("WordWrap=\"False\"") << twoWords << 1;
    // The longest article the column holds: cut at the box, never beyond it.
    QString article;
    while (article.size() < 150)
        article += QStringLiteral("شاورما دجاج ");
    QTest::newRow("150-letter Arabic article stays in the box") << QString() << article.left(150) << -1;
    QTest::newRow("150-letter Arabic article on one line") << QStringLiteral("WordWrap=\"False\"")
                                                           << article.left(150) << 1;
}

void TestLabelRenderer::wordWrap()
{
    QFETCH(QString, attributes);
    QFETCH(QString, text);
    QFETCH(int, lines);

    const QImage image = renderFirstPage(oneMemo(attributes + QStringLiteral(" Font.Height=\"-16\""), text), {});
    const QRectF ink = inkMm(image);
    // the box's edges fall inside a device pixel, which may take ink
    const double pixel = toMm(1);
    QVERIFY2(memoBoxMm.adjusted(-pixel, -pixel, pixel, pixel).contains(ink),
             qPrintable(QStringLiteral("ink %1,%2 to %3,%4 mm")
                            .arg(ink.left())
                            .arg(ink.top())
                            .arg(ink.right())
                            .arg(ink.bottom())));
    if (lines < 0)
        return;
    QCOMPARE(inkLines(image), lines);
    if (lines == 1)
        QVERIFY(memoBoxMm.right() - ink.right() < 1.0); // runs on to the box's edge, cut there
}

void TestLabelRenderer::arabicShapedRightToLeft()
{
    // Shaped: the letters of a word that joins all through make one stroke,
    // with no blank column between its ends.
    const QImage word
        = renderFirstPage(oneMemo(QStringLiteral("Font.Height=\"-24\""), QStringLiteral("محمد")), {});
    const QList<bool> columns = inkColumns(word);
    const qsizetype first = columns.indexOf(true);
    const qsizetype last = columns.lastIndexOf(true);
    QVERIFY(first >= 0);
    QCOMPARE(columns.mid(first, last - first + 1).indexOf(false), -1);

    // Right to left: in "محمد ab" the word comes first, on the right, and the
    // Latin letters after it, on the left (left to right they would be the
    // other way round).
    const QImage mixed = renderFirstPage(
        oneMemo(QStringLiteral("Font.Height=\"-24\" HAlign=\"haCenter\""), QStringLiteral("محمد ab")), {});
    const QList<bool> mixedColumns = inkColumns(mixed);
    const qsizetype start = mixedColumns.indexOf(true);
    const qsizetype end = mixedColumns.lastIndexOf(true);
    const qsizetype gap = mixedColumns.indexOf(false, start);
    QVERIFY(gap > start && gap < end);
    const qsizetype leftWidth = gap - start;
    const qsizetype rightWidth = end - mixedColumns.lastIndexOf(false, end);
    // The word is wider than the two letters.
    QVERIFY2(rightWidth > leftWidth,
             qPrintable(QStringLiteral("left %1, right %2").arg(leftWidth).arg(rightWidth)));
}

QTEST_MAIN(TestLabelRenderer)
#include "tst_labelrenderer.moc"
