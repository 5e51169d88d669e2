#pragma once

#include "tickets/LabelDataset.h"
#include "tickets/LabelReport.h"
#include "tickets/PreparedLabel.h"

#include <QDate>
#include <QImage>

class QPageLayout;
class QPagedPaintDevice;
class QPainter;

/// Runs a layout over its datasets and paints the result.
///
/// Each page of the layout starts a page of paper. Within the margins, its
/// bands follow each other from the top: the report title once per run
/// (before the page header, on the first page), the page header on every
/// page, each master data band once per row of its dataset (once per
/// RowCount when it is bound to none, so never for RowCount 0), the report
/// summary once at the end, and the page footer at the foot of every page. A
/// band that does not fit below the last one goes to a new page.
class LabelRenderer
{
public:
    /// Throws StationError for a band bound to a dataset that is not there or
    /// a text that shows a field that is not there.
    static PreparedLabel prepare(const LabelReport &report, const QList<LabelDataset> &datasets,
                                 QDate date = QDate::currentDate());

    /// Paints a page with the painter's unit being a pixel of 1/96 inch and
    /// its origin the paper's corner. Paints nothing where there is nothing
    /// (no white paper).
    static void paintPage(QPainter &painter, const PreparedLabel::Page &page);

    /// One object, at its geometry, showing text; what the designer draws too.
    static void paintObject(QPainter &painter, const LabelObject &object, const LabelFont &font,
                            const QString &text);

    /// The exact paper of a page, without margins.
    static QPageLayout pageLayout(const PreparedLabel::Page &page);
    /// Paints every page on a paged device (a printer, a PDF file), each on
    /// its own paper. The device is set to the first page's paper first.
    /// False when the device cannot be painted on or does not finish.
    static bool paintPages(QPagedPaintDevice &device, const PreparedLabel &label);

    /// A page as an image of the paper at dpi dots per inch, on white.
    static QImage renderImage(const PreparedLabel::Page &page, double dpi);

    /// Millimetres to pixels of 1/96 inch and back.
    static constexpr double pixelsPerMm = 96.0 / 25.4;
};
