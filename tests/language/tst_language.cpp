#include "app/LanguageFile.h"
#include "app/StationError.h"
#include "app/StationLanguage.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QColor yellow(255, 255, 0);
const QColor lightGreen(128, 255, 0);
const QColor red(255, 0, 0);
const QString codepage = u"windows-1256"_s;

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

} // namespace

class tst_Language : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();

    void creationLeavesArabicFormatsAndLeftToRight();
    void unreadableCatalogStopsStartUp();
    void restore_data();
    void restore();
    void restoreOfUnreadableFileReportsIt();
    void clickSequenceWritesExactBytes();
    void clickOnAnotherCaptionDoesNothing();
    void nextStartRestoresLastChoice_data();
    void nextStartRestoresLastChoice();
    void oneFileWhateverTheCase();
    void failedWriteChangesNothing();
    void readOnlyFolderWithoutFileChangesNothing();
    void fileIsWrittenInTheCodePage();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Language::init()
{
    // Every case starts as a fresh process would.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_Language::creationLeavesArabicFormatsAndLeftToRight()
{
    StationLanguage language;
    QCOMPARE(language.LAnge.Culture(), u"ar-DZ"_s);
    QCOMPARE(language.AR.Culture(), u"ar-DZ"_s);
    QCOMPARE(language.Fr.Culture(), u"fr-FR"_s);
    QVERIFY(language.LAnge.isRightToLeft());
    // Only LAnge adjusts the formats; Fr, applied last, set the reading order.
    QCOMPARE(QLocale().name(), u"ar_DZ"_s);
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    QCOMPARE(StationLanguage::initialButton(), (LanguageButtonState { u"Fr"_s, yellow }));
}

void tst_Language::unreadableCatalogStopsStartUp()
{
    const QString missing = m_dir->filePath(u"NC_VELK.i18n"_s);
    const QString damaged = m_dir->filePath(u"damaged.i18n"_s);
    writeBytes(damaged, "[ar-DZ]\nTPassw.Caption\n");
    for (const QString &uri : { missing, damaged }) {
        try {
            StationLanguage language(uri);
            QFAIL("the station started without its catalog");
        } catch (const StationError &error) {
            QVERIFY2(error.message().contains(uri), qPrintable(error.message()));
        }
    }
}

void tst_Language::restore_data()
{
    QTest::addColumn<QString>("fileName"); // empty: no file
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("buttonChanged");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("culture");
    QTest::addColumn<QString>("formats");

    const QString name = u"langue.txt"_s;
    QTest::newRow("no file") << QString() << QByteArray() << false << u"Fr"_s << yellow << u"ar-DZ"_s
                             << u"ar_DZ"_s;
    QTest::newRow("A") << name << QByteArray("A\r\n") << true << u"Fr"_s << lightGreen << u"ar-DZ"_s
                       << u"ar_DZ"_s;
    QTest::newRow("F") << name << QByteArray("F\r\n") << true << u"Ar"_s << lightGreen << u"fr-FR"_s
                       << u"fr_FR"_s;
    QTest::newRow("F without line end")
        << name << QByteArray("F") << true << u"Ar"_s << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("lowercase a") << name << QByteArray("a\r\n") << false << u"Fr"_s << yellow << u"ar-DZ"_s
                                 << u"ar_DZ"_s;
    QTest::newRow("lowercase f") << name << QByteArray("f\r\n") << false << u"Fr"_s << yellow << u"ar-DZ"_s
                                 << u"ar_DZ"_s;
    QTest::newRow("blank before A") << name << QByteArray(" A\r\n") << false << u"Fr"_s << yellow
                                    << u"ar-DZ"_s << u"ar_DZ"_s;
    QTest::newRow("blank after F") << name << QByteArray("F \r\n") << false << u"Fr"_s << yellow << u"ar-DZ"_s
                                   << u"ar_DZ"_s;
    QTest::newRow("AF") << name << QByteArray("AF\r\n") << false << u"Fr"_s << yellow << u"ar-DZ"_s
                        << u"ar_DZ"_s;
    QTest::newRow("F then A: first line counts")
        << name << QByteArray("F\r\nA\r\n") << true << u"Ar"_s << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("F then A with LF")
        << name << QByteArray("F\nA\n") << true << u"Ar"_s << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("F then A with CR")
        << name << QByteArray("F\rA") << true << u"Ar"_s << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("empty file") << name << QByteArray() << false << u"Fr"_s << yellow << u"ar-DZ"_s
                                << u"ar_DZ"_s;
    QTest::newRow("empty first line")
        << name << QByteArray("\r\nF\r\n") << false << u"Fr"_s << yellow << u"ar-DZ"_s << u"ar_DZ"_s;
    QTest::newRow("UTF-8 with byte-order mark") << name
                                                << QByteArray("\xEF\xBB\xBF"
                                                              "F\r\n")
                                                << true << u"Ar"_s << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("UTF-16 with byte-order mark") << name
                                                 << QByteArray("\xFF\xFE"
                                                               "F\0\r\0\n\0",
                                                               8)
                                                 << true << u"Ar"_s << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("name in capitals") << u"LANGUE.TXT"_s << QByteArray("F\r\n") << true << u"Ar"_s
                                      << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("name as the button writes it") << u"langue.TXT"_s << QByteArray("F\r\n") << true << u"Ar"_s
                                                  << lightGreen << u"fr-FR"_s << u"fr_FR"_s;
    QTest::newRow("other file names do not count") << u"langue.txt.bak"_s << QByteArray("F\r\n") << false
                                                   << u"Fr"_s << yellow << u"ar-DZ"_s << u"ar_DZ"_s;
}

void tst_Language::restore()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(bool, buttonChanged);
    QFETCH(QString, caption);
    QFETCH(QColor, colour);
    QFETCH(QString, culture);
    QFETCH(QString, formats);

    if (!fileName.isEmpty())
        writeBytes(m_dir->filePath(fileName), content);
    StationLanguage language;
    const auto state = language.restore(LanguageFile(m_dir->path(), codepage));

    QCOMPARE(state.has_value(), buttonChanged);
    const LanguageButtonState shown = state.value_or(StationLanguage::initialButton());
    QCOMPARE(shown.caption, caption);
    QCOMPARE(shown.colour, colour);
    QCOMPARE(language.LAnge.Culture(), culture);
    QCOMPARE(QLocale().name(), formats);
    // A restore never turns the reading order to right to left: Arabic is
    // already current, and French reads left to right.
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    // and reading never writes
    if (!fileName.isEmpty())
        QCOMPARE(readBytes(m_dir->filePath(fileName)), content);
}

