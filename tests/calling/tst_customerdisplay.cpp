// The customer display on its own: texts, closing, the clock, the size of the
// number and the shortening of long articles.

#include "forms/TFAfficher_Numero.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTextBoundaryFinder>

using namespace Qt::StringLiterals;

namespace {

QLabel *part(const TFAfficher_Numero &display, const char *name)
{
    return display.findChild<QLabel *>(QString::fromLatin1(name));
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A display of a given size, as a plain window (the offscreen screen is small).
void showSized(TFAfficher_Numero &display, QSize size)
{
    display.setWindowState(Qt::WindowNoState);
    display.resize(size);
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    QTRY_COMPARE(display.size(), size);
}

} // namespace

class TestCustomerDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startsHiddenWithZeroAndNoArticle()
    {
        TFAfficher_Numero display;
        QVERIFY(!display.isVisible());
        QCOMPARE(display.numberText(), u"0"_s);
        QCOMPARE(display.articleText(), QString());
        QCOMPARE(part(display, "article")->text(), QString());
        QCOMPARE(part(display, "caption")->text(), u"التذكرة رقم"_s);
        QCOMPARE(display.windowTitle(), QString());
        QVERIFY(display.windowState() & Qt::WindowMaximized);
        QVERIFY(!part(display, "banner")->pixmap().isNull());
        QCOMPARE(part(display, "banner")->pixmap().size(), QSize(770, 112));
        QCOMPARE(part(display, "logo")->pixmap().size(), QSize(50, 56));
        QVERIFY(part(display, "logo")->pixmap().hasAlphaChannel());
    }

    void showsTextsAsTheyAre_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("article");

