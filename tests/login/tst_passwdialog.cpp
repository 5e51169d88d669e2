// The login dialog as a window: layout, mirroring and translation, keys, the
// user box's search. The database paths are in tst_login.cpp.

#include "app/StationLanguage.h"
#include "app/Translator.h"
#include "data/DbConnection.h"
#include "forms/ErrorBox.h"
#include "forms/TPassw.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

class tst_PasswDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void mirroredUnderArabicOnly_data();
    void mirroredUnderArabicOnly();
    void followsALaterSwitch();
    void catalogMissingATextKeepsTheFrench();
    void attemptsMessageLookUp();
    void enterMovesThenLogsIn();
    void closingKeys_data();
    void closingKeys();
    void quitterCloses();
    void showPasswordToggles();
    void userBoxSearch_data();
    void userBoxSearch();

private:
    TPassw *showDialog(TLocalizer *localizer, const QStringList &names = {});

    DbConnection m_connection; // never opened: the user list cannot load here
    QStringList m_errors;
    std::unique_ptr<StationLanguage> m_language;
};

void tst_PasswDialog::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ErrorBox::setPresenter([this](const QString &message) { m_errors.append(message); });
}

void tst_PasswDialog::init()
{
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    m_language = std::make_unique<StationLanguage>();
    m_errors.clear();
}

void tst_PasswDialog::cleanup()
{
    QList<QPointer<TPassw>> dialogs;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<TPassw *>(w))
            dialogs.append(dialog);
    qDeleteAll(dialogs);
    m_language.reset();
}

TPassw *tst_PasswDialog::showDialog(TLocalizer *localizer, const QStringList &names)
{
    auto *dialog = new TPassw(m_connection, localizer, {});
    dialog->show();
    if (!QTest::qWaitForWindowActive(dialog))
        return nullptr;
    // the list from the database failed to load (no connection): fill it here
    dialog->cxTextEdit1->addItems(names);
    dialog->cxTextEdit1->setEditText(QString());
    return dialog;
}

void tst_PasswDialog::layout()
{
    TPassw dialog(m_connection, nullptr, {});
    QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(dialog.size(), QSize(504, 346)); // 500 x 342 inside a frame of 2
    QCOMPARE(dialog.Panel1->geometry(), QRect(2, 2, 500, 57));
    QCOMPARE(dialog.Panel2->geometry(), QRect(2, 59, 500, 285));
    QCOMPARE(dialog.Label1->geometry(), QRect(163, 40, 100, 18));
    QCOMPARE(dialog.Label2->geometry(), QRect(163, 102, 100, 18));
    QCOMPARE(dialog.cxTextEdit1->geometry().topLeft(), QPoint(159, 59));
    QCOMPARE(dialog.cxTextEdit1->width(), 223);
    QCOMPARE(dialog.cxTextEdit2->geometry().topLeft(), QPoint(159, 121));
    QCOMPARE(dialog.cxButton4->geometry(), QRect(388, 124, 38, 28));
    QCOMPARE(dialog.cButton1->geometry(), QRect(167, 158, 107, 45));
    QCOMPARE(dialog.cxButton1->geometry(), QRect(280, 164, 101, 45));
    QCOMPARE(dialog.Image1->geometry(), QRect(13, 40, 125, 126));
    QCOMPARE(dialog.cxProgressBar1->geometry(), QRect(0, 277, 500, 8));
    QCOMPARE(dialog.cxProgressBar1->maximum(), 0); // animated, no progress

    QCOMPARE(dialog.cxTextEdit2->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog.cxTextEdit2->placeholderText(), u"Saisse le mot de passe"_s);
    QVERIFY(!dialog.Label4->isVisibleTo(&dialog));
    for (QWidget *button :
         { static_cast<QWidget *>(dialog.cButton1), static_cast<QWidget *>(dialog.cxButton1),
           static_cast<QWidget *>(dialog.cxButton4) })
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0x54, 0x9E, 0x8A));
    QCOMPARE(dialog.Label1->palette().color(QPalette::WindowText), QColor(0x40, 0x00, 0x00));
    QCOMPARE(dialog.Label1->font().pixelSize(), 15);
    QVERIFY(dialog.cxTextEdit1->font().bold());
    QCOMPARE(dialog.cxTextEdit1->font().pixelSize(), 19);
    QVERIFY(dialog.cxTextEdit2->alignment().testFlag(Qt::AlignRight));
}

void tst_PasswDialog::mirroredUnderArabicOnly_data()
{
    QTest::addColumn<QString>("setUp"); // how the language came about
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<QString>("entrer");
    QTest::addColumn<QString>("quitter");
    QTest::addColumn<QString>("utilisateur");

    QTest::newRow("Arabic at start-up (restored A)")
        << u"A"_s << true << u"دخول"_s << u"خروج"_s << u"المستخدم"_s;
    QTest::newRow("French restored") << u"F"_s << false << u"Entrer"_s << u"Quitter"_s << u"Utilisateur"_s;
    QTest::newRow("French by a click")
        << u"click Fr"_s << false << u"Entrer"_s << u"Quitter"_s << u"Utilisateur"_s;
    QTest::newRow("Arabic by a click")
        << u"click Fr, Ar"_s << true << u"دخول"_s << u"خروج"_s << u"المستخدم"_s;
}

