#pragma once

#include <QColor>

class LabelAttributes;

/// Colours as label layouts store them: Windows colour values, red in the low
/// byte, then green, then blue; system colours have the high byte 0xFF and
/// 0x1FFFFFFF means "no colour" (transparent).
namespace LabelColor {

inline constexpr qint64 None = 0x1FFFFFFF;
inline constexpr qint64 Black = 0;
/// The window text colour, the default of new text objects.
inline constexpr qint64 WindowText = qint64(qint32(0xFF000008));

/// An invalid QColor for "no colour".
QColor toQColor(qint64 value);
qint64 fromQColor(const QColor &color); ///< None for an invalid colour

/// The fill colour of an object or band: Color, or Fill.BackColor as newer
/// layouts write it; None when there is neither.
qint64 fillOf(const LabelAttributes &attributes);

} // namespace LabelColor
