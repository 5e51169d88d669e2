// The login, the language and the print option as they act on the main
// window, against a real database.

#include "TestDatabase.h"
#include "TestWorkingDirectory.h"
#include "app/SplashScreen.h"
#include "app/StationLanguage.h"
#include "app/Translator.h"
#include "data/OptionStore.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/StationButton.h"
#include "forms/StatusBar.h"
#include "forms/TPassw.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QColor yellow(255, 255, 0);
const QColor lightGreen(128, 255, 0);
const QColor red(255, 0, 0);

QString printRow(int user, const QString &param)
{
    return u"INSERT INTO OPTION_LOCALS_UTILISATEUR (CLE_USER, OPTI, PARAM) VALUES (%1, '%2', '%3');\n"_s
        .arg(user)
        .arg(OptionStore::printOption(), param);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_MainLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void successWritesIntoTheMainWindow_data();
    void successWritesIntoTheMainWindow();
    void quittingLeavesNoUser();
    void startupShowsTheDialogModallyOverTheWindow();
    void creationShowsTheSplashAndRestoresTheLanguage_data();
    void creationShowsTheSplashAndRestoresTheLanguage();
    void languageButton();
    void languageButtonWriteFailure();
    void dialogFollowsTheWindowsLanguage();
    void windowClosingWithTheDialogOpen();

private:
    QStringList m_errors;
};

void tst_MainLogin::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ErrorBox::setPresenter([this](const QString &message) { m_errors.append(message); });
    TPassw::setMessagePresenter([](QMessageBox::Icon, const QString &, const QString &) {});
}

void tst_MainLogin::init()
{
    m_errors.clear();
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

void tst_MainLogin::successWritesIntoTheMainWindow_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("no stored option") << QString() << false;
    QTest::newRow("True") << printRow(2, u"True"_s) << true;
    QTest::newRow("False") << printRow(2, u"False"_s) << false;
    QTest::newRow("true in lowercase") << printRow(2, u"true"_s) << false;
    QTest::newRow("another user's True") << printRow(3, u"True"_s) << false;
}

void tst_MainLogin::successWritesIntoTheMainWindow()
{
    QFETCH(QString, options);
    QFETCH(bool, ticked);

    TestDatabase db(TestDatabase::schema() + TestDatabase::users() + options);
    const QDate today = QDate::currentDate();
    db.insertLine({ .NUM_VENTE = 12, .VALIDE = u"True"_s, .TIME_ORDER = TimeOfDay::fromHms(11, 0, 0) });
    db.insertLine({ .NUM_VENTE = 13, .DATE_VENTE = today.addDays(-1), .VALIDE = u"True"_s });
    db.insertLine({ .NUM_VENTE = 14 }); // pending
    TestWorkingDirectory work(db);
    TVente_au_comptoir_zedivad window;
    window.UniConnection1.open(db.settings());

    QPointer<TPassw> dialog = TPassw::create(window);
    QCOMPARE(dialog->parentWidget(), &window);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->cxTextEdit1->setEditText(u"Cuisine"_s);
    dialog->cxTextEdit2->setText(u"1234"_s);
    dialog->cButton1->click();
    QTRY_VERIFY(!dialog);

    QCOMPARE(m_errors, QStringList());
    QCOMPARE(window.Label1->text(), u"Cuisine 1"_s);
    QCOMPARE(window.Label12->text(), u"2"_s);
    QVERIFY(window.OPTION_LOCALS_UTILISATEUR.isOpen());
    QCOMPARE(window.cxCheckBox12->isChecked(), ticked);
    QVERIFY(window.Liste_Commande.isOpen());
    QCOMPARE(window.Liste_Commande.param(0).toDate(), today);
    QCOMPARE(window.Liste_Commande.rowCount(), 1); // today's validated line only
    QCOMPARE(window.dxStatusBar1->panelText(3), u"Cuisine 1"_s);
    QCOMPARE(window.dxStatusBar1->panelText(1), u"Cuisine"_s);
    QCOMPARE(window.cxDateEdit2->date(), today);
    QVERIFY(window.Timer2->isActive());
    window.Timer2->stop();

    // From now on the box stores its state for this user, in one row.
    window.cxCheckBox12->setChecked(!ticked);
    window.cxCheckBox12->setChecked(ticked);
    window.cxCheckBox12->setChecked(!ticked);
    QCOMPARE(m_errors, QStringList());
    auto other = db.connect();
    DbQuery stored(*other, u"select PARAM from OPTION_LOCALS_UTILISATEUR where CLE_USER = 2"_s);
    stored.open();
    QCOMPARE(stored.rowCount(), 1);
    QCOMPARE(stored.asText(u"PARAM"_s), ticked ? u"False"_s : u"True"_s);
}

