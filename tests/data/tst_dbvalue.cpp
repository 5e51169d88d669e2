#include "app/StationError.h"
#include "data/DbValue.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Conversions of values between the station's types and the database's.
class TestDbValue : public QObject
{
    Q_OBJECT
private slots:
    void toInteger_data();
    void toInteger();
    void toText_data();
    void toText();
    void textToTime_data();
    void textToTime();
    void timeOfDay();
    void invalidValuesAreNull();
};

void TestDbValue::toInteger_data()
{
    QTest::addColumn<DbValue>("value");
    QTest::addColumn<qint64>("integer");
    QTest::addColumn<QString>("error");

    QTest::newRow("decimal text") << DbValue(u"42"_s) << qint64(42) << QString();
    QTest::newRow("blanks around") << DbValue(u" -7 "_s) << qint64(-7) << QString();
    QTest::newRow("whole number with a point") << DbValue(u"2.0"_s) << qint64(2) << QString();
    QTest::newRow("float rounds") << DbValue(2.5) << qint64(3) << QString();
    QTest::newRow("NULL reads as 0") << DbValue() << qint64(0) << QString();
    QTest::newRow("not a number") << DbValue(u"12a"_s) << qint64(0) << u"\"12a\" is not a valid integer"_s;
    QTest::newRow("empty text") << DbValue(u""_s) << qint64(0) << u"\"\" is not a valid integer"_s;
    QTest::newRow("a date") << DbValue(QDate(2024, 1, 1)) << qint64(0) << u"\"2024-01-01\" is not a valid integer"_s;
}

void TestDbValue::toInteger()
{
    QFETCH(DbValue, value);
    QFETCH(qint64, integer);
    QFETCH(QString, error);
    try {
        QCOMPARE(value.toInteger(), integer);
        QVERIFY(error.isEmpty());
    } catch (const StationError &caught) {
        QCOMPARE(caught.message(), error);
    }
}

void TestDbValue::toText_data()
{
    QTest::addColumn<DbValue>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("integer") << DbValue(qint64(9007199254740993)) << u"9007199254740993"_s;
    QTest::newRow("float, shortest form") << DbValue(0.1) << u"0.1"_s;
    QTest::newRow("date") << DbValue(QDate(2024, 2, 29)) << u"2024-02-29"_s;
    QTest::newRow("time") << DbValue(TimeOfDay::fromHms(7, 5, 3, 9999)) << u"07:05:03"_s;
    QTest::newRow("timestamp") << DbValue(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58))) << u"2024-02-29 23:59:58"_s;
    QTest::newRow("NULL") << DbValue() << QString();
}

void TestDbValue::toText()
{
    QFETCH(DbValue, value);
    QFETCH(QString, text);
    QCOMPARE(value.toText(), text);
}

void TestDbValue::textToTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("ticks"); // 0 with valid false: an error

    QTest::newRow("hours and minutes") << u"08:30"_s << TimeOfDay::fromHms(8, 30, 0).ticks();
    QTest::newRow("with the fraction") << u"23:59:59.9999"_s << TimeOfDay::fromHms(23, 59, 59, 9999).ticks();
    QTest::newRow("short fraction") << u"12:00:00.5"_s << TimeOfDay::fromHms(12, 0, 0, 5000).ticks();
    QTest::newRow("hour out of range") << u"24:00:00"_s << quint32(0);
}

void TestDbValue::textToTime()
{
    QFETCH(QString, text);
    QFETCH(quint32, ticks);
    if (ticks == 0) {
        QVERIFY_THROWS_EXCEPTION(StationError, DbValue(text).toTime());
        return;
    }
    QCOMPARE(DbValue(text).toTime().ticks(), ticks);
}

void TestDbValue::timeOfDay()
{
    const TimeOfDay time = TimeOfDay::fromHms(13, 4, 5, 678);
    QCOMPARE(time.hour(), 13);
    QCOMPARE(time.minute(), 4);
    QCOMPARE(time.second(), 5);
    QCOMPARE(time.fraction(), 678);
    QCOMPARE(time.toQTime(), QTime(13, 4, 5, 67));
    QCOMPARE(TimeOfDay::fromQTime(QTime(13, 4, 5, 67)).ticks(), TimeOfDay::fromHms(13, 4, 5, 670).ticks());

    // the current time agrees with the system clock to the millisecond it is read in
    const QTime before = QTime::currentTime();
    const TimeOfDay now = TimeOfDay::currentTime();
    const QTime after = QTime::currentTime();
    QVERIFY(now.isValid());
    if (after > before) { // not across midnight
        QVERIFY(now.toQTime() >= before.addMSecs(-1));
        QVERIFY(now.toQTime() <= after);
    }
}

void TestDbValue::invalidValuesAreNull()
{
    QVERIFY(DbValue(QDate()).isNull());
    QVERIFY(DbValue(QDateTime()).isNull());
    QVERIFY(!DbValue(u""_s).isNull());
    QCOMPARE(DbValue().toTime(), TimeOfDay());
}

QTEST_GUILESS_MAIN(TestDbValue)
#include "tst_dbvalue.moc"
