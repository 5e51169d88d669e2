#include "tickets/LabelFrame.h"

#include "tickets/LabelAttributes.h"

#include <cmath>

namespace {
struct StyleName
{
    const char16_t *name;
    Qt::PenStyle style;
};
constexpr StyleName styleNames[] = {
    { u"fsSolid", Qt::SolidLine },
    { u"fsDash", Qt::DashLine },
    { u"fsDot", Qt::DotLine },
    { u"fsDashDot", Qt::DashDotLine },
    { u"fsDashDotDot", Qt::DashDotDotLine },
    { u"fsDouble", Qt::SolidLine },
};
} // namespace

void LabelFrame::readFrom(const LabelAttributes &attributes)
{
    if (const auto value = attributes.number(u"Frame.Typ"))
        sides = int(std::lround(*value)) & All;
    if (const auto value = attributes.number(u"Frame.Width"))
        width = *value;
    if (const auto value = attributes.number(u"Frame.Color"))
        color = qint64(std::llround(*value));
    const QString styleName = attributes.value(u"Frame.Style");
    for (const StyleName &entry : styleNames) {
        if (styleName == QStringView(entry.name))
            style = entry.style;
    }
}

void LabelFrame::writeTo(LabelAttributes &attributes) const
{
    // Only what differs is written, so a style this class reads only roughly
    // (a double line) stays as the file had it.
    LabelFrame stored;
    stored.readFrom(attributes);
    if (stored.sides != sides || !attributes.contains(u"Frame.Typ"))
        attributes.setValue(QStringLiteral("Frame.Typ"), QString::number(sides));
    if (stored.width != width)
        attributes.setNumber(QStringLiteral("Frame.Width"), width);
    if (stored.color != color)
        attributes.setValue(QStringLiteral("Frame.Color"), QString::number(color));
    if (stored.style != style) {
        for (const StyleName &entry : styleNames) {
            if (entry.style == style) {
                attributes.setValue(QStringLiteral("Frame.Style"), QString::fromUtf16(entry.name));
                break;
            }
        }
    }
}
