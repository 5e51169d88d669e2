// Draws the start-up picture "LOGO" (670 x 551, RGBA, transparent around the
// badge). The committed LOGO.png comes from this program:
//   cmake --build build --target draw-splash-logo
//   build/bin/draw-splash-logo resources/splash/LOGO.png

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

const QColor navy(34, 50, 86);
const QColor green(80, 157, 2);
const QColor darkGreen(70, 138, 2);
const QColor gold(250, 212, 1);

QFont font(const QString &family, int pixels, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void drawCloche(QPainter &p, QPointF centre, double width)
{
    // A serving cloche on its plate, with a bell above it: the kitchen calls.
    const double h = width * 0.55;
    QPainterPath dome;
    dome.moveTo(centre.x() - width / 2, centre.y());
    dome.cubicTo(centre.x() - width / 2, centre.y() - h * 1.25, centre.x() + width / 2, centre.y() - h * 1.25,
                 centre.x() + width / 2, centre.y());
    dome.closeSubpath();
    QLinearGradient shine(centre.x() - width / 2, 0, centre.x() + width / 2, 0);
    shine.setColorAt(0, QColor(255, 240, 140));
    shine.setColorAt(0.35, gold);
    shine.setColorAt(1, QColor(196, 150, 0));
    p.setPen(QPen(navy, 6));
    p.setBrush(shine);
    p.drawPath(dome);
    p.setBrush(navy);
    p.drawRoundedRect(QRectF(centre.x() - width * 0.62, centre.y(), width * 1.24, 16), 8, 8);
    p.drawEllipse(QPointF(centre.x(), centre.y() - h * 0.95), 12, 12);
    // highlight on the dome
    p.setPen(QPen(QColor(255, 255, 255, 170), 8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - width * 0.36, centre.y() - h * 0.8, width * 0.5, h * 1.1), 110 * 16,
              45 * 16);
}

void drawWaves(QPainter &p, QPointF centre, double radius)
{
    // Sound waves on both sides: the order number is called out.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const double r = radius + i * 22;
        p.setPen(QPen(QColor(255, 255, 255, 230 - i * 60), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -35 * 16, 70 * 16);
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 145 * 16, 70 * 16);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-splash-logo OUTPUT.png\n");
        return 2;
    }

    QImage image(670, 551, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF badge(35, 30, 600, 480);

    // soft shadow: half-transparent pixels around the badge
    for (int i = 14; i > 0; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 7));
        p.drawRoundedRect(badge.adjusted(-i + 6, -i + 10, i + 6, i + 10), 60 + i, 60 + i);
    }

    QLinearGradient body(badge.topLeft(), badge.bottomLeft());
    body.setColorAt(0, green);
    body.setColorAt(1, darkGreen);
    p.setPen(QPen(navy, 10));
    p.setBrush(body);
    p.drawRoundedRect(badge, 60, 60);

    // a translucent glass band over the top half
    QPainterPath glass;
    glass.addRoundedRect(badge.adjusted(14, 14, -14, -badge.height() / 2), 48, 48);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPath(glass);

    const QPointF clocheCentre(335, 215);
    drawWaves(p, QPointF(335, 170), 150);
    drawCloche(p, clocheCentre, 190);

    // names of the station, in French and in Arabic
    p.setPen(Qt::white);
    p.setFont(font(QStringLiteral("Carlito"), 58, true));
    p.drawText(QRectF(badge.left(), 262, badge.width(), 70), Qt::AlignCenter,
               QStringLiteral("Appel Cuisine"));
    p.setFont(font(QStringLiteral("Noto Sans Arabic"), 46, true));
    p.setPen(gold);
    p.drawText(QRectF(badge.left(), 330, badge.width(), 80), Qt::AlignCenter,
               QStringLiteral(u"\u0646\u062f\u0627\u0621 \u0627\u0644\u0645\u0637\u0628\u062e"));

    // ribbon
    const QRectF ribbon(badge.left() + 90, 420, badge.width() - 180, 52);
    p.setPen(Qt::NoPen);
    p.setBrush(navy);
    p.drawRoundedRect(ribbon, 26, 26);
    p.setPen(gold);
    p.setFont(font(QStringLiteral("Carlito"), 26, true));
    p.drawText(ribbon, Qt::AlignCenter, QStringLiteral("Station de commandes"));
    p.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
