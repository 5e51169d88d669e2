#include "forms/StationLook.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace StationLook {

QFont font(const QString &family, int pixelHeight, Weight weight)
{
    QFont result(family);
    result.setPixelSize(pixelHeight);
    result.setBold(weight == Weight::Bold);
    return result;
}

QColor fromWindowsColor(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

QPixmap picture(const QString &name, QSize size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int size : { 16, 24, 32, 48, 64, 128, 256 })
        icon.addPixmap(picture(QStringLiteral("station"), QSize(size, size)));
    return icon;
}

} // namespace StationLook
