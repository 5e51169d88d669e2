#pragma once

#include "tickets/LabelColor.h"

#include <Qt>

class LabelAttributes;

/// The frame of an object or a band (Frame.Typ, Frame.Width, Frame.Color,
/// Frame.Style): which sides have a line, and how it looks.
struct LabelFrame
{
    enum Side { Left = 1, Right = 2, Top = 4, Bottom = 8, All = 15 };

    int sides = 0;
    double width = 1; ///< pixels of 1/96 inch
    qint64 color = LabelColor::Black;
    Qt::PenStyle style = Qt::SolidLine;

    void readFrom(const LabelAttributes &attributes);
    /// Writes the properties that differ from what attributes hold (and Frame.Typ always).
    void writeTo(LabelAttributes &attributes) const;

    bool operator==(const LabelFrame &) const = default;
};
