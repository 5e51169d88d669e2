#include "data/SqlText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSqlText : public QObject
{
    Q_OBJECT
private slots:
    void parameters_data();
    void parameters();
    void splitScript_data();
    void splitScript();
};

void TestSqlText::parameters_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("markers");

    QTest::newRow("marker glued to the operator")
        << u"where ( Cast(DATE_VENTE as date) =:DATE_VENTE)and (CUISEN<>'')"_s
        << u"where ( Cast(DATE_VENTE as date) =?)and (CUISEN<>'')"_s << QStringList {u"DATE_VENTE"_s}
        << QList<int> {0};
    QTest::newRow("a name used twice is one parameter")
        << u"DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as date) + 1"_s
        << u"DATE_VENTE >= ? and DATE_VENTE < Cast(? as date) + 1"_s << QStringList {u"DATE_VENTE"_s}
        << QList<int> {0, 0};
    QTest::newRow("positions in order of first appearance")
        << u":B, :A, :b, :C"_s << u"?, ?, ?, ?"_s << QStringList {u"B"_s, u"A"_s, u"C"_s}
        << QList<int> {0, 1, 0, 2};
    QTest::newRow("string literal left alone")
        << u"where A = ':X' and B = 'it''s :Y' and C = :Z"_s << u"where A = ':X' and B = 'it''s :Y' and C = ?"_s
        << QStringList {u"Z"_s} << QList<int> {0};
    QTest::newRow("quoted name left alone")
        << u"select \":X\" from T where A = :A"_s << u"select \":X\" from T where A = ?"_s
        << QStringList {u"A"_s} << QList<int> {0};
    QTest::newRow("comments left alone")
        << u"select 1 -- :X\nfrom T /* :Y */ where A = :A"_s << u"select 1 -- :X\nfrom T /* :Y */ where A = ?"_s
        << QStringList {u"A"_s} << QList<int> {0};
    QTest::newRow("q-literal with an apostrophe inside")
        << u"select q'{it's :X}' from T where A = :A"_s << u"select q'{it's :X}' from T where A = ?"_s
        << QStringList {u"A"_s} << QList<int> {0};
    QTest::newRow("digits and underscores in names")
        << u"where (NAME=:N)and(Pass=:p_2) "_s << u"where (NAME=?)and(Pass=?) "_s
        << QStringList {u"N"_s, u"p_2"_s} << QList<int> {0, 1};
    QTest::newRow("no parameter") << u"Select *\nfrom OPTION_LOCALS_UTILISATEUR"_s
                                  << u"Select *\nfrom OPTION_LOCALS_UTILISATEUR"_s << QStringList() << QList<int>();
}

void TestSqlText::parameters()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, markers);
    const SqlText::Parameters parsed = SqlText::Parameters::parse(sql);
    QCOMPARE(parsed.sql, expected);
    QCOMPARE(parsed.names, names);
    QCOMPARE(parsed.markers, markers);
}

void TestSqlText::splitScript_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");

    QTest::newRow("two statements, the last without terminator")
        << u"create table A (X int);\ninsert into A values (1)"_s
        << QStringList {u"create table A (X int)"_s, u"insert into A values (1)"_s};
    QTest::newRow("terminator inside a literal")
        << u"insert into A values ('a;b');"_s << QStringList {u"insert into A values ('a;b')"_s};
    QTest::newRow("comment-only pieces dropped")
        << u"-- first;\n/* x; */;\ninsert into A values (1);"_s
        << QStringList {u"insert into A values (1)"_s};
    QTest::newRow("set term around a trigger body")
        << u"SET TERM ^ ;\nCREATE TRIGGER T FOR A BEFORE INSERT AS BEGIN NEW.X = 1; END^\nSET TERM ; ^\nselect 1 from A;"_s
        << QStringList {u"CREATE TRIGGER T FOR A BEFORE INSERT AS BEGIN NEW.X = 1; END"_s, u"select 1 from A"_s};
}

void TestSqlText::splitScript()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(SqlText::splitScript(script), statements);
}

QTEST_GUILESS_MAIN(TestSqlText)
#include "tst_sqltext.moc"
