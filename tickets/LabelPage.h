#pragma once

#include "tickets/LabelAttributes.h"
#include "tickets/LabelBand.h"
#include "tickets/LabelChildList.h"

#include <QMarginsF>
#include <QSizeF>

/// A page of a layout: the paper size and margins in millimetres, and its
/// bands.
class LabelPage
{
public:
    /// Paper size codes as layouts store them.
    static constexpr int PaperA4 = 9;
    static constexpr int PaperCustom = 256;

    const LabelAttributes &attributes() const { return m_attributes; }
    LabelAttributes &attributes() { return m_attributes; }
    const LabelChildList<LabelBand> &bands() const { return m_bands; }
    LabelChildList<LabelBand> &bands() { return m_bands; }

    QString name() const;
    void setName(const QString &name);

    /// Millimetres, as the page is printed (already turned for landscape).
    QSizeF paperSize() const;
    void setPaperSize(const QSizeF &size);
    int paperSizeCode() const;
    bool isLandscape() const;
    void setLandscape(bool landscape);
    /// Millimetres.
    QMarginsF margins() const;
    void setMargins(const QMarginsF &margins);

    /// A new page with the designer's defaults: A4 portrait, margins of 10 mm.
    static LabelPage newPage(const QString &name);

    bool operator==(const LabelPage &) const = default;

private:
    LabelAttributes m_attributes;
    LabelChildList<LabelBand> m_bands;
};
