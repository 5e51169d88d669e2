// The working-date editor: typing through the mask, the drop-down calendar
// and its buttons, and the three notifications the date reload listens to.

#include "forms/DateEdit.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class DateEditTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typing_data();
    void typing();
    void setFromCode_data();
    void setFromCode();
    void calendarButtons_data();
    void calendarButtons();
    void calendarPick();
    void escapeClosesWithoutChange();
    void leaving_data();
    void leaving();
    void erasingEverythingEmpties();

private:
    DateEdit *m_edit = nullptr;
};

void DateEditTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void DateEditTest::init()
{
    m_edit = new DateEdit;
    m_edit->resize(172, 30);
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));
    m_edit->activateWindow();
    m_edit->setFocus();
}

void DateEditTest::cleanup()
{
    delete m_edit;
    m_edit = nullptr;
}

void DateEditTest::typing_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("valueChanges");

    const QDate someDay(2024, 3, 15);
    QTest::newRow("a full date into an empty editor") << QDate() << "25122024" << QDate(2024, 12, 25) << 1;
    QTest::newRow("half a date changes nothing yet") << someDay << "0102" << someDay << 0;
    QTest::newRow("impossible day") << QDate() << "31022024" << QDate() << 0;
    QTest::newRow("first of a month") << someDay << "01032024" << QDate(2024, 3, 1) << 1;
    QTest::newRow("the same date again") << someDay << "15032024" << someDay << 0;
    QTest::newRow("letters are refused") << QDate() << "ab" << QDate() << 0;
}

void DateEditTest::typing()
{
    QFETCH(QDate, start);
    QFETCH(QString, keys);
    QFETCH(QDate, date);
    QFETCH(int, valueChanges);

    m_edit->setDate(start);
    QSignalSpy changed(m_edit, &DateEdit::changed);
    QSignalSpy valueChanged(m_edit, &DateEdit::editValueChanged);
    m_edit->setCursorPosition(0);
    QTest::keyClicks(m_edit, keys);
    QCOMPARE(m_edit->date(), date);
    QCOMPARE(valueChanged.size(), valueChanges);
    QVERIFY(changed.size() >= valueChanges);
}

void DateEditTest::setFromCode_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("set");
    QTest::addColumn<int>("notifications");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty to a date") << QDate() << QDate(2024, 1, 31) << 1 << "31/01/2024";
    QTest::newRow("another date") << QDate(2024, 1, 31) << QDate(2024, 2, 1) << 1 << "01/02/2024";
    QTest::newRow("the same date") << QDate(2024, 1, 31) << QDate(2024, 1, 31) << 0 << "31/01/2024";
    QTest::newRow("cleared") << QDate(2024, 1, 31) << QDate() << 1 << "//";
    QTest::newRow("empty stays empty") << QDate() << QDate() << 0 << "//";
}

void DateEditTest::setFromCode()
{
    QFETCH(QDate, start);
    QFETCH(QDate, set);
    QFETCH(int, notifications);
    QFETCH(QString, shown);
    m_edit->setDate(start);
    QSignalSpy changed(m_edit, &DateEdit::changed);
    QSignalSpy valueChanged(m_edit, &DateEdit::editValueChanged);
    m_edit->setDate(set);
    QCOMPARE(m_edit->date(), set);
    QCOMPARE(changed.size(), notifications);
    QCOMPARE(valueChanged.size(), notifications);
    QCOMPARE(m_edit->text(), shown);
}

void DateEditTest::calendarButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("valueChanges");
    const QDate today = QDate::currentDate();
    QTest::newRow("Clear") << "clear" << QDate(2023, 5, 1) << QDate() << 1;
    QTest::newRow("Today") << "today" << QDate(2023, 5, 1) << today << 1;
    QTest::newRow("Now") << "now" << QDate(2023, 5, 1) << today << 1;
    QTest::newRow("Today when it is today") << "today" << today << today << 0;
    QTest::newRow("Clear when empty") << "clear" << QDate() << QDate() << 0;
}