        QTest::newRow("number and article") << u"42"_s << u"Pizza Margherita"_s;
        QTest::newRow("Arabic article") << u"305"_s << u"شاورما دجاج"_s;
        QTest::newRow("markup stays text") << u"<b>7</b>"_s << u"<i>Tacos</i> & frites"_s;
        QTest::newRow("number not formatted") << u"0012"_s << u"Sandwich"_s;
        QTest::newRow("empty article") << u"9"_s << QString();
    }

    void showsTextsAsTheyAre()
    {
        QFETCH(QString, number);
        QFETCH(QString, article);

        TFAfficher_Numero display;
        display.afficherNumero(number, article); // while hidden
        QCOMPARE(display.numberText(), number);
        QCOMPARE(display.articleText(), article);
        QCOMPARE(part(display, "number")->textFormat(), Qt::PlainText);
        QCOMPARE(part(display, "article")->textFormat(), Qt::PlainText);

        display.showInFront();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        QCOMPARE(part(display, "number")->text(), number);
        QCOMPARE(part(display, "article")->text(), article);
    }

    void numberIsPaintedAtOnceArticleLater()
    {
        TFAfficher_Numero display;
        display.showInFront();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        QCoreApplication::processEvents();

        PaintCounter number;
        PaintCounter article;
        part(display, "number")->installEventFilter(&number);
        part(display, "article")->installEventFilter(&article);
        display.afficherNumero(u"57"_s, u"Couscous"_s);
        // The voice announcement that follows blocks the thread: the number must
        // already be on the screen, the article may wait for the next paint.
        QVERIFY(number.paints >= 1);
        QCOMPARE(article.paints, 0);
        QTRY_VERIFY(article.paints >= 1);
    }

    void closingHidesAndSaysSo()
    {
        QPointer<TFAfficher_Numero> display = new TFAfficher_Numero;
        QSignalSpy closed(display.data(), &TFAfficher_Numero::closed);
        display->showInFront();
        display->showInFront(); // a second press: still one window, in front
        QVERIFY(QTest::qWaitForWindowExposed(display.data()));
        const auto displays = [] {
            int n = 0;
            for (QWidget *w : QApplication::topLevelWidgets())
                n += qobject_cast<TFAfficher_Numero *>(w) != nullptr;
            return n;
        };
        QCOMPARE(displays(), 1);
        display->afficherNumero(u"88"_s, u"Burger"_s);

        QVERIFY(display->close());
        QCoreApplication::processEvents();
        QVERIFY(display); // hidden, not destroyed
        QVERIFY(!display->isVisible());
        QCOMPARE(closed.size(), 1);

        display->afficherNumero(u"89"_s, u"Frites"_s); // written while closed
        display->showInFront();
        QVERIFY(display->isVisible());
        QCOMPARE(part(*display, "number")->text(), u"89"_s);
        QCOMPARE(part(*display, "article")->text(), u"Frites"_s);
        QCOMPARE(closed.size(), 1);
        delete display.data();
    }

    void minimisedDisplayComesBack()
    {
        TFAfficher_Numero display;
        display.showInFront();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        display.showMinimized();
        display.showInFront();
        QVERIFY(!display.isMinimized());
        QVERIFY(display.isVisible());
    }

    void clockShowsTwentyFourHours_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");

        QTest::newRow("morning, leading zeros") << QTime(9, 5, 7) << u"09:05:07"_s;
        QTest::newRow("evening, not 9 PM") << QTime(21, 5, 7) << u"21:05:07"_s;
        QTest::newRow("midnight") << QTime(0, 0, 0) << u"00:00:00"_s;
        QTest::newRow("last second") << QTime(23, 59, 59) << u"23:59:59"_s;
    }

    void clockShowsTwentyFourHours()
    {
        QFETCH(QTime, time);
        QFETCH(QString, text);

        // A locale with a 12-hour clock must not change the display.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TFAfficher_Numero display;
        display.setClock([time] { return time; });
        QLocale::setDefault(before);
        QCOMPARE(display.clockText(), text);
    }

    void clockTicksOnItsOwn()
    {
        TFAfficher_Numero display; // hidden: the clock runs all the same
        QCOMPARE(QTime::fromString(display.clockText(), u"HH:mm:ss"_s).isValid(), true);
        int ticks = 0;
        display.setClock([&ticks] { return QTime(12, 0, 0).addSecs(ticks++); });
        QCOMPARE(display.clockText(), u"12:00:00"_s);
        QTRY_COMPARE_WITH_TIMEOUT(display.clockText(), u"12:00:01"_s, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(display.clockText(), u"12:00:02"_s, 3000);
    }

    void regionsStandInEitherReadingOrder_data()
    {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("left to right") << Qt::LeftToRight;
        QTest::newRow("right to left") << Qt::RightToLeft;
    }

    void regionsStandInEitherReadingOrder()
    {
        QFETCH(Qt::LayoutDirection, direction);

        TFAfficher_Numero display;
        display.setLayoutDirection(direction);
        showSized(display, { 1920, 1080 });
        QCOMPARE(part(display, "banner")->geometry(), QRect(0, 0, 1920, 129));
        QCOMPARE(part(display, "caption")->geometry(), QRect(0, 129, 1920, 77));
        QCOMPARE(part(display, "number")->geometry(), QRect(0, 206, 1920, 1080 - 129 - 77 - 62 - 75));
        QCOMPARE(part(display, "article")->geometry(), QRect(0, 1005, 1920, 75));
        // The clock box overhangs its strip (943..1004) by one pixel up and two down.
        QCOMPARE(part(display, "clock")->geometry(), QRect(8, 942, 203, 65));
        QCOMPARE(part(display, "logo")->mapTo(&display, QPoint(0, 0)), QPoint(1920 - 63, 943));
        QCOMPARE(part(display, "logo")->size(), QSize(63, 62));
    }

    void numberIsLargeAndFits_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("atLeast");

        QTest::newRow("full HD, two digits") << QSize(1920, 1080) << u"42"_s << 280;
        QTest::newRow("full HD, four digits") << QSize(1920, 1080) << u"1234"_s << 280;
        QTest::newRow("full HD under a title bar") << QSize(1920, 1040) << u"999"_s << 280;
        QTest::newRow("4K grows") << QSize(3840, 2160) << u"42"_s << 560;
        QTest::newRow("small window shrinks to fit") << QSize(800, 600) << u"1234"_s << 40;
        QTest::newRow("very long text shrinks to fit") << QSize(1920, 1080) << u"123456789012345678"_s << 40;
    }

    void numberIsLargeAndFits()
    {
        QFETCH(QSize, window);
        QFETCH(QString, number);
        QFETCH(int, atLeast);

        TFAfficher_Numero display;
        showSized(display, window);
        display.afficherNumero(number, u"Pizza"_s);
        const QLabel *label = part(display, "number");
        QVERIFY2(label->font().pixelSize() >= atLeast,
                 qPrintable(QString::number(label->font().pixelSize())));
        const QFontMetrics metrics(label->font());
        QVERIFY(metrics.horizontalAdvance(number) <= label->width());
        QVERIFY(metrics.height() <= label->height());
    }

    void longArticleIsShortenedBetweenLetters_data()
    {
        QTest::addColumn<QString>("article");
        QTest::addColumn<Qt::LayoutDirection>("direction");

        QTest::newRow("French")
            << u"Assiette de grillades mixtes, frites maison, salade, sauce blanche et harissa, "
               "pain chaud et boisson fraîche au choix"_s
            << Qt::LeftToRight;
        // Vowel marks belong to their letter: cutting between them would show a
        // bare mark beside the ellipsis.
        QTest::newRow("Arabic with vowel marks")
            << u"شَاوَرْمَا دَجَاجٍ مَعَ بَطَاطِسَ مَقْلِيَّةٍ وَسَلَطَةٍ وَصَلْصَةِ الثُّومِ وَخُبْزٍ سَاخِنٍ وَمَشْرُوبٍ بَارِدٍ "
               "مِنِ اخْتِيَارِكُمْ"_s
            << Qt::RightToLeft;
    }

    void longArticleIsShortenedBetweenLetters()
    {
        QFETCH(QString, article);
        QFETCH(Qt::LayoutDirection, direction);

        TFAfficher_Numero display;
        showSized(display, { 1280, 720 });
        display.afficherNumero(u"12"_s, article);
        const QLabel *label = part(display, "article");
        const QString shown = label->text();

        QCOMPARE(display.articleText(), article);
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QString kept = shown.chopped(1);
        // A zero-width joiner may stand before the ellipsis, keeping an Arabic
        // letter in the form it has inside its word.
        if (kept.endsWith(QChar(0x200D)))
            kept.chop(1);
        QVERIFY(!kept.isEmpty());
        QVERIFY(article.startsWith(kept));
        QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, article);
        letters.setPosition(int(kept.size()));
        QVERIFY2(letters.isAtBoundary(), "the article was cut inside a letter");
        QVERIFY(QFontMetrics(label->font()).horizontalAdvance(shown) <= label->width());
        QCOMPARE(label->layoutDirection(), direction);

        display.afficherNumero(u"13"_s, u"Thé"_s);
        QCOMPARE(label->text(), u"Thé"_s);
    }
};

QTEST_MAIN(TestCustomerDisplay)
#include "tst_customerdisplay.moc"
