// The host's address and the fonts that start-up registers.

#include "app/Fonts.h"
#include "app/LocalIPAddress.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHostAddress>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class StartupPiecesTest : public QObject
{
    Q_OBJECT

private slots:
    void addresses_data();
    void addresses();
    void localAddress();
    void fontFiles();
    void substitutes_data();
    void substitutes();
};

void StartupPiecesTest::addresses_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("address");
    QTest::newRow("loopback name") << "localhost"
                                   << "127.0.0.1";
    QTest::newRow("dotted address") << "10.1.2.3"
                                    << "10.1.2.3";
    QTest::newRow("name that does not resolve") << "no-such-host.invalid"
                                                << "";
    QTest::newRow("empty name") << ""
                                << "";
}

void StartupPiecesTest::addresses()
{
    QFETCH(QString, host);
    QFETCH(QString, address);
    QCOMPARE(lastIPv4AddressOf(host), address);
}

void StartupPiecesTest::localAddress()
{
    // Whatever the resolver says of this host: an IPv4 address or nothing.
    const QString address = LocalIPAddress();
    if (!address.isEmpty())
        QCOMPARE(QHostAddress(address).protocol(), QAbstractSocket::IPv4Protocol);
}

void StartupPiecesTest::fontFiles()
{
    QCOMPARE(Fonts::fontFiles(),
             (QStringList { u"Font/calibrib.TTF"_s, u"Font/calibrii.TTF"_s, u"Font/calibril.TTF"_s,
                            u"Font/calibrili.TTF"_s, u"Font/calibriz.TTF"_s }));

    // Two files of the five, one of them damaged: the good one registers, the
    // others are passed over.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Font")));
    QVERIFY(QFile::copy(QStringLiteral("/usr/share/fonts/truetype/crosextra/Carlito-Bold.ttf"),
                        dir.filePath(QStringLiteral("Font/calibrib.TTF"))));
    QFile damaged(dir.filePath(QStringLiteral("Font/calibrii.TTF")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a font");
    damaged.close();

    QCOMPARE(Fonts::registerFontFiles(dir.path()), QStringList { QStringLiteral("Carlito") });
    QCOMPARE(Fonts::registerFontFiles(dir.filePath(QStringLiteral("nowhere"))), QStringList {});
}

void StartupPiecesTest::substitutes_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("shownAs");
    QTest::newRow("Calibri") << "Calibri"
                             << "Carlito";
    QTest::newRow("Tahoma") << "Tahoma"
                            << "DejaVu Sans";
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("Arabic Transparent") << "Arabic Transparent"
                                        << "Noto Sans Arabic";
}

void StartupPiecesTest::substitutes()
{
    QFETCH(QString, family);
    QFETCH(QString, shownAs);
    if (QFontDatabase::hasFamily(family))
        QSKIP("the family is installed here");
    Fonts::substituteMissingFamilies();
    QCOMPARE(QFontInfo(QFont(family)).family(), shownAs);
}

QTEST_MAIN(StartupPiecesTest)
#include "tst_startuppieces.moc"