void tst_MainLogin::quittingLeavesNoUser()
{
    TestDatabase db(TestDatabase::schema() + TestDatabase::users());
    TestWorkingDirectory work(db);
    TVente_au_comptoir_zedivad window;
    window.UniConnection1.open(db.settings());
    QPointer<TPassw> dialog = TPassw::create(window);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->cxButton1->click();
    QTRY_VERIFY(!dialog);

    QCOMPARE(window.Label12->text(), u"0"_s);
    QCOMPARE(window.Label1->text(), u"0"_s);
    QCOMPARE(window.dxStatusBar1->panelText(1), u"Admin"_s);
    QCOMPARE(window.dxStatusBar1->panelText(3), u"SERVEUR"_s);
    QVERIFY(!window.OPTION_LOCALS_UTILISATEUR.isOpen());
    QVERIFY(!window.Timer2->isActive());

    // Ticking the print option without a user: the closed-dataset error is
    // shown, nothing is stored, and the box keeps its new state.
    window.cxCheckBox12->setChecked(true);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(u"closed"_s, Qt::CaseInsensitive), qPrintable(m_errors.first()));
    QVERIFY(window.cxCheckBox12->isChecked());
    auto other = db.connect();
    DbQuery stored(*other, u"select * from OPTION_LOCALS_UTILISATEUR"_s);
    stored.open();
    QCOMPARE(stored.rowCount(), 0);
}

void tst_MainLogin::startupShowsTheDialogModallyOverTheWindow()
{
    TestDatabase db(TestDatabase::schema() + TestDatabase::users());
    TestWorkingDirectory work(db);
    TVente_au_comptoir_zedivad window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QString seen;
    QTimer::singleShot(0, &window, [&] { window.Timer1->start(); }); // as armed by the creation handler
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        auto *login = qobject_cast<TPassw *>(QApplication::activeModalWidget());
        if (!login)
            return;
        probe.stop();
        const QPoint offCentre = login->geometry().center() - window.geometry().center();
        seen = u"modal=%1 timer1=%2 centred=%3"_s.arg(login->isModal())
                   .arg(window.Timer1->isActive())
                   .arg(qAbs(offCentre.x()) <= 2 && qAbs(offCentre.y()) <= 2);
        login->cxTextEdit1->setEditText(u"طباخ"_s);
        login->cxTextEdit2->setText(u"1111"_s);
        login->cButton1->click();
    });
    probe.start(20);
    QTRY_VERIFY(window.Timer2->isActive());
    window.Timer2->stop();
    QCOMPARE(seen, u"modal=1 timer1=0 centred=1"_s);
    QCOMPARE(window.Label12->text(), u"3"_s);
    QCOMPARE(window.dxStatusBar1->panelText(1), u"طباخ"_s);
    QCOMPARE(window.dxStatusBar1->panelText(3), u"مطبخ 2"_s);
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_MainLogin::creationShowsTheSplashAndRestoresTheLanguage_data()
{
    QTest::addColumn<QByteArray>("languageFile"); // empty: none
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("formats");
    QTest::newRow("no language file") << QByteArray() << u"Fr"_s << yellow << u"ar_DZ"_s;
    QTest::newRow("A") << QByteArray("A\r\n") << u"Fr"_s << lightGreen << u"ar_DZ"_s;
    QTest::newRow("F") << QByteArray("F\r\n") << u"Ar"_s << lightGreen << u"fr_FR"_s;
    QTest::newRow("neither") << QByteArray("AF\r\n") << u"Fr"_s << yellow << u"ar_DZ"_s;
}

void tst_MainLogin::creationShowsTheSplashAndRestoresTheLanguage()
{
    QFETCH(QByteArray, languageFile);
    QFETCH(QString, caption);
    QFETCH(QColor, colour);
    QFETCH(QString, formats);

    TestDatabase db(TestDatabase::schema());
    TestWorkingDirectory work(db);
    work.removeFile(u"Ch.txt"_s); // the start-up timer stops at once
    if (!languageFile.isEmpty())
        work.writeFile(u"langue.txt"_s, languageFile);
    TVente_au_comptoir_zedivad window;
    QCOMPARE(window.cxButton87->text(), u"Fr"_s);
    QCOMPARE(window.cxButton87->textColor(), yellow);
    window.ForcatmCreate();

    QVERIFY(window.splash);
    QVERIFY(!window.splash->form()->isVisible()); // shown, then closed
    QCOMPARE(window.splash->Image().size(), QSize(670, 551));
    QCOMPARE(window.cxButton87->text(), caption);
    QCOMPARE(window.cxButton87->textColor(), colour);
    QCOMPARE(QLocale().name(), formats);
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    QCOMPARE(window.layoutDirection(), Qt::LeftToRight);
    QVERIFY(window.Timer1->isActive());
    window.Timer1->stop();
}

