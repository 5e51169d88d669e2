// Reading the connection file: byte-order marks, code page, line breaks, and
// the errors of a file that is missing or too short.

#include "app/ConnectionFile.h"
#include "app/StationError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QByteArray utf16(const QString &text, QSysInfo::Endian endian)
{
    QByteArray bytes;
    for (QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xff);
        bytes
            += endian == QSysInfo::LittleEndian ? QByteArray { 1, low } + high : QByteArray { 1, high } + low;
    }
    return bytes;
}
} // namespace

class ConnectionFileTest : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void shortFiles_data();
    void shortFiles();
    void missingFile();
    void unknownCodepage();
    void readsFromDisk();
};

void ConnectionFileTest::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("codepage");
    QTest::addColumn<QStringList>("lines");

    const QString cp1256 = QStringLiteral("windows-1256");
    QTest::newRow("CR LF") << QByteArray("/data/station.fdb\r\nServeur\r\n") << cp1256
                           << QStringList { u"/data/station.fdb"_s, u"Serveur"_s };
    QTest::newRow("LF, no break at the end")
        << QByteArray("a\nb") << cp1256 << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << cp1256 << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("mixed breaks") << QByteArray("a\r\nb\nc\rd") << cp1256
                                  << QStringList { u"a"_s, u"b"_s, u"c"_s, u"d"_s };
    QTest::newRow("CR then CR LF is two breaks")
        << QByteArray("a\r\r\nb") << cp1256 << QStringList { u"a"_s, u""_s, u"b"_s };
    QTest::newRow("LF CR is two breaks")
        << QByteArray("a\n\rb") << cp1256 << QStringList { u"a"_s, u""_s, u"b"_s };
    QTest::newRow("empty line kept") << QByteArray("a\n\nb\n") << cp1256
                                     << QStringList { u"a"_s, u""_s, u"b"_s };
    QTest::newRow("blanks and tabs not trimmed") << QByteArray(" host:/db.fdb \t\r\n  Cuisine  ") << cp1256
                                                 << QStringList { u" host:/db.fdb \t"_s, u"  Cuisine  "_s };
    QTest::newRow("third line and later kept as read")
        << QByteArray("a\r\nb\r\nc\r\nd") << cp1256 << QStringList { u"a"_s, u"b"_s, u"c"_s, u"d"_s };
    QTest::newRow("empty file") << QByteArray() << cp1256 << QStringList {};
    QTest::newRow("a single break") << QByteArray("\r\n") << cp1256 << QStringList { u""_s };

    const QString arabic = QStringLiteral("مطبخ");
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF")
            + QStringLiteral("C:\\Base\\é.fdb\r\n%1").arg(arabic).toUtf8()
                                << cp1256 << QStringList { QStringLiteral("C:\\Base\\é.fdb"), arabic };
    QTest::newRow("UTF-16 little endian mark")
        << QByteArray("\xFF\xFE")
            + utf16(QStringLiteral("serveur:/b.fdb\r\n%1").arg(arabic), QSysInfo::LittleEndian)
        << cp1256 << QStringList { QStringLiteral("serveur:/b.fdb"), arabic };
    QTest::newRow("UTF-16 big endian mark")
        << QByteArray("\xFE\xFF") + utf16(QStringLiteral("a\rété"), QSysInfo::BigEndian) << cp1256
        << QStringList { QStringLiteral("a"), QStringLiteral("été") };
    QTest::newRow("code page without mark") << QByteArray("\xE3\xD8\xC8\xCE\r\n\xE9t\xE9") << cp1256
                                            << QStringList { arabic, QStringLiteral("été") };
    QTest::newRow("UTF-8 without mark is read in the code page")
        << QByteArray("\xC3\xA9") << cp1256 << QStringList { QStringLiteral("أ©") };
    QTest::newRow("another code page")
        << QByteArray("\xE9t\xE9") << QStringLiteral("windows-1252") << QStringList { QStringLiteral("été") };
}

void ConnectionFileTest::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, codepage);
    QFETCH(QStringList, lines);
    QCOMPARE(ConnectionFile::fromBytes(bytes, codepage).lines(), lines);
}

void ConnectionFileTest::shortFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("database"); // empty: the read fails
    QTest::addColumn<QString>("serverLabel"); // empty: the read fails
    QTest::addColumn<QString>("message"); // part of the error's text

    QTest::newRow("empty file") << QByteArray() << QString() << QString() << "est vide";
    QTest::newRow("UTF-8 mark only") << QByteArray("\xEF\xBB\xBF") << QString() << QString() << "est vide";
    QTest::newRow("one line") << QByteArray("/db.fdb") << "/db.fdb" << QString() << "ligne 2";
    QTest::newRow("one line and a break") << QByteArray("/db.fdb\r\n") << "/db.fdb" << QString() << "ligne 2";
    QTest::newRow("two lines") << QByteArray("/db.fdb\r\nCuisine") << "/db.fdb"
                               << "Cuisine" << QString();
    QTest::newRow("three lines") << QByteArray("/db.fdb\nCuisine\nautre") << "/db.fdb"
                                 << "Cuisine" << QString();
}

void ConnectionFileTest::shortFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, database);
    QFETCH(QString, serverLabel);
    QFETCH(QString, message);

    const ConnectionFile file = ConnectionFile::fromBytes(bytes, QStringLiteral("windows-1256"));
    QString error;
    try {
        QCOMPARE(file.database(), database);
        QCOMPARE(file.serverLabel(), serverLabel);
    } catch (const StationError &e) {
        error = e.message();
    }
    QVERIFY2(message.isEmpty() ? error.isEmpty() : error.contains(message), qPrintable(error));
    if (!error.isEmpty())
        QVERIFY2(error.contains(QStringLiteral("Ch.txt")), qPrintable(error));
}

void ConnectionFileTest::missingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ch.txt"));
    try {
        ConnectionFile::read(path, QStringLiteral("windows-1256"));
        QFAIL("a missing file was read");
    } catch (const StationError &e) {
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
    }
    // A folder where the file should be cannot be read either.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Ch.txt")));
    QVERIFY_THROWS_EXCEPTION(StationError, ConnectionFile::read(path, QStringLiteral("windows-1256")));
}

void ConnectionFileTest::unknownCodepage()
{
    QVERIFY_THROWS_EXCEPTION(StationError,
                             ConnectionFile::fromBytes("a", QStringLiteral("no-such-codepage")));
    // A marked file does not need the code page.
    QCOMPARE(ConnectionFile::fromBytes("\xEF\xBB\xBF"
                                       "a",
                                       QStringLiteral("no-such-codepage"))
                 .lines(),
             QStringList { QStringLiteral("a") });
}

void ConnectionFileTest::readsFromDisk()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Ch.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBFlocalhost:/srv/base.fdb \r\n\xD8\xA7 Cuisine\r\n");
    file.close();
    const ConnectionFile read = ConnectionFile::read(file.fileName(), QStringLiteral("windows-1256"));
    QCOMPARE(read.database(), QStringLiteral("localhost:/srv/base.fdb "));
    QCOMPARE(read.serverLabel(), QStringLiteral("ا Cuisine"));
}

QTEST_GUILESS_MAIN(ConnectionFileTest)
#include "tst_connectionfile.moc"
