#include "app/SplashScreen.h"

#include "app/SplashScreenBitmap.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace {

/// The splash window: draws the premultiplied bitmap it was given, replacing
/// the (transparent) background, so that alpha 0 lets the desktop through.
class SplashWindow : public QWidget
{
public:
    SplashWindow()
        : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
        setObjectName(QStringLiteral("SplashForm"));
    }

    void setBitmap(const QImage &bitmap)
    {
        m_bitmap = bitmap;
        update();
    }
    const QImage &bitmap() const { return m_bitmap; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.drawImage(0, 0, m_bitmap);
    }

private:
    QImage m_bitmap;
};

} // namespace

TSplash::TSplash()
    : SplashForm(std::make_unique<SplashWindow>())
{
}

TSplash::TSplash(const QImage &Image)
    : TSplash()
{
    setImage(Image);
}

TSplash::~TSplash()
{
    SplashForm.reset();
    FImage = QImage();
}

void TSplash::setImage(const QImage &Image)
{
    // QImage shares its pixels until one side writes: a change the caller
    // makes to its image afterwards never reaches the splash.
    FImage = Image;
}

void TSplash::Show(bool StayOnTop)
{
    if (FImage.isNull())
        return;
    SplashForm->setWindowFlag(Qt::FramelessWindowHint, true);
    SplashForm->setFixedSize(FImage.size());
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    SplashForm->move(desktop.x() + (desktop.width() - FImage.width()) / 2,
                     desktop.y() + (desktop.height() - FImage.height()) / 2);
    SplashForm->setWindowFlag(Qt::WindowStaysOnTopHint, StayOnTop);
    ApplyLayeredImage();
    SplashForm->show();

    // The caller blocks the thread right after this (the second of start-up):
    // the window must be mapped and drawn before that, since nothing is
    // processed while it waits.
    const QDeadlineTimer deadline(2000);
    while (!deadline.hasExpired() && !(SplashForm->windowHandle() && SplashForm->windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    SplashForm->repaint();
    QCoreApplication::processEvents();
}

void TSplash::Close()
{
    SplashForm->close();
}

void TSplash::ApplyLayeredImage()
{
    QImage bitmap;
    PremultiplyBitmap(bitmap, FImage);
    static_cast<SplashWindow *>(SplashForm.get())->setBitmap(bitmap);
}

QImage TSplash::logo()
{
    return QImage(QStringLiteral(":/splash/LOGO"));
}

std::unique_ptr<TSplash> TSplash::showStartup(std::chrono::milliseconds duration)
{
    auto splash = [] {
        const QImage image = logo();
        return Create(image);
    }(); // the loaded image is freed here; the splash holds its own copy
    splash->Show(true);
    QThread::msleep(static_cast<unsigned long>(duration.count()));
    splash->Close();
    return splash;
}