void tst_PasswDialog::mirroredUnderArabicOnly()
{
    QFETCH(QString, setUp);
    QFETCH(bool, mirrored);
    QFETCH(QString, entrer);
    QFETCH(QString, quitter);
    QFETCH(QString, utilisateur);

    QTemporaryDir dir;
    const LanguageFile file(dir.path(), u"windows-1256"_s);
    if (setUp == u"A" || setUp == u"F") {
        file.write(setUp);
        m_language->restore(file);
    } else {
        m_language->cxButton87Click(u"Fr"_s, file);
        if (setUp.endsWith(u"Ar"))
            m_language->cxButton87Click(u"Ar"_s, file);
    }

    TPassw dialog(m_connection, &m_language->LAnge, {});
    QCOMPARE(dialog.Translator1->isMirrored(), mirrored);
    QCOMPARE(dialog.layoutDirection(), mirrored ? Qt::RightToLeft : Qt::LeftToRight);
    // left := 500 - left - width, inside the body
    QCOMPARE(dialog.Label1->geometry(), mirrored ? QRect(237, 40, 100, 18) : QRect(163, 40, 100, 18));
    QCOMPARE(dialog.cxTextEdit1->x(), mirrored ? 118 : 159);
    QCOMPARE(dialog.cxButton4->geometry(), mirrored ? QRect(74, 124, 38, 28) : QRect(388, 124, 38, 28));
    QCOMPARE(dialog.Image1->x(), mirrored ? 362 : 13);
    QCOMPARE(dialog.Panel2->geometry(), QRect(2, 59, 500, 285));
    QCOMPARE(dialog.cxProgressBar1->geometry(), QRect(0, 277, 500, 8));

    QCOMPARE(dialog.cButton1->text(), entrer);
    QCOMPARE(dialog.cxButton1->text(), quitter);
    QCOMPARE(dialog.Label1->text(), utilisateur);
    QCOMPARE(dialog.windowTitle(), mirrored ? u"تسجيل الدخول"_s : u"Passw"_s);
}

void tst_PasswDialog::followsALaterSwitch()
{
    QTemporaryDir dir;
    const LanguageFile file(dir.path(), u"windows-1256"_s);
    TPassw dialog(m_connection, &m_language->LAnge, {});
    QVERIFY(dialog.Translator1->isMirrored());
    m_language->cxButton87Click(u"Fr"_s, file);
    QVERIFY(!dialog.Translator1->isMirrored());
    QCOMPARE(dialog.Label1->geometry(), QRect(163, 40, 100, 18));
    QCOMPARE(dialog.Label2->text(), u"Mot de passe"_s);
    m_language->cxButton87Click(u"Ar"_s, file);
    QCOMPARE(dialog.Label1->geometry(), QRect(237, 40, 100, 18));
    QCOMPARE(dialog.Label2->text(), u"كلمة المرور"_s);
}

void tst_PasswDialog::catalogMissingATextKeepsTheFrench()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"partial.i18n"_s);
    QFile catalog(path);
    QVERIFY(catalog.open(QIODevice::WriteOnly));
    catalog.write("[ar-DZ]\nTPassw.cButton1.Caption = دخول\n[fr-FR]\n");
    catalog.close();

    StationLanguage language(path);
    TPassw dialog(m_connection, &language.LAnge, {});
    QCOMPARE(dialog.cButton1->text(), u"دخول"_s);
    QCOMPARE(dialog.Label1->text(), u"Utilisateur"_s);
    QCOMPARE(dialog.cxButton1->text(), u"Quitter"_s);
    QCOMPARE(dialog.Translator1->GetText(TPassw::threeAttemptsMessage()), TPassw::threeAttemptsMessage());
    QVERIFY(dialog.Translator1->isMirrored()); // the layout follows the culture all the same

    // a culture the catalog has no section for
    const LanguageFile file(dir.path(), u"windows-1256"_s);
    language.cxButton87Click(u"Fr"_s, file);
    QCOMPARE(dialog.cButton1->text(), u"Entrer"_s);
}

void tst_PasswDialog::attemptsMessageLookUp()
{
    TPassw arabic(m_connection, &m_language->LAnge, {});
    QCOMPARE(arabic.Translator1->GetText(TPassw::threeAttemptsMessage()), u"لا يحق لك إلا ثلاث محاولات..."_s);
    // only listed literals are looked up
    QCOMPARE(arabic.Translator1->GetText(u"Entrer"_s), u"Entrer"_s);
    QCOMPARE(arabic.Translator1->GetText(TPassw::wrongUserMessage()), TPassw::wrongUserMessage());

    TPassw unbound(m_connection, nullptr, {});
    QCOMPARE(unbound.Translator1->GetText(TPassw::threeAttemptsMessage()), TPassw::threeAttemptsMessage());
    QVERIFY(!unbound.Translator1->isMirrored());
}

