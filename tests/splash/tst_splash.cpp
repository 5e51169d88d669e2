#include "app/SplashScreen.h"
#include "app/SplashScreenBitmap.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <limits>

class tst_Splash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void premultipliedChannel_data();
    void premultipliedChannel();
    void channelAgreesWithExtendedPrecision();
    void bitmapBytes();
    void imageWithoutAlphaIsOpaque();
    void emptyImageGivesEmptyBitmap();

    void logoIsTheBuiltInPicture();
    void showPlacesAndSizesTheWindow_data();
    void showPlacesAndSizesTheWindow();
    void closeHidesAndDestroyFreesTheWindow();
    void splashKeepsItsOwnCopyOfTheImage();
    void emptyImageShowsNothing();
    void drawnBeforeShowReturns();
    void startupShowsTheLogoThenClosesIt();
};

void tst_Splash::premultipliedChannel_data()
{
    QTest::addColumn<int>("alpha");
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("expected");

    QTest::newRow("opaque keeps the colour") << 255 << 200 << 200;
    QTest::newRow("transparent is black") << 0 << 255 << 0;
    QTest::newRow("128 of 255 loses one to the rounded quotient") << 128 << 255 << 127;
    QTest::newRow("128 of 128") << 128 << 128 << 64;
    QTest::newRow("200 of 100") << 200 << 100 << 78;
    QTest::newRow("254 of 255") << 254 << 255 << 254;
    QTest::newRow("85 of 3 truncates to zero") << 85 << 3 << 0;
    QTest::newRow("1 of 255") << 1 << 255 << 0;
    QTest::newRow("opaque white") << 255 << 255 << 255;
    // Rows where a product taken in double rounds up to the integer above
    // the exact one.
    QTest::newRow("5 of 51: exact product just below one") << 5 << 51 << 0;
    QTest::newRow("2 of 255: exact product just below two") << 2 << 255 << 1;
}

void tst_Splash::premultipliedChannel()
{
    QFETCH(int, alpha);
    QFETCH(int, colour);
    QFETCH(int, expected);
    QCOMPARE(::premultipliedChannel(alpha, colour), expected);
}

void tst_Splash::channelAgreesWithExtendedPrecision()
{
    if (std::numeric_limits<long double>::digits < 64)
        QSKIP("long double holds no 64-bit mantissa here");
    for (int a = 0; a <= 255; ++a) {
        const double q = a / 255.0;
        for (int c = 0; c <= 255; ++c) {
            const auto exact = static_cast<int>(static_cast<long double>(c) * static_cast<long double>(q));
            if (::premultipliedChannel(a, c) != exact)
                QFAIL(qPrintable(QStringLiteral("a=%1 c=%2: %3 instead of %4")
                                     .arg(a)
                                     .arg(c)
                                     .arg(::premultipliedChannel(a, c))
                                     .arg(exact)));
        }
    }
}

void tst_Splash::bitmapBytes()
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 255, 255, 128)); // half-transparent white
    image.setPixel(1, 0, qRgba(10, 20, 30, 0)); // invisible
    image.setPixel(2, 0, qRgba(10, 20, 30, 255)); // opaque
    image.setPixel(0, 1, qRgba(100, 128, 255, 200));
    image.setPixel(1, 1, qRgba(0, 0, 0, 255));
    image.setPixel(2, 1, qRgba(255, 0, 3, 85));

    QImage bitmap;
    PremultiplyBitmap(bitmap, image);
    QCOMPARE(bitmap.size(), image.size());
    QCOMPARE(bitmap.depth(), 32);

    auto bytes = [&](int x, int y) {
        const uchar *p = bitmap.constScanLine(y) + 4 * x;
        return QByteArray(reinterpret_cast<const char *>(p), 4);
    };
    // blue, green, red, alpha
    QCOMPARE(bytes(0, 0), QByteArray("\x7f\x7f\x7f\x80", 4));
    QCOMPARE(bytes(1, 0), QByteArray("\x00\x00\x00\x00", 4));
    QCOMPARE(bytes(2, 0), QByteArray("\x1e\x14\x0a\xff", 4));
    QCOMPARE(bytes(0, 1), QByteArray("\xc7\x64\x4e\xc8", 4)); // 255->199, 128->100, 100->78
    QCOMPARE(bytes(1, 1), QByteArray("\x00\x00\x00\xff", 4));
    QCOMPARE(bytes(2, 1), QByteArray("\x00\x00\x54\x55", 4)); // 3->0, 255->84
}

void tst_Splash::imageWithoutAlphaIsOpaque()
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    image.setPixel(1, 0, qRgb(250, 128, 0));
    QImage bitmap;
    PremultiplyBitmap(bitmap, image);
    QCOMPARE(bitmap.pixel(0, 0), qRgba(1, 2, 3, 255));
    QCOMPARE(bitmap.pixel(1, 0), qRgba(250, 128, 0, 255));
}

