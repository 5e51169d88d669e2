#pragma once

#include "tickets/LabelColor.h"

#include <QFont>
#include <QString>

class LabelAttributes;

/// The font of a text object as a layout stores it (Font.Name, Font.Height,
/// Font.Style, Font.Color).
struct LabelFont
{
    enum Style { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    QString name = QStringLiteral("Arial");
    /// Minus the character height in pixels of 1/96 inch; a positive value is
    /// the height of the whole cell, internal leading included.
    int height = -13;
    int style = 0;
    qint64 color = LabelColor::Black;

    /// Character height in pixels of 1/96 inch.
    double characterHeight() const;

    /// The font to paint with, in a coordinate system of 1/96-inch pixels. A
    /// family missing on this machine is replaced by its metric-compatible
    /// stand-in (Arial by Liberation Sans, and so on).
    QFont toQFont() const;

    /// Reads the Font.* attributes present in attributes over this font.
    void readFrom(const LabelAttributes &attributes);
    /// Writes all four Font.* attributes, changing the text of those that differ.
    void writeTo(LabelAttributes &attributes) const;

    /// The family that stands in for name on this machine.
    static QString substituteFamily(const QString &name);

    bool operator==(const LabelFont &) const = default;
};