void tst_PasswDialog::enterMovesThenLogsIn()
{
    TPassw *dialog = showDialog(nullptr, { u"alice"_s });
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->cxTextEdit1->hasFocus());
    QSignalSpy entrer(dialog->cButton1, &QPushButton::clicked);
    QTest::keyClick(dialog->cxTextEdit1->lineEdit(), Qt::Key_Return);
    QVERIFY(dialog->cxTextEdit2->hasFocus());
    QCOMPARE(entrer.count(), 0);
    QTest::keyClicks(dialog->cxTextEdit2, u"12"_s);
    QTest::keyClick(dialog->cxTextEdit2, Qt::Key_Enter);
    QCOMPARE(entrer.count(), 1);
    // the login failed on the closed connection: shown, and the dialog stays
    QCOMPARE(m_errors.size(), 2); // the user list, then the login
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->failedAttempts(), 0);
}

void tst_PasswDialog::closingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Ctrl+F4") << int(Qt::Key_F4) << int(Qt::ControlModifier) << true;
    QTest::newRow("Alt+F4 has no handler of its own") << int(Qt::Key_F4) << int(Qt::AltModifier) << false;
    QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier) << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
}

void tst_PasswDialog::closingKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, closes);
    QPointer<TPassw> dialog = showDialog(nullptr);
    QVERIFY(dialog);
    for (QWidget *target : { static_cast<QWidget *>(dialog->cxTextEdit1->lineEdit()),
                             static_cast<QWidget *>(dialog->cxTextEdit2) }) {
        if (!dialog)
            break;
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (closes) {
            QTRY_VERIFY(!dialog); // closed and freed
        } else {
            QCoreApplication::processEvents();
            QVERIFY(dialog && dialog->isVisible());
        }
    }
}

void tst_PasswDialog::quitterCloses()
{
    QPointer<TPassw> dialog = showDialog(nullptr);
    QVERIFY(dialog);
    QTest::mouseClick(dialog->cxButton1, Qt::LeftButton);
    QTRY_VERIFY(!dialog);
}

void tst_PasswDialog::showPasswordToggles()
{
    TPassw *dialog = showDialog(nullptr);
    QVERIFY(dialog);
    dialog->cxTextEdit2->setFocus();
    QTest::keyClicks(dialog->cxTextEdit2, u" 1a"_s);
    QTest::mouseClick(dialog->cxButton4, Qt::LeftButton);
    QCOMPARE(dialog->cxTextEdit2->echoMode(), QLineEdit::Normal);
    QVERIFY(dialog->cxTextEdit2->hasFocus()); // the button never takes it
    QTest::mouseClick(dialog->cxButton4, Qt::LeftButton);
    QCOMPARE(dialog->cxTextEdit2->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog->cxTextEdit2->text(), u" 1a"_s);
}

void tst_PasswDialog::userBoxSearch_data()
{
    QTest::addColumn<QString>("keys"); // '<' stands for Backspace
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");

    QTest::newRow("one letter: first name in list order") << u"a"_s << u"Amine"_s << u"mine"_s;
    QTest::newRow("two letters") << u"al"_s << u"alice"_s << u"ice"_s;
    QTest::newRow("case of the list is kept") << u"AL"_s << u"alice"_s << u"ice"_s;
    QTest::newRow("letter no name continues is refused") << u"ax"_s << u"Amine"_s << u"mine"_s;
    QTest::newRow("whole name") << u"bachir"_s << u"Bachir"_s << QString();
    QTest::newRow("nothing past a whole name") << u"bachirz"_s << u"Bachir"_s << QString();
    QTest::newRow("backspace takes back a letter") << u"al<"_s << u"Amine"_s << u"mine"_s;
    QTest::newRow("backspace to nothing") << u"a<"_s << QString() << QString();
    QTest::newRow("unknown first letter") << u"z"_s << QString() << QString();
    QTest::newRow("Arabic name") << u"بل"_s << u"بلال"_s << u"ال"_s;
    QTest::newRow("blank inside a name") << u"ali b"_s << u"ali ben"_s << u"en"_s;
}

void tst_PasswDialog::userBoxSearch()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QString, selected);
    TPassw *dialog = showDialog(nullptr, { u"Amine"_s, u"alice"_s, u"Bachir"_s, u"بلال"_s, u"ali ben"_s });
    QVERIFY(dialog);
    QLineEdit *edit = dialog->cxTextEdit1->lineEdit();
    edit->setFocus();
    for (QChar c : keys) {
        if (c == u'<')
            QTest::keyClick(edit, Qt::Key_Backspace);
        else // any letter, Arabic ones too, as a keyboard sends it
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->selectedText(), selected);
    QCOMPARE(dialog->cxTextEdit1->currentText(), text);
}

QTEST_MAIN(tst_PasswDialog)
#include "tst_passwdialog.moc"
