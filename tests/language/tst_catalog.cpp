#include "app/StationError.h"
#include "app/TranslationCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Catalog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data();
    void entries();
    void damaged_data();
    void damaged();
    void missingFileNamesIt();
    void shippedCatalogTranslatesTheLoginDialog_data();
    void shippedCatalogTranslatesTheLoginDialog();
};

void tst_Catalog::entries_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("culture");
    QTest::addColumn<QString>("component"); // "" for the window, "\"..." for a literal
    QTest::addColumn<QString>("expected"); // "<none>" when absent

    const QByteArray two = "# comment\n; another\n\n[ar-DZ]\nW.Caption = عنوان\nW.b1.Caption=زر  \n"
                           "W.\"Bonjour = salut\" = مرحبا\n[fr-FR]\nW.b1.Caption = Bouton\n";
    QTest::newRow("window caption") << two << u"ar-DZ"_s << QString() << u"عنوان"_s;
    QTest::newRow("blanks around a value dropped") << two << u"ar-DZ"_s << u"b1"_s << u"زر"_s;
    QTest::newRow("literal with an equals sign") << two << u"ar-DZ"_s << u"\"Bonjour = salut"_s << u"مرحبا"_s;
    QTest::newRow("other section") << two << u"fr-FR"_s << u"b1"_s << u"Bouton"_s;
    QTest::newRow("text missing in a culture") << two << u"fr-FR"_s << QString() << u"<none>"_s;
    QTest::newRow("culture missing") << two << u"en-GB"_s << u"b1"_s << u"<none>"_s;
    QTest::newRow("quoted value keeps blanks and escapes")
        << QByteArray("[x]\nW.b1.Caption = \" a \\\"b\\\"\\n\" \n") << u"x"_s << u"b1"_s << u" a \"b\"\n"_s;
    QTest::newRow("byte-order mark and CR LF")
        << QByteArray("\xEF\xBB\xBF[x]\r\nW.b1.Caption = t\r\n") << u"x"_s << u"b1"_s << u"t"_s;
    QTest::newRow("empty value") << QByteArray("[x]\nW.b1.Caption =\n") << u"x"_s << u"b1"_s << QString();
}

void tst_Catalog::entries()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, culture);
    QFETCH(QString, component);
    QFETCH(QString, expected);
    const TranslationCatalog catalog = TranslationCatalog::parse(text, u"test.i18n"_s);
    const std::optional<QString> found = component.startsWith(u'"')
        ? catalog.literal(culture, u"W"_s, component.mid(1))
        : catalog.caption(culture, u"W"_s, component);
    QCOMPARE(found.value_or(u"<none>"_s), expected);
}

void tst_Catalog::damaged_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("where");

    QTest::newRow("entry before any section") << QByteArray("W.Caption = a\n[x]\n") << u"ligne 1"_s;
    QTest::newRow("line without equals sign") << QByteArray("[x]\n\nW.Caption a\n") << u"ligne 3"_s;
    QTest::newRow("key given twice") << QByteArray("[x]\nW.Caption = a\nW.Caption = b\n") << u"ligne 3"_s;
    QTest::newRow("section given twice") << QByteArray("[x]\n[y]\n[x]\n") << u"ligne 3"_s;
    QTest::newRow("unterminated quote") << QByteArray("[x]\nW.Caption = \"a\n") << u"ligne 2"_s;
    QTest::newRow("text after closing quote") << QByteArray("[x]\nW.Caption = \"a\" b\n") << u"ligne 2"_s;
    QTest::newRow("unknown escape") << QByteArray("[x]\nW.Caption = \"a\\q\"\n") << u"ligne 2"_s;
    QTest::newRow("bad section header") << QByteArray("[x\n") << u"ligne 1"_s;
    QTest::newRow("literal without window") << QByteArray("[x]\n\"a\" = b\n") << u"ligne 2"_s;
    QTest::newRow("not UTF-8") << QByteArray("[x]\nW.Caption = \xE9t\xE9\n") << u"UTF-8"_s;
}

void tst_Catalog::damaged()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, where);
    try {
        TranslationCatalog::parse(text, u"NC_VELK.i18n"_s);
        QFAIL("a damaged catalog was read");
    } catch (const StationError &error) {
        QVERIFY2(error.message().contains(u"NC_VELK.i18n"_s), qPrintable(error.message()));
        QVERIFY2(error.message().contains(where), qPrintable(error.message()));
    }
}

void tst_Catalog::missingFileNamesIt()
{
    const QString path = QDir::temp().filePath(u"no-such-folder-here/NC_VELK.i18n"_s);
    try {
        TranslationCatalog::load(path);
        QFAIL("a missing catalog was read");
    } catch (const StationError &error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
}

void tst_Catalog::shippedCatalogTranslatesTheLoginDialog_data()
{
    QTest::addColumn<QString>("component");
    QTest::addColumn<QString>("french");

    QTest::newRow("caption") << QString() << u"Passw"_s;
    QTest::newRow("Entrer") << u"cButton1"_s << u"Entrer"_s;
    QTest::newRow("Utilisateur") << u"Label1"_s << u"Utilisateur"_s;
    QTest::newRow("Mot de passe") << u"Label2"_s << u"Mot de passe"_s;
    QTest::newRow("Version") << u"Label4"_s << u"Version :"_s;
    QTest::newRow("Quitter") << u"cxButton1"_s << u"Quitter"_s;
    QTest::newRow("three attempts") << u"\"Vous n'avez le droit qu'au 3 essais..."_s
                                    << u"Vous n'avez le droit qu'au 3 essais..."_s;
}

void tst_Catalog::shippedCatalogTranslatesTheLoginDialog()
{
    QFETCH(QString, component);
    QFETCH(QString, french);
    // The catalog that the build puts beside the programs.
    const TranslationCatalog catalog
        = TranslationCatalog::load(QDir(QCoreApplication::applicationDirPath()).filePath(u"NC_VELK.i18n"_s));
    auto lookup = [&](const QString &culture) {
        return component.startsWith(u'"') ? catalog.literal(culture, u"TPassw"_s, component.mid(1))
                                          : catalog.caption(culture, u"TPassw"_s, component);
    };
    QCOMPARE(lookup(u"fr-FR"_s).value_or(QString()), french);
    const QString arabic = lookup(u"ar-DZ"_s).value_or(QString());
    QVERIFY2(!arabic.isEmpty(), "no Arabic text");
    const bool hasArabicLetters = std::any_of(arabic.cbegin(), arabic.cend(),
                                              [](QChar c) { return c.script() == QChar::Script_Arabic; });
    QVERIFY2(hasArabicLetters, qPrintable(arabic));
}

QTEST_GUILESS_MAIN(tst_Catalog)
#include "tst_catalog.moc"
