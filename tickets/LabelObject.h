#pragma once

#include "tickets/LabelAttributes.h"
#include "tickets/LabelFont.h"
#include "tickets/LabelFrame.h"

#include <QRectF>
#include <QStringList>
#include <optional>

/// One object of a band: a text (memo), a line, a shape or a picture, with
/// its position relative to the band in pixels of 1/96 inch.
class LabelObject
{
public:
    enum class Kind { Memo, Line, Shape, Picture };
    enum class HAlign { Left, Center, Right, Block };
    enum class VAlign { Top, Center, Bottom };

    explicit LabelObject(Kind kind = Kind::Memo);

    /// The element name of a kind, and back; nothing for an element that is no object.
    static QString tagName(Kind kind);
    static std::optional<Kind> kindOfTag(QStringView tag);

    Kind kind() const { return m_kind; }
    QString tagName() const { return tagName(m_kind); }

    const LabelAttributes &attributes() const { return m_attributes; }
    LabelAttributes &attributes() { return m_attributes; }
    /// Child elements of the object (formats, highlights, ...), kept as read.
    const QStringList &unknownChildren() const { return m_unknownChildren; }
    void appendUnknownChild(QString xml) { m_unknownChildren.append(std::move(xml)); }

    QString name() const;
    void setName(const QString &name);
    bool isVisible() const;

    QRectF geometry() const;
    void setGeometry(const QRectF &geometry);

    // Text objects.
    QString text() const;
    void setText(const QString &text);
    /// The field a text object shows instead of its text (DataField, with
    /// DataSetName or DataSet); empty when it is not bound.
    QString dataField() const;
    QString dataSetName() const;
    /// Whether [expressions] in the text are evaluated, and their delimiters.
    bool allowsExpressions() const;
    QString expressionOpen() const;
    QString expressionClose() const;
    /// The object's font, the band's where the object takes its parent's font.
    LabelFont font(const LabelAttributes &parent) const;
    LabelFont font() const { return font(LabelAttributes()); }
    /// Sets a font of the object's own.
    void setFont(const LabelFont &font);
    HAlign hAlign() const;
    void setHAlign(HAlign align);
    VAlign vAlign() const;
    void setVAlign(VAlign align);
    bool wordWrap() const;
    void setWordWrap(bool wrap);
    bool isClipped() const;
    bool isRightToLeft() const;
    /// Space between the box and its text, in pixels.
    double gapX() const;
    double gapY() const;
    double lineSpacing() const;

    // Every kind.
    LabelFrame frame() const;
    void setFrame(const LabelFrame &frame);
    /// The fill colour; LabelColor::None for no fill.
    qint64 fillColor() const;
    void setFillColor(qint64 color);

    // Shapes and pictures.
    enum class Shape { Rectangle, RoundRectangle, Ellipse, Triangle, Diamond, Diagonal1, Diagonal2 };
    Shape shape() const;
    /// The picture's image data as stored (Picture.PropData decoded); empty when none.
    QByteArray pictureData() const;

    /// A new text object with the defaults of the designer: Arial with a
    /// character height of 13 pixels in the window text colour, no frame.
    static LabelObject newMemo(const QString &name, const QRectF &geometry);

    bool operator==(const LabelObject &) const = default;

private:
    Kind m_kind;
    LabelAttributes m_attributes;
    QStringList m_unknownChildren;
};
