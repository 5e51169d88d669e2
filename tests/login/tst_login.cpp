// The login against a real database: the paths of the login query, the user
// list, the count of attempts and the end of the program on the third.

#include "TestDatabase.h"
#include "app/StationLanguage.h"
#include "data/DbConnection.h"
#include "forms/ErrorBox.h"
#include "forms/TPassw.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString user(int key, const QString &name, const QString &password, const QString &bloque,
             const QString &poste)
{
    auto text = [](const QString &value) { return value == u"<null>" ? u"NULL"_s : u"'"_s + value + u"'"_s; };
    return u"INSERT INTO UTILISA (CLE_USER, NAME, PASS, BLOQUE, POSTE) VALUES (%1, %2, %3, %4, %5);\n"_s
        .arg(key)
        .arg(text(name), text(password), text(bloque), text(poste));
}

/// Users beside the demo ones (admin/admin, Cuisine/1234, طباخ/1111, blocked Ancien/0000).
QString moreUsers()
{
    return user(5, u"Sans"_s, u"5555"_s, u"<null>"_s, u"Cuisine 1"_s)
        + user(6, u"Blanc"_s, u" 12"_s, u"False"_s, u"Four"_s)
        + user(7, u"Fin"_s, u"12 "_s, u"False"_s, u"Four"_s)
        + user(8, u"Vrai"_s, u"7777"_s, u"false"_s, u"Four"_s)
        + user(10, u"SansMot"_s, u"<null>"_s, u"False"_s, u"Four"_s)
        + user(11, u"Nomade"_s, u"1010"_s, u"False"_s, u"<null>"_s);
}

struct Attempt
{
    QString name;
    QString password;
};

} // namespace

using Attempts = QList<Attempt>;
Q_DECLARE_METATYPE(Attempt)

class tst_Login : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup() { m_language.reset(); }

    void login_data();
    void login();
    void userListOffersOnlyWhoMayLogIn();
    void userListIsReadAfreshWhenShown();
    void databaseErrorDuringLoginKeepsTheDialog();
    void thirdFailureMessageInArabic();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<StationLanguage> m_language;
    QStringList m_messages; // "icon|caption|text"
    QStringList m_errors;
    int m_quits = 0;
};

void tst_Login::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_db = std::make_unique<TestDatabase>(TestDatabase::schema() + TestDatabase::users() + moreUsers());
    ErrorBox::setPresenter([this](const QString &message) { m_errors.append(message); });
    TPassw::setMessagePresenter([this](QMessageBox::Icon icon, const QString &caption, const QString &text) {
        m_messages.append(u"%1|%2|%3"_s.arg(icon == QMessageBox::Critical     ? u"error"_s
                                                : icon == QMessageBox::NoIcon ? u"plain"_s
                                                                              : u"other"_s,
                                            caption, text));
    });
    TPassw::setQuitFunction([this] { ++m_quits; });
}

void tst_Login::init()
{
    m_messages.clear();
    m_errors.clear();
    m_quits = 0;
}

