#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

/// The colours and fonts of the station's windows. Font sizes are character
/// heights in pixels at 96 dpi; every font is bold unless asked otherwise.
namespace StationLook {

inline const QColor darkNavy { 34, 50, 86 };
inline const QColor green { 80, 157, 2 };
inline const QColor darkGreen { 70, 138, 2 };
inline const QColor stripGreen { 74, 147, 2 };
inline const QColor gold { 250, 212, 1 };

inline const QColor yellow { 255, 255, 0 };
inline const QColor blue { 0, 0, 255 };
inline const QColor maroon { 128, 0, 0 };
inline const QColor navy { 0, 0, 128 };
inline const QColor purple { 128, 0, 128 };
inline const QColor aqua { 0, 255, 255 };

enum class Weight { Bold, Regular };

/// The family at the given character height in pixels.
QFont font(const QString &family, int pixelHeight, Weight weight = Weight::Bold);
inline QFont calibri(int pixelHeight, Weight weight = Weight::Bold)
{
    return font(QStringLiteral("Calibri"), pixelHeight, weight);
}
inline QFont tahoma(int pixelHeight, Weight weight = Weight::Bold)
{
    return font(QStringLiteral("Tahoma"), pixelHeight, weight);
}
inline QFont arabicTransparent(int pixelHeight, Weight weight = Weight::Bold)
{
    return font(QStringLiteral("Arabic Transparent"), pixelHeight, weight);
}

/// A colour stored the Windows way: red in the lowest byte, then green, then blue.
QColor fromWindowsColor(quint32 value);

/// A picture of the station's resources (":/icons/NAME.svg") drawn at that size.
QPixmap picture(const QString &name, QSize size);
/// The window icon, drawn at the usual icon sizes.
QIcon windowIcon();

/// "#rrggbb" for style sheets.
inline QString css(const QColor &color)
{
    return color.name(QColor::HexRgb);
}

} // namespace StationLook
