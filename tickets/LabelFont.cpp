#include "tickets/LabelFont.h"

#include "tickets/LabelAttributes.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <cmath>

double LabelFont::characterHeight() const
{
    if (height < 0)
        return -height;
    if (height == 0)
        return 13;
    // A cell height: take off the internal leading the way the font itself has it.
    QFont probe(substituteFamily(name));
    probe.setPixelSize(100);
    return height * 100.0 / QFontMetricsF(probe).height();
}

QString LabelFont::substituteFamily(const QString &name)
{
    // Windows families that labels name, and the faces of the same metrics
    // that Debian ships.
    static const QHash<QString, QString> substitutes = {
        { QStringLiteral("arial"), QStringLiteral("Liberation Sans") },
        { QStringLiteral("helvetica"), QStringLiteral("Liberation Sans") },
        { QStringLiteral("times new roman"), QStringLiteral("Liberation Serif") },
        { QStringLiteral("courier new"), QStringLiteral("Liberation Mono") },
        { QStringLiteral("calibri"), QStringLiteral("Carlito") },
        { QStringLiteral("tahoma"), QStringLiteral("DejaVu Sans") },
        { QStringLiteral("arabic transparent"), QStringLiteral("Noto Sans Arabic") },
    };
    if (QFontDatabase::hasFamily(name))
        return name;
    return substitutes.value(name.toLower(), name);
}

QFont LabelFont::toQFont() const
{
    QFont font(substituteFamily(name));
    // Pixel sizes, so that the size follows the painter's scale and not the
    // resolution of whatever device is painted on.
    font.setPixelSize(qMax(1, qRound(characterHeight())));
    font.setBold(style & Bold);
    font.setItalic(style & Italic);
    font.setUnderline(style & Underline);
    font.setStrikeOut(style & StrikeOut);
    // Exact shapes and advances, as the label printer will get them.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    return font;
}

void LabelFont::readFrom(const LabelAttributes &attributes)
{
    if (attributes.contains(u"Font.Name"))
        name = attributes.value(u"Font.Name");
    if (const auto value = attributes.number(u"Font.Height"))
        height = int(std::lround(*value));
    if (const auto value = attributes.number(u"Font.Style"))
        style = int(std::lround(*value)) & 0xF;
    if (const auto value = attributes.number(u"Font.Color"))
        color = qint64(std::llround(*value));
}

void LabelFont::writeTo(LabelAttributes &attributes) const
{
    // Only what differs is written; a font of its own (ParentFont) always names
    // all four, since the band's font no longer applies.
    LabelFont stored;
    stored.readFrom(attributes);
    if (stored.color != color || !attributes.contains(u"Font.Color"))
        attributes.setValue(QStringLiteral("Font.Color"), QString::number(color));
    if (stored.height != height || !attributes.contains(u"Font.Height"))
        attributes.setValue(QStringLiteral("Font.Height"), QString::number(height));
    if (stored.name != name || !attributes.contains(u"Font.Name"))
        attributes.setValue(QStringLiteral("Font.Name"), name);
    if (stored.style != style || !attributes.contains(u"Font.Style"))
        attributes.setValue(QStringLiteral("Font.Style"), QString::number(style));
}