void tst_Language::restoreOfUnreadableFileReportsIt()
{
    if (::geteuid() == 0)
        QSKIP("root reads any file");
    const QString path = m_dir->filePath(u"langue.txt"_s);
    writeBytes(path, "F\r\n");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    StationLanguage language;
    QVERIFY_THROWS_EXCEPTION(StationError, language.restore(LanguageFile(m_dir->path(), codepage)));
    QCOMPARE(language.LAnge.Culture(), u"ar-DZ"_s);
}

void tst_Language::clickSequenceWritesExactBytes()
{
    StationLanguage language;
    const LanguageFile file(m_dir->path(), codepage);
    const QString path = m_dir->filePath(u"langue.txt"_s);

    auto state = language.cxButton87Click(u"Fr"_s, file);
    QCOMPARE(readBytes(path), QByteArray("F\r\n"));
    QCOMPARE(state, (LanguageButtonState { u"Ar"_s, lightGreen }));
    QCOMPARE(language.LAnge.Culture(), u"fr-FR"_s);
    QCOMPARE(QLocale().name(), u"fr_FR"_s);
    QCOMPARE(QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat), u"05/03/2024"_s);
    QCOMPARE(QLocale().toString(1234.5, 'f', 1), u"1\u202f234,5"_s);
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);

    state = language.cxButton87Click(state->caption, file);
    QCOMPARE(readBytes(path), QByteArray("A\r\n"));
    QCOMPARE(state, (LanguageButtonState { u"Fr"_s, red }));
    QCOMPARE(language.LAnge.Culture(), u"ar-DZ"_s);
    QCOMPARE(QLocale().name(), u"ar_DZ"_s);
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);

    state = language.cxButton87Click(state->caption, file);
    QCOMPARE(readBytes(path), QByteArray("F\r\n"));
    QCOMPARE(state, (LanguageButtonState { u"Ar"_s, lightGreen }));
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { u"langue.txt"_s });
}