void DateEditTest::calendarButtons()
{
    QFETCH(QString, button);
    QFETCH(QDate, start);
    QFETCH(QDate, date);
    QFETCH(int, valueChanges);
    m_edit->setDate(start);
    QSignalSpy valueChanged(m_edit, &DateEdit::editValueChanged);
    QSignalSpy closeUp(m_edit, &DateEdit::closeUp);

    m_edit->showPopup();
    QVERIFY(m_edit->isPopupVisible());
    QAbstractButton *target = button == u"clear"_s ? m_edit->clearButton()
        : button == u"today"_s                     ? m_edit->todayButton()
                                                   : m_edit->nowButton();
    QCOMPARE(target->text().isEmpty(), false);
    target->click();
    QVERIFY(!m_edit->isPopupVisible());
    QCOMPARE(m_edit->date(), date);
    QCOMPARE(valueChanged.size(), valueChanges);
    QCOMPARE(closeUp.size(), 1);
}

void DateEditTest::calendarPick()
{
    m_edit->setDate(QDate(2024, 2, 10));
    QSignalSpy valueChanged(m_edit, &DateEdit::editValueChanged);
    QSignalSpy closeUp(m_edit, &DateEdit::closeUp);
    m_edit->showPopup();
    QCOMPARE(m_edit->calendar()->selectedDate(), QDate(2024, 2, 10));
    emit m_edit->calendar()->clicked(QDate(2024, 2, 29));
    QCOMPARE(m_edit->date(), QDate(2024, 2, 29));
    QCOMPARE(m_edit->text(), u"29/02/2024"_s);
    QCOMPARE(valueChanged.size(), 1);
    QCOMPARE(closeUp.size(), 1);
}

void DateEditTest::escapeClosesWithoutChange()
{
    m_edit->setDate(QDate(2024, 2, 10));
    QSignalSpy valueChanged(m_edit, &DateEdit::editValueChanged);
    QSignalSpy closeUp(m_edit, &DateEdit::closeUp);
    m_edit->showPopup();
    m_edit->hidePopup();
    QCOMPARE(closeUp.size(), 1);
    QCOMPARE(valueChanged.size(), 0);
    QCOMPARE(m_edit->date(), QDate(2024, 2, 10));
}

void DateEditTest::leaving_data()
{
    QTest::addColumn<QString>("keys"); // typed from the start; "<" is a backspace at the end
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("shown");
    QTest::newRow("part typed, still a date: taken") << "07" << QDate(2024, 2, 7) << "07/02/2024";
    QTest::newRow("a digit erased: restored") << "<" << QDate(2024, 2, 10) << "10/02/2024";
    QTest::newRow("impossible date: restored") << "30" << QDate(2024, 2, 10) << "10/02/2024";
}

void DateEditTest::leaving()
{
    QFETCH(QString, keys);
    QFETCH(QDate, date);
    QFETCH(QString, shown);
    m_edit->setDate(QDate(2024, 2, 10));
    if (keys == u"<"_s) {
        m_edit->end(false);
        QTest::keyClick(m_edit, Qt::Key_Backspace);
    } else {
        m_edit->setCursorPosition(0);
        QTest::keyClicks(m_edit, keys);
    }
    QCOMPARE(m_edit->date(), QDate(2024, 2, 10)); // nothing taken while typing
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(m_edit, &focusOut);
    QCOMPARE(m_edit->date(), date);
    QCOMPARE(m_edit->text(), shown);
}

void DateEditTest::erasingEverythingEmpties()
{
    m_edit->setDate(QDate(2024, 2, 10));
    m_edit->selectAll();
    QSignalSpy valueChanged(m_edit, &DateEdit::editValueChanged);
    QTest::keyClick(m_edit, Qt::Key_Delete);
    QVERIFY(!m_edit->date().isValid());
    QCOMPARE(valueChanged.size(), 1);
}

QTEST_MAIN(DateEditTest)
#include "tst_dateedit.moc"
