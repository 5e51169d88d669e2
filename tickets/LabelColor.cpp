#include "tickets/LabelColor.h"

#include "tickets/LabelAttributes.h"

#include <cmath>

namespace LabelColor {

namespace {
// The system colours a layout may name, as a printed label shows them.
QColor systemColor(int index)
{
    switch (index) {
    case 5: // window
    case 14: // highlighted text
        return Qt::white;
    case 13: // highlight
        return QColor(0x00, 0x78, 0xD7);
    case 15: // button face
        return QColor(0xF0, 0xF0, 0xF0);
    case 16: // button shadow
        return QColor(0xA0, 0xA0, 0xA0);
    case 17: // grey text
        return QColor(0x6D, 0x6D, 0x6D);
    default: // window text and every other text colour
        return Qt::black;
    }
}
} // namespace

QColor toQColor(qint64 value)
{
    const quint32 bits = quint32(value);
    if (bits == quint32(None) || bits == 0x20000000u) // none, default
        return {};
    if ((bits & 0xFF000000u) == 0xFF000000u)
        return systemColor(int(bits & 0xFFu));
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

qint64 fromQColor(const QColor &color)
{
    if (!color.isValid() || color.alpha() == 0)
        return None;
    return qint64(color.red()) | qint64(color.green()) << 8 | qint64(color.blue()) << 16;
}

qint64 fillOf(const LabelAttributes &attributes)
{
    const auto value = attributes.number(u"Color");
    return qint64(std::llround(value.value_or(attributes.number(u"Fill.BackColor", double(None)))));
}

} // namespace LabelColor
