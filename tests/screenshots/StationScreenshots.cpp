// station-screenshots splash OUT.png
//   The splash over a desktop; needs an X server with a compositing manager,
//   so that its transparent pixels show the desktop.
// station-screenshots login-ar OUT.png | login-fr OUT.png
//   The login dialog over the main window, in Arabic or French, on a test
//   database with the demo users, a name being typed.

#include "TestDatabase.h"
#include "TestWorkingDirectory.h"
#include "app/LanguageFile.h"
#include "app/SplashScreen.h"
#include "app/StationLanguage.h"
#include "forms/TPassw.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

/// A plain desktop for the pictures: a wallpaper and a few icons.
class Desktop : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), height());
        g.setColorAt(0, QColor(30, 80, 140));
        g.setColorAt(1, QColor(120, 170, 210));
        p.fillRect(rect(), g);
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 5; ++i) {
            const QRect icon(24, 24 + i * 96, 56, 56);
            p.setBrush(QColor(255, 255, 255, 200));
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(icon, 10, 10);
            p.setPen(Qt::white);
            p.drawText(QRect(8, icon.bottom() + 4, 88, 20), Qt::AlignCenter,
                       QStringLiteral("Dossier %1").arg(i + 1));
        }
        p.fillRect(QRect(0, height() - 36, width(), 36), QColor(20, 20, 30, 230));
    }
};

void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

int splash(const QString &out)
{
    Desktop desktop;
    desktop.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint);
    desktop.setGeometry(QGuiApplication::primaryScreen()->geometry());
    desktop.show();
    settle(500);

    TSplash splash(TSplash::logo());
    splash.Show(true);
    settle(800);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    splash.Close();
    return shot.save(out) ? 0 : 1;
}

int login(const QString &letter, const QString &out)
{
    // The station as it starts: the language restored from langue.txt, the
    // main window up, the login dialog over it, a name being typed.
    TestDatabase db(TestDatabase::schema() + TestDatabase::users());
    TestWorkingDirectory work(db, QStringLiteral("Serveur cuisine"));
    work.writeFile(QStringLiteral("langue.txt"), letter.toLatin1() + "\r\n");
    TVente_au_comptoir_zedivad window;
    window.ForcatmCreate();
    window.Timer1->stop(); // the dialog is opened here, not modally
    window.UniConnection1.open(db.settings());
    window.show();
    settle(500);

    TPassw *dialog = TPassw::create(window);
    dialog->show();
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog))
        std::fprintf(stderr, "the dialog did not become active\n");
    settle(300);
    QLineEdit *edit = dialog->cxTextEdit1->lineEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("cu"));
    settle(500);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
        0, window.frameGeometry().x(), window.frameGeometry().y(), window.frameGeometry().width(),
        window.frameGeometry().height());
    dialog->close();
    return shot.save(out) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: station-screenshots splash|login-ar|login-fr OUT.png\n");
        return 2;
    }
    const QString what = QString::fromLocal8Bit(argv[1]);
    // absolute: the login picture runs in a working directory of its own
    const QString out = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    if (what == u"splash")
        return splash(out);
    if (what == u"login-ar")
        return login(QStringLiteral("A"), out);
    if (what == u"login-fr")
        return login(QStringLiteral("F"), out);
    std::fprintf(stderr, "unknown picture %s\n", argv[1]);
    return 2;
}
