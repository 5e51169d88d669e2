#include "tickets/LabelObject.h"

#include "tickets/LabelTagTable.h"

#include <cmath>

namespace {
constexpr LabelTag<LabelObject::Kind> kindTags[] = {
    { LabelObject::Kind::Memo, u"TfrxMemoView" },
    { LabelObject::Kind::Line, u"TfrxLineView" },
    { LabelObject::Kind::Shape, u"TfrxShapeView" },
    { LabelObject::Kind::Picture, u"TfrxPictureView" },
};

template<typename Enum, qsizetype N>
Enum enumValue(const LabelAttributes &attributes, QStringView name, const char16_t *const (&names)[N],
               Enum fallback)
{
    const QString text = attributes.value(name);
    for (qsizetype i = 0; i < N; ++i) {
        if (text == QStringView(names[i]))
            return Enum(i);
    }
    return fallback;
}

constexpr const char16_t *hAlignNames[] = { u"haLeft", u"haCenter", u"haRight", u"haBlock" };
constexpr const char16_t *vAlignNames[] = { u"vaTop", u"vaCenter", u"vaBottom" };
constexpr const char16_t *shapeNames[] = { u"skRectangle", u"skRoundRectangle", u"skEllipse",  u"skTriangle",
                                           u"skDiamond",   u"skDiagonal1",      u"skDiagonal2" };
} // namespace

LabelObject::LabelObject(Kind kind)
    : m_kind(kind)
{
}

QString LabelObject::tagName(Kind kind)
{
    return labelTagName(kindTags, kind);
}

std::optional<LabelObject::Kind> LabelObject::kindOfTag(QStringView tag)
{
    return labelKindOfTag(kindTags, tag);
}

QString LabelObject::name() const
{
    return m_attributes.value(u"Name");
}

void LabelObject::setName(const QString &name)
{
    m_attributes.setValue(QStringLiteral("Name"), name);
}

bool LabelObject::isVisible() const
{
    return m_attributes.boolean(u"Visible", true);
}

QRectF LabelObject::geometry() const
{
    return QRectF(m_attributes.number(u"Left", 0), m_attributes.number(u"Top", 0),
                  m_attributes.number(u"Width", 0), m_attributes.number(u"Height", 0));
}

void LabelObject::setGeometry(const QRectF &geometry)
{
    m_attributes.updateNumber(QStringLiteral("Left"), geometry.left());
    m_attributes.updateNumber(QStringLiteral("Top"), geometry.top());
    m_attributes.updateNumber(QStringLiteral("Width"), geometry.width());
    m_attributes.updateNumber(QStringLiteral("Height"), geometry.height());
}

QString LabelObject::text() const
{
    return m_attributes.value(u"Text");
}

void LabelObject::setText(const QString &text)
{
    m_attributes.setValue(QStringLiteral("Text"), text);
}

QString LabelObject::dataField() const
{
    return m_attributes.value(u"DataField");
}

QString LabelObject::dataSetName() const
{
    const QString name = m_attributes.value(u"DataSetName");
    return name.isEmpty() ? m_attributes.value(u"DataSet") : name;
}

bool LabelObject::allowsExpressions() const
{
    return m_attributes.boolean(u"AllowExpressions", true);
}

QString LabelObject::expressionOpen() const
{
    const QString delimiters = m_attributes.value(u"ExpressionDelimiters");
    const qsizetype comma = delimiters.indexOf(u',');
    return comma > 0 ? delimiters.left(comma) : QStringLiteral("[");
}

QString LabelObject::expressionClose() const
{
    const QString delimiters = m_attributes.value(u"ExpressionDelimiters");
    const qsizetype comma = delimiters.indexOf(u',');
    return comma > 0 && comma + 1 < delimiters.size() ? delimiters.mid(comma + 1) : QStringLiteral("]");
}

LabelFont LabelObject::font(const LabelAttributes &parent) const
{
    LabelFont font;
    if (m_attributes.boolean(u"ParentFont", true))
        font.readFrom(parent);
    font.readFrom(m_attributes);
    return font;
}

void LabelObject::setFont(const LabelFont &font)
{
    font.writeTo(m_attributes);
    m_attributes.setBoolean(QStringLiteral("ParentFont"), false);
}

LabelObject::HAlign LabelObject::hAlign() const
{
    return enumValue(m_attributes, u"HAlign", hAlignNames, HAlign::Left);
}

void LabelObject::setHAlign(HAlign align)
{
    m_attributes.setValue(QStringLiteral("HAlign"), QString::fromUtf16(hAlignNames[int(align)]));
}

LabelObject::VAlign LabelObject::vAlign() const
{
    return enumValue(m_attributes, u"VAlign", vAlignNames, VAlign::Top);
}

void LabelObject::setVAlign(VAlign align)
{
    m_attributes.setValue(QStringLiteral("VAlign"), QString::fromUtf16(vAlignNames[int(align)]));
}

bool LabelObject::wordWrap() const
{
    return m_attributes.boolean(u"WordWrap", true);
}

void LabelObject::setWordWrap(bool wrap)
{
    m_attributes.setBoolean(QStringLiteral("WordWrap"), wrap);
}

bool LabelObject::isClipped() const
{
    return m_attributes.boolean(u"Clipped", true);
}

bool LabelObject::isRightToLeft() const
{
    return m_attributes.boolean(u"RTLReading", false);
}

double LabelObject::gapX() const
{
    return m_attributes.number(u"GapX", 2);
}

double LabelObject::gapY() const
{
    return m_attributes.number(u"GapY", 1);
}

double LabelObject::lineSpacing() const
{
    return m_attributes.number(u"LineSpacing", 2);
}

LabelFrame LabelObject::frame() const
{
    LabelFrame frame;
    frame.readFrom(m_attributes);
    return frame;
}

void LabelObject::setFrame(const LabelFrame &frame)
{
    frame.writeTo(m_attributes);
}

qint64 LabelObject::fillColor() const
{
    return LabelColor::fillOf(m_attributes);
}

void LabelObject::setFillColor(qint64 color)
{
    m_attributes.setValue(QStringLiteral("Color"), QString::number(color));
    if (m_attributes.contains(u"Fill.BackColor"))
        m_attributes.setValue(QStringLiteral("Fill.BackColor"), QString::number(color));
}

LabelObject::Shape LabelObject::shape() const
{
    return enumValue(m_attributes, u"Shape", shapeNames, Shape::Rectangle);
}

QByteArray LabelObject::pictureData() const
{
    // The stored picture: a length-prefixed class name, then the image itself.
    const QByteArray bytes = QByteArray::fromHex(m_attributes.value(u"Picture.PropData").toLatin1());
    if (bytes.isEmpty())
        return {};
    const int nameLength = quint8(bytes.at(0));
    return bytes.mid(1 + nameLength);
}

LabelObject LabelObject::newMemo(const QString &name, const QRectF &geometry)
{
    LabelObject memo(Kind::Memo);
    memo.setName(name);
    memo.setGeometry(geometry);
    LabelFont font;
    font.color = LabelColor::WindowText;
    memo.setFont(font);
    memo.m_attributes.setValue(QStringLiteral("Frame.Typ"), QStringLiteral("0"));
    memo.setText(QString());
    return memo;
}