void tst_Login::login_data()
{
    QTest::addColumn<Attempts>("attempts");
    QTest::addColumn<QString>("loggedIn"); // "CLE_USER|NAME|POSTE", empty when nobody
    QTest::addColumn<int>("errorBoxes");
    QTest::addColumn<bool>("ended");

    QTest::newRow("right name and password")
        << Attempts { { u"Cuisine"_s, u"1234"_s } } << u"2|Cuisine|Cuisine 1"_s << 0 << false;
    QTest::newRow("Arabic name") << Attempts { { u"طباخ"_s, u"1111"_s } } << u"3|طباخ|مطبخ 2"_s << 0 << false;
    QTest::newRow("wrong password") << Attempts { { u"Cuisine"_s, u"4321"_s } } << QString() << 1 << false;
    QTest::newRow("name not in the table")
        << Attempts { { u"Personne"_s, u"1234"_s } } << QString() << 1 << false;
    QTest::newRow("blocked user") << Attempts { { u"Ancien"_s, u"0000"_s } } << QString() << 1 << false;
    QTest::newRow("NULL BLOQUE") << Attempts { { u"Sans"_s, u"5555"_s } } << QString() << 1 << false;
    QTest::newRow("BLOQUE false in lowercase")
        << Attempts { { u"Vrai"_s, u"7777"_s } } << QString() << 1 << false;
    QTest::newRow("empty name") << Attempts { { QString(), QString() } } << QString() << 1 << false;
    QTest::newRow("NULL PASS: not even an empty password logs in")
        << Attempts { { u"SansMot"_s, QString() } } << QString() << 1 << false;
    QTest::newRow("NULL POSTE logs in with no workstation")
        << Attempts { { u"Nomade"_s, u"1010"_s } } << u"11|Nomade|"_s << 0 << false;
    QTest::newRow("admin is not listed but logs in by name")
        << Attempts { { u"admin"_s, u"admin"_s } } << u"1|admin|Caisse"_s << 0 << false;
    QTest::newRow("name is trimmed") << Attempts { { u"  Cuisine \t"_s, u"1234"_s } }
                                     << u"2|Cuisine|Cuisine 1"_s << 0 << false;
    QTest::newRow("password is not trimmed")
        << Attempts { { u"Cuisine"_s, u" 1234"_s } } << QString() << 1 << false;
    QTest::newRow("password case counts")
        << Attempts { { u"admin"_s, u"ADMIN"_s } } << QString() << 1 << false;
    QTest::newRow("leading blank must be typed")
        << Attempts { { u"Blanc"_s, u"12"_s } } << QString() << 1 << false;
    QTest::newRow("leading blank typed")
        << Attempts { { u"Blanc"_s, u" 12"_s } } << u"6|Blanc|Four"_s << 0 << false;
    // The server compares text with trailing blanks ignored: a stored "12 "
    // matches "12" and a stored "12" would match "12 ".
    QTest::newRow("trailing blank is not told apart by the server")
        << Attempts { { u"Fin"_s, u"12"_s } } << u"7|Fin|Four"_s << 0 << false;
    QTest::newRow("trailing blank typed")
        << Attempts { { u"Cuisine"_s, u"1234 "_s } } << u"2|Cuisine|Cuisine 1"_s << 0 << false;
    QTest::newRow("success on the third try after two failures")
        << Attempts { { u"Cuisine"_s, u"1"_s }, { u"Ancien"_s, u"0000"_s }, { u"Cuisine"_s, u"1234"_s } }
        << u"2|Cuisine|Cuisine 1"_s << 2 << false;
    QTest::newRow("third failure ends the program")
        << Attempts { { u"Cuisine"_s, u"1"_s }, { u"Cuisine"_s, u"2"_s }, { u"admin"_s, u"x"_s } }
        << QString() << 2 << true;
}