void tst_MainLogin::languageButton()
{
    TestDatabase db(TestDatabase::schema());
    TestWorkingDirectory work(db);
    work.writeFile(u"station.ini"_s, "[database]\ncodepage=windows-1256\n");
    TVente_au_comptoir_zedivad window;
    const QString file = work.filePath(u"langue.txt"_s);

    QTest::mouseClick(window.cxButton87, Qt::LeftButton);
    QCOMPARE(readBytes(file), QByteArray("F\r\n"));
    QCOMPARE(window.cxButton87->text(), u"Ar"_s);
    QCOMPARE(window.cxButton87->textColor(), lightGreen);
    QCOMPARE(window.LAnge.Culture(), u"fr-FR"_s);
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);

    QTest::mouseClick(window.cxButton87, Qt::LeftButton);
    QCOMPARE(readBytes(file), QByteArray("A\r\n"));
    QCOMPARE(window.cxButton87->text(), u"Fr"_s);
    QCOMPARE(window.cxButton87->textColor(), red);
    QCOMPARE(window.LAnge.Culture(), u"ar-DZ"_s);
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    // the main window keeps its own reading order
    QCOMPARE(window.layoutDirection(), Qt::LeftToRight);
    QCOMPARE(window.Translator1->GetText(u"Quitter"_s), u"Quitter"_s);
    QCOMPARE(m_errors, QStringList());
}

void tst_MainLogin::languageButtonWriteFailure()
{
    TestDatabase db(TestDatabase::schema());
    TestWorkingDirectory work(db);
    QVERIFY(QDir(work.path()).mkdir(u"langue.txt"_s)); // a folder in the file's way
    TVente_au_comptoir_zedivad window;
    QTest::mouseClick(window.cxButton87, Qt::LeftButton);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(u"langue.txt"_s), qPrintable(m_errors.first()));
    QCOMPARE(window.cxButton87->text(), u"Fr"_s);
    QCOMPARE(window.cxButton87->textColor(), yellow);
    QCOMPARE(window.LAnge.Culture(), u"ar-DZ"_s);
}

void tst_MainLogin::dialogFollowsTheWindowsLanguage()
{
    TestDatabase db(TestDatabase::schema() + TestDatabase::users());
    TestWorkingDirectory work(db);
    TVente_au_comptoir_zedivad window;
    window.UniConnection1.open(db.settings());
    {
        std::unique_ptr<TPassw> arabic(TPassw::create(window));
        QVERIFY(arabic->Translator1->isMirrored());
        QCOMPARE(arabic->cButton1->text(), u"دخول"_s);
    }
    window.cxButton87Click();
    std::unique_ptr<TPassw> french(TPassw::create(window));
    QVERIFY(!french->Translator1->isMirrored());
    QCOMPARE(french->cButton1->text(), u"Entrer"_s);
}

void tst_MainLogin::windowClosingWithTheDialogOpen()
{
    // The program ends on a third failure with the dialog still up: the
    // dialog's queries must go before the window's connection does.
    TestDatabase db(TestDatabase::schema() + TestDatabase::users());
    TestWorkingDirectory work(db);
    auto window = std::make_unique<TVente_au_comptoir_zedivad>();
    window->UniConnection1.open(db.settings());
    QPointer<TPassw> dialog = TPassw::create(*window);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->cxTextEdit1->setEditText(u"Cuisine"_s);
    dialog->cxTextEdit2->setText(u"1234"_s);
    dialog->cButton1->click(); // the login query ran: its statement is prepared
    QTRY_VERIFY(!dialog);
    dialog = TPassw::create(*window);
    dialog->show();
    dialog->cButton1->click(); // a failed attempt, the dialog stays
    QVERIFY(dialog);
    window.reset();
    QVERIFY(!dialog);
}

QTEST_MAIN(tst_MainLogin)
#include "tst_mainlogin.moc"