void tst_Language::clickOnAnotherCaptionDoesNothing()
{
    StationLanguage language;
    const LanguageFile file(m_dir->path(), codepage);
    for (const QString &caption : { u"fr"_s, u"AR"_s, QString(), u"Fr "_s }) {
        QVERIFY(!language.cxButton87Click(caption, file));
        QVERIFY(!file.exists());
        QCOMPARE(language.LAnge.Culture(), u"ar-DZ"_s);
    }
}

void tst_Language::nextStartRestoresLastChoice_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("culture");
    QTest::addColumn<QString>("caption");
    QTest::newRow("one click: French") << 1 << u"fr-FR"_s << u"Ar"_s;
    QTest::newRow("two clicks: Arabic") << 2 << u"ar-DZ"_s << u"Fr"_s;
    QTest::newRow("three clicks: French") << 3 << u"fr-FR"_s << u"Ar"_s;
}

void tst_Language::nextStartRestoresLastChoice()
{
    QFETCH(int, clicks);
    QFETCH(QString, culture);
    QFETCH(QString, caption);
    const LanguageFile file(m_dir->path(), codepage);
    {
        StationLanguage language;
        LanguageButtonState state = StationLanguage::initialButton();
        for (int i = 0; i < clicks; ++i)
            state = *language.cxButton87Click(state.caption, file);
    }
    StationLanguage next;
    const auto state = next.restore(file);
    QVERIFY(state);
    QCOMPARE(next.LAnge.Culture(), culture);
    QCOMPARE(state->caption, caption);
    QCOMPARE(state->colour, lightGreen); // restored, not clicked
}

void tst_Language::oneFileWhateverTheCase()
{
    const QString existing = m_dir->filePath(u"langue.TXT"_s);
    writeBytes(existing, "A\r\n");
    StationLanguage language;
    const LanguageFile file(m_dir->path(), codepage);
    QCOMPARE(file.path(), existing);
    QVERIFY(language.restore(file));
    language.cxButton87Click(u"Fr"_s, file);
    QCOMPARE(readBytes(existing), QByteArray("F\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { u"langue.TXT"_s });

    // Where the exact name exists beside another spelling, the exact name wins
    // for reading and writing alike.
    const QString exact = m_dir->filePath(u"langue.txt"_s);
    writeBytes(exact, "A\r\n");
    QCOMPARE(file.path(), exact);
    language.cxButton87Click(u"Ar"_s, file);
    QCOMPARE(readBytes(exact), QByteArray("A\r\n"));
    QCOMPARE(readBytes(existing), QByteArray("F\r\n"));
}

void tst_Language::failedWriteChangesNothing()
{
    // A folder where the file should be: the write fails even for root.
    QVERIFY(QDir(m_dir->path()).mkdir(u"langue.txt"_s));
    StationLanguage language;
    const LanguageFile file(m_dir->path(), codepage);
    try {
        language.cxButton87Click(u"Fr"_s, file);
        QFAIL("a failed write was not reported");
    } catch (const StationError &error) {
        QVERIFY2(error.message().contains(m_dir->filePath(u"langue.txt"_s)), qPrintable(error.message()));
    }
    QCOMPARE(language.LAnge.Culture(), u"ar-DZ"_s);
    QCOMPARE(QLocale().name(), u"ar_DZ"_s);
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
}

void tst_Language::readOnlyFolderWithoutFileChangesNothing()
{
    if (::geteuid() == 0)
        QSKIP("root writes into a read-only folder");
    QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    StationLanguage language;
    const LanguageFile file(m_dir->path(), codepage);
    QVERIFY_THROWS_EXCEPTION(StationError, language.cxButton87Click(u"Fr"_s, file));
    QCOMPARE(language.LAnge.Culture(), u"ar-DZ"_s);
    QFile::setPermissions(m_dir->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void tst_Language::fileIsWrittenInTheCodePage()
{
    const LanguageFile utf16(m_dir->path(), u"UTF-16LE"_s);
    utf16.write(u"F"_s);
    QCOMPARE(readBytes(utf16.path()), QByteArray("F\0\r\0\n\0", 6)); // no byte-order mark

    const LanguageFile unknown(m_dir->path(), u"no-such-code-page"_s);
    StationLanguage language;
    QVERIFY_THROWS_EXCEPTION(StationError, language.cxButton87Click(u"Ar"_s, unknown));
    QCOMPARE(readBytes(utf16.path()), QByteArray("F\0\r\0\n\0", 6));
    QCOMPARE(language.LAnge.Culture(), u"ar-DZ"_s);
}

QTEST_MAIN(tst_Language)
#include "tst_language.moc"
