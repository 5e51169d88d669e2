#include "TestDatabase.h"
#include "data/DataModule.h"
#include "data/DbError.h"
#include "data/PendingTile.h"

#include <QTest>

using namespace Qt::StringLiterals;

// How a pending line becomes a tile of the board.
class TestPendingTile : public QObject
{
    Q_OBJECT
private slots:
    void numberText_data();
    void numberText();
    void colourFromWindows_data();
    void colourFromWindows();
    void tilesFromTheQuery();
};

void TestPendingTile::numberText_data()
{
    QTest::addColumn<DbValue>("value");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole quantity has no decimals") << DbValue(2.0) << u"fr_FR"_s << u"2"_s;
    QTest::newRow("integer column") << DbValue(3) << u"fr_FR"_s << u"3"_s;
    QTest::newRow("French decimal comma") << DbValue(1.5) << u"fr_FR"_s << u"1,5"_s;
    QTest::newRow("C decimal point") << DbValue(0.25) << u"C"_s << u"0.25"_s;
    QTest::newRow("Arabic decimal separator, Latin digits") << DbValue(2.5) << u"ar_DZ"_s
                                                            << u"2"_s + QLocale(u"ar_DZ"_s).decimalPoint() + u"5"_s;
    QTest::newRow("no group separators") << DbValue(12345.0) << u"fr_FR"_s << u"12345"_s;
    QTest::newRow("binary fraction noise hidden") << DbValue(0.1 + 0.2) << u"C"_s << u"0.3"_s;
    QTest::newRow("NULL is empty") << DbValue() << u"fr_FR"_s << QString();
}

void TestPendingTile::numberText()
{
    QFETCH(DbValue, value);
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QCOMPARE(PendingTile::numberText(value, QLocale(locale)), text);
}

void TestPendingTile::colourFromWindows_data()
{
    QTest::addColumn<qint64>("color");
    QTest::addColumn<QRgb>("rgb");

    QTest::newRow("red is the low byte") << qint64(0x0000FF) << qRgb(255, 0, 0);
    QTest::newRow("blue is the third byte") << qint64(0xFF0000) << qRgb(0, 0, 255);
    QTest::newRow("mixed") << qint64(0x336699) << qRgb(0x99, 0x66, 0x33);
    QTest::newRow("black") << qint64(0) << qRgb(0, 0, 0);
    QTest::newRow("bits above 24 ignored") << qint64(0x7F00FF00) << qRgb(0, 255, 0);
    QTest::newRow("negative system colour value") << qint64(-2147483643) << qRgb(5, 0, 0);
}

void TestPendingTile::colourFromWindows()
{
    QFETCH(qint64, color);
    QFETCH(QRgb, rgb);
    QCOMPARE(PendingTile::colourFromWindows(color), rgb);
}

void TestPendingTile::tilesFromTheQuery()
{
    const QDate day(2024, 5, 14);
    TestDatabase db;
    db.insertLine({.NUM_VENTE = 12, .DATE_VENTE = day, .COLOR = 0x0000FF, .CLE_ART = 501,
                   .ARTICLE = u"شاورما"_s, .QTE = 2.0, .TAILLE = u"كبير"_s});
    db.insertLine({.NUM_VENTE = 0, .DATE_VENTE = day});
    db.insertLine({.NUM_VENTE = DbValue(), .DATE_VENTE = day});
    db.insertLine({.NUM_VENTE = 13, .DATE_VENTE = day, .CLE_ART = 7, .ARTICLE = u"Crêpe"_s, .QTE = 1.5,
                   .TAILLE = DbValue()});
    db.insertLine({.NUM_VENTE = 13, .DATE_VENTE = day, .CLE_ART = 7, .ARTICLE = u"Crêpe"_s, .QTE = 1.5,
                   .TAILLE = DbValue()});

    DataModule module;
    module.UniConnection1.open(db.settings());
    QVERIFY_THROWS_EXCEPTION(DbError, PendingTile::fromQuery(module.Liste_article));
    module.Liste_article.setParam(0, day);
    module.Liste_article.open();
    module.Liste_article.setCurrentRow(2);

    const PendingTile shawarma {u"12"_s, u"2"_s, u"شاورما"_s, u"501"_s, u"كبير"_s, false, qRgb(255, 0, 0)};
    const PendingTile crepe {u"13"_s, u"1,5"_s, u"Crêpe"_s, u"7"_s, QString(), true, qRgb(255, 255, 0)};
    const QList<PendingTile> tiles = PendingTile::fromQuery(module.Liste_article, QLocale(u"fr_FR"_s));
    QCOMPARE(tiles.size(), 3);
    // the server returns the rows of this small table in insertion order
    QVERIFY(tiles.at(0) == shawarma);
    QVERIFY(tiles.at(1) == crepe);
    QVERIFY(tiles.at(2) == crepe);
    QVERIFY(tiles.at(1).sizeValue().isNull());
    QCOMPARE(shawarma.sizeValue(), DbValue(u"كبير"_s));
    QCOMPARE(module.Liste_article.currentRow(), 2);
}

QTEST_GUILESS_MAIN(TestPendingTile)
#include "tst_pendingtile.moc"