void tst_Splash::emptyImageGivesEmptyBitmap()
{
    QImage bitmap(4, 4, QImage::Format_ARGB32);
    PremultiplyBitmap(bitmap, QImage());
    QVERIFY(bitmap.isNull());
}

void tst_Splash::logoIsTheBuiltInPicture()
{
    const QImage logo = TSplash::logo();
    QCOMPARE(logo.size(), QSize(670, 551));
    QVERIFY(logo.hasAlphaChannel());
    QCOMPARE(qAlpha(logo.pixel(0, 0)), 0); // transparent corner
    QCOMPARE(qAlpha(logo.pixel(669, 550)), 0);
    QCOMPARE(qAlpha(logo.pixel(335, 275)), 255); // opaque middle
}

void tst_Splash::showPlacesAndSizesTheWindow_data()
{
    QTest::addColumn<bool>("stayOnTop");
    QTest::newRow("kept on top") << true;
    QTest::newRow("not kept on top") << false;
}

void tst_Splash::showPlacesAndSizesTheWindow()
{
    QFETCH(bool, stayOnTop);
    TSplash splash(TSplash::logo());
    QWidget *form = splash.form();
    QVERIFY(form->isWindow());
    QVERIFY(!form->isVisible());
    QVERIFY(!form->parentWidget());

    splash.Show(stayOnTop);
    QVERIFY(form->isVisible());
    QCOMPARE(form->size(), QSize(670, 551));
    QCOMPARE(form->frameGeometry().size(), QSize(670, 551)); // no frame
    QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint), stayOnTop);
    QVERIFY(form->testAttribute(Qt::WA_TranslucentBackground));

    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(form->pos(),
             QPoint(desktop.x() + (desktop.width() - 670) / 2, desktop.y() + (desktop.height() - 551) / 2));

    // What the window draws: desktop through alpha 0, colours kept at alpha 255.
    const QImage drawn = form->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(qAlpha(drawn.pixel(0, 0)), 0);
    QCOMPARE(drawn.pixel(335, 275), TSplash::logo().pixel(335, 275));
    splash.Close();
}

void tst_Splash::closeHidesAndDestroyFreesTheWindow()
{
    auto splash = TSplash::Create(TSplash::logo());
    splash->Show(true);
    QPointer<QWidget> form = splash->form();
    splash->Close();
    QVERIFY(form);
    QVERIFY(!form->isVisible());
    QCOMPARE(splash->Image().size(), QSize(670, 551));
    splash.reset();
    QVERIFY(!form);
}

void tst_Splash::splashKeepsItsOwnCopyOfTheImage()
{
    auto image = std::make_unique<QImage>(4, 3, QImage::Format_ARGB32);
    image->fill(qRgba(0, 255, 0, 255));
    TSplash splash(*image);
    image->fill(qRgba(255, 0, 0, 255)); // the caller changes its image...
    image.reset(); // ...and frees it
    QCOMPARE(splash.Image().size(), QSize(4, 3));
    QCOMPARE(splash.Image().pixel(1, 1), qRgba(0, 255, 0, 255));

    QImage other(2, 2, QImage::Format_ARGB32);
    other.fill(Qt::blue);
    splash.setImage(other);
    other.fill(Qt::red);
    QCOMPARE(splash.Image().pixel(0, 0), QColor(Qt::blue).rgba());

    splash.Show(false);
    QCOMPARE(splash.form()->size(), QSize(2, 2));
    splash.Close();
}

void tst_Splash::emptyImageShowsNothing()
{
    TSplash splash;
    QVERIFY(splash.Image().isNull());
    splash.Show(true);
    QVERIFY(!splash.form()->isVisible());
}

namespace {
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

void tst_Splash::drawnBeforeShowReturns()
{
    // The caller blocks the thread right after Show: the window must have
    // been drawn by then, with no further event processing.
    TSplash splash(TSplash::logo());
    PaintCounter counter;
    splash.form()->installEventFilter(&counter);
    splash.Show(true);
    QVERIFY(splash.form()->windowHandle()->isExposed());
    QVERIFY(counter.paints > 0);
    splash.Close();
}

void tst_Splash::startupShowsTheLogoThenClosesIt()
{
    auto splash = TSplash::showStartup(std::chrono::milliseconds(20));
    QWidget *form = splash->form();
    QVERIFY(!form->isVisible());
    QCOMPARE(form->size(), QSize(670, 551));
    QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash->Image(), TSplash::logo());
}

QTEST_MAIN(tst_Splash)
#include "tst_splash.moc"