void tst_Login::login()
{
    QFETCH(Attempts, attempts);
    QFETCH(QString, loggedIn);
    QFETCH(int, errorBoxes);
    QFETCH(bool, ended);

    DbConnection connection;
    connection.open(m_db->settings());
    QStringList logins;
    int timerStops = 0;
    TPassw::Host host;
    host.stopStartupTimer = [&] { ++timerStops; };
    host.loggedIn = [&](const DbQuery &row) {
        logins.append(row.asText(u"CLE_USER"_s) + u'|' + row.asText(u"NAME"_s) + u'|'
                      + row.asText(u"POSTE"_s));
    };
    QPointer<TPassw> dialog = new TPassw(connection, nullptr, host);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QCOMPARE(timerStops, 1);

    for (const Attempt &attempt : attempts) {
        QVERIFY2(dialog, "the dialog closed before the last attempt");
        // as a preset or a pick from the list would put it
        dialog->cxTextEdit1->setEditText(attempt.name);
        dialog->cxTextEdit2->setText(attempt.password);
        dialog->cButton1->click();
    }

    QCOMPARE(logins, loggedIn.isEmpty() ? QStringList() : QStringList { loggedIn });
    QStringList expectedMessages;
    for (int i = 0; i < errorBoxes; ++i)
        expectedMessages.append(u"error|Erreur|utilisateur eronnée"_s);
    if (ended)
        expectedMessages.append(u"plain|%1|Vous n'avez le droit qu'au 3 essais..."_s.arg(
            QGuiApplication::applicationDisplayName()));
    QCOMPARE(m_messages, expectedMessages);
    QCOMPARE(m_quits, ended ? 1 : 0);
    QCOMPARE(m_errors, QStringList());

    if (!loggedIn.isEmpty()) {
        QTRY_VERIFY(!dialog); // closed and freed
    } else if (!ended) {
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->failedAttempts(), errorBoxes);
        QCOMPARE(dialog->cxTextEdit2->text(), attempts.last().password); // left in the box
        QTRY_VERIFY(dialog->cxTextEdit1->hasFocus());
    }
    delete dialog;
}

void tst_Login::userListOffersOnlyWhoMayLogIn()
{
    DbConnection connection;
    connection.open(m_db->settings());
    TPassw dialog(connection, nullptr, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QStringList names;
    for (int i = 0; i < dialog.cxTextEdit1->count(); ++i)
        names.append(dialog.cxTextEdit1->itemText(i));
    names.sort();
    QCOMPARE(names, (QStringList { u"Blanc"_s, u"Cuisine"_s, u"Fin"_s, u"Nomade"_s, u"SansMot"_s, u"طباخ"_s }));
    QCOMPARE(dialog.cxTextEdit1->currentText(), QString());
}

void tst_Login::userListIsReadAfreshWhenShown()
{
    TestDatabase db(TestDatabase::schema() + TestDatabase::users());
    DbConnection connection;
    connection.open(db.settings());
    TPassw dialog(connection, nullptr, {});
    db.run(user(9, u"Nouveau"_s, u"9"_s, u"False"_s, u"Four"_s));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *edit = dialog.cxTextEdit1->lineEdit();
    edit->setFocus();
    QTest::keyClicks(edit, u"nou"_s);
    QCOMPARE(edit->text(), u"Nouveau"_s);
}

void tst_Login::databaseErrorDuringLoginKeepsTheDialog()
{
    DbConnection connection;
    connection.open(m_db->settings());
    QPointer<TPassw> dialog = new TPassw(connection, nullptr, {});
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    connection.close();
    dialog->cxTextEdit1->setEditText(u"Cuisine"_s);
    dialog->cxTextEdit2->setText(u"1234"_s);
    dialog->cButton1->click();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->failedAttempts(), 0);
    QCOMPARE(m_messages, QStringList());
    delete dialog;
}

void tst_Login::thirdFailureMessageInArabic()
{
    m_language = std::make_unique<StationLanguage>();
    DbConnection connection;
    connection.open(m_db->settings());
    QPointer<TPassw> dialog = new TPassw(connection, &m_language->LAnge, {});
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    for (int i = 0; i < 3; ++i) {
        dialog->cxTextEdit1->setEditText(u"Cuisine"_s);
        dialog->cxTextEdit2->setText(u"0"_s);
        dialog->cButton1->click();
    }
    QCOMPARE(m_messages.size(), 3);
    QCOMPARE(m_messages.at(0), u"error|Erreur|utilisateur eronnée"_s); // the error box is not translated
    QVERIFY2(m_messages.at(2).endsWith(u"|لا يحق لك إلا ثلاث محاولات..."_s), qPrintable(m_messages.at(2)));
    QCOMPARE(m_quits, 1);
    delete dialog;
}

QTEST_MAIN(tst_Login)
#include "tst_login.moc"
