#include "tickets/LabelRenderer.h"

#include "app/StationError.h"
#include "tickets/LabelText.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace {

class Preparer
{
public:
    Preparer(const QList<LabelDataset> &datasets, QDate date)
    {
        m_context.datasets = &datasets;
        m_context.rows = QList<int>(datasets.size(), 0);
        m_context.date = date;
    }

    PreparedLabel run(const LabelReport &report)
    {
        for (const LabelPage &page : report.pages().items())
            runPage(page, report);
        // Page numbers are known once every page is made; texts that show the
        // count are evaluated again on a second pass.
        if (m_needsTotal) {
            const int total = int(m_result.pages.size());
            for (Pending &pending : m_pending) {
                LabelText::Context context = pending.context;
                context.totalPages = total;
                m_result.pages[pending.page].items[pending.item].text
                    = LabelText::evaluate(pending.memo, context);
            }
        }
        return m_result;
    }

private:
    struct Pending
    {
        qsizetype page;
        qsizetype item;
        LabelObject memo;
        LabelText::Context context;
    };

    void runPage(const LabelPage &page, const LabelReport &report)
    {
        Q_UNUSED(report);
        m_page = &page;
        const QSizeF paper = page.paperSize() * LabelRenderer::pixelsPerMm;
        const QMarginsF margins = page.margins() * LabelRenderer::pixelsPerMm;
        m_area = QRectF(QPointF(margins.left(), margins.top()),
                        QPointF(paper.width() - margins.right(), paper.height() - margins.bottom()));
        m_footerHeight = 0;
        for (const LabelBand &band : bandsOf(LabelBand::Kind::PageFooter))
            m_footerHeight += band.height();

        const bool titleBeforeHeader = page.attributes().boolean(u"TitleBeforeHeader", true);
        newPage(!titleBeforeHeader);
        for (const LabelBand &band : bandsOf(LabelBand::Kind::ReportTitle))
            place(band);
        if (titleBeforeHeader) {
            for (const LabelBand &band : bandsOf(LabelBand::Kind::PageHeader))
                place(band);
        }
        for (const LabelBand &band : bandsOf(LabelBand::Kind::MasterData))
            runMasterData(band);
        for (const LabelBand &band : bandsOf(LabelBand::Kind::ReportSummary))
            place(band);
        finishPage();
    }

    QList<LabelBand> bandsOf(LabelBand::Kind kind) const
    {
        QList<LabelBand> bands;
        for (const LabelBand &band : m_page->bands().items()) {
            if (band.kind() == kind && band.isVisible())
                bands.append(band);
        }
        return bands;
    }

    void runMasterData(const LabelBand &band)
    {
        const QString name = band.dataSetName();
        if (name.isEmpty()) {
            for (int i = 0; i < band.rowCount(); ++i) {
                m_context.line = i + 1;
                place(band);
            }
            m_context.line = 1;
            return;
        }
        const QList<LabelDataset> &datasets = *m_context.datasets;
        for (qsizetype d = 0; d < datasets.size(); ++d) {
            if (!datasets.at(d).isNamed(name))
                continue;
            for (int row = 0; row < datasets.at(d).rowCount(); ++row) {
                m_context.rows[d] = row;
                m_context.line = row + 1;
                place(band);
            }
            // Bands after this one read the first row again, as the title does.
            m_context.rows[d] = 0;
            m_context.line = 1;
            return;
        }
        throw StationError(
            QStringLiteral("The band \"%1\" of the label runs over the dataset \"%2\", which the station "
                           "does not have.")
                .arg(band.name(), name));
    }

    void newPage(bool withHeader)
    {
        PreparedLabel::Page page;
        page.paperSize = m_page->paperSize();
        page.landscape = m_page->isLandscape();
        m_result.pages.append(page);
        m_context.page = int(m_result.pages.size());
        m_y = m_area.top();
        m_bandsOnPage = 0;
        if (withHeader) {
            for (const LabelBand &band : bandsOf(LabelBand::Kind::PageHeader))
                put(band);
            m_bandsOnPage = 0;
        }
    }

    void finishPage()
    {
        double y = m_area.bottom() - m_footerHeight;
        for (const LabelBand &band : bandsOf(LabelBand::Kind::PageFooter)) {
            put(band, y);
            y += band.height();
        }
    }

    // A band below the last one, on a new page when it does not fit (unless
    // the page holds nothing else yet: then it is printed cut).
    void place(const LabelBand &band)
    {
        if (m_bandsOnPage > 0 && m_y + band.height() > m_area.bottom() - m_footerHeight + 0.001) {
            finishPage();
            newPage(true);
        }
        put(band);
        ++m_bandsOnPage;
    }

    void put(const LabelBand &band) { m_y = put(band, m_y); }

    double put(const LabelBand &band, double y)
    {
        PreparedLabel::Page &page = m_result.pages.last();
        const QRectF rect(m_area.left(), y, m_area.width(), band.height());
        if (LabelColor::toQColor(band.fillColor()).isValid() || band.frame().sides != 0)
            page.bands.append({ rect, band.fillColor(), band.frame() });
        for (const LabelObject &object : band.objects().items()) {
            if (!object.isVisible())
                continue;
            PreparedLabel::Item item { object, object.font(band.attributes()), QString() };
            item.object.setGeometry(object.geometry().translated(rect.topLeft()));
            if (object.kind() == LabelObject::Kind::Memo) {
                item.text = LabelText::evaluate(object, m_context);
                if (object.text().contains(u"TotalPages", Qt::CaseInsensitive)) {
                    m_needsTotal = true;
                    m_pending.append({ m_result.pages.size() - 1, page.items.size(), object, m_context });
                }
            }
            page.items.append(item);
        }
        return y + band.height();
    }

    LabelText::Context m_context;
    PreparedLabel m_result;
    const LabelPage *m_page = nullptr;
    QRectF m_area;
    double m_footerHeight = 0;
    double m_y = 0;
    int m_bandsOnPage = 0;
    bool m_needsTotal = false;
    QList<Pending> m_pending;
};

Qt::Alignment horizontalAlignment(LabelObject::HAlign align)
{
    switch (align) {
    case LabelObject::HAlign::Left:
        return Qt::AlignLeft | Qt::AlignAbsolute;
    case LabelObject::HAlign::Center:
        return Qt::AlignHCenter;
    case LabelObject::HAlign::Right:
        return Qt::AlignRight | Qt::AlignAbsolute;
    case LabelObject::HAlign::Block:
        return Qt::AlignJustify;
    }
    return Qt::AlignLeft;
}

void paintFrame(QPainter &painter, const QRectF &rect, const LabelFrame &frame)
{
    const QColor color = LabelColor::toQColor(frame.color);
    if (frame.sides == 0 || !color.isValid())
        return;
    QPen pen(color, frame.width, frame.style, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (frame.sides & LabelFrame::Left)
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
    if (frame.sides & LabelFrame::Right)
        painter.drawLine(rect.topRight(), rect.bottomRight());
    if (frame.sides & LabelFrame::Top)
        painter.drawLine(rect.topLeft(), rect.topRight());
    if (frame.sides & LabelFrame::Bottom)
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
}

void paintFill(QPainter &painter, const QRectF &rect, qint64 colorValue)
{
    const QColor color = LabelColor::toQColor(colorValue);
    if (color.isValid())
        painter.fillRect(rect, color);
}

void paintText(QPainter &painter, const QRectF &rect, const LabelObject &memo, const LabelFont &font,
               const QString &text)
{
    const QRectF inner = rect.adjusted(memo.gapX(), memo.gapY(), -memo.gapX(), -memo.gapY());
    const QFont qfont = font.toQFont();
    QTextOption option;
    option.setWrapMode(memo.wordWrap() ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setAlignment(horizontalAlignment(memo.hAlign()));
    option.setUseDesignMetrics(true);

    // One layout per paragraph: each takes its own reading order from its
    // text (an Arabic article reads right to left inside its box), unless the
    // object says right to left for all.
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList paragraphs = normalized.split(u'\n');
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    double height = 0;
    const double spacing = memo.lineSpacing();
    for (const QString &paragraph : paragraphs) {
        auto layout = std::make_unique<QTextLayout>(paragraph, qfont);
        option.setTextDirection(memo.isRightToLeft() || paragraph.isRightToLeft() ? Qt::RightToLeft
                                                                                  : Qt::LeftToRight);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(qMax(0.0, inner.width()));
            line.setPosition(QPointF(0, height));
            height += line.height() + spacing;
        }
        layout->endLayout();
        layouts.push_back(std::move(layout));
    }
    height = qMax(0.0, height - spacing);

    double top = inner.top();
    if (memo.vAlign() == LabelObject::VAlign::Center)
        top += (inner.height() - height) / 2;
    else if (memo.vAlign() == LabelObject::VAlign::Bottom)
        top += inner.height() - height;

    painter.setPen(LabelColor::toQColor(font.color).isValid() ? LabelColor::toQColor(font.color)
                                                              : QColor(Qt::black));
    for (const auto &layout : layouts)
        layout->draw(&painter, QPointF(inner.left(), top));
}

void paintShape(QPainter &painter, const QRectF &rect, const LabelObject &shape)
{
    const LabelFrame frame = shape.frame();
    const QColor line = LabelColor::toQColor(frame.color);
    painter.setPen(line.isValid() ? QPen(line, frame.width, frame.style) : QPen(Qt::NoPen));
    const QColor fill = LabelColor::toQColor(shape.fillColor());
    painter.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    switch (shape.shape()) {
    case LabelObject::Shape::Rectangle:
        painter.drawRect(rect);
        break;
    case LabelObject::Shape::RoundRectangle: {
        const double radius = qMin(rect.width(), rect.height()) / 4;
        painter.drawRoundedRect(rect, radius, radius);
        break;
    }
    case LabelObject::Shape::Ellipse:
        painter.drawEllipse(rect);
        break;
    case LabelObject::Shape::Triangle:
        painter.drawPolygon(
            QPolygonF({ QPointF(rect.center().x(), rect.top()), rect.bottomRight(), rect.bottomLeft() }));
        break;
    case LabelObject::Shape::Diamond:
        painter.drawPolygon(QPolygonF(
            { QPointF(rect.center().x(), rect.top()), QPointF(rect.right(), rect.center().y()),
              QPointF(rect.center().x(), rect.bottom()), QPointF(rect.left(), rect.center().y()) }));
        break;
    case LabelObject::Shape::Diagonal1:
        painter.drawLine(rect.bottomLeft(), rect.topRight());
        break;
    case LabelObject::Shape::Diagonal2:
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        break;
    }
}

void paintPicture(QPainter &painter, const QRectF &rect, const LabelObject &picture)
{
    const QByteArray data = picture.pictureData();
    QImage image = QImage::fromData(data);
    if (image.isNull() && data.size() > 4)
        image = QImage::fromData(data.mid(4)); // bitmaps carry their size first
    if (image.isNull())
        return;
    QRectF target = rect;
    if (picture.attributes().boolean(u"KeepAspectRatio", true)) {
        const QSizeF size = QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatio);
        target = QRectF(rect.topLeft(), size);
        if (picture.attributes().boolean(u"Center", false))
            target.moveCenter(rect.center());
    }
    painter.drawImage(target, image);
}

} // namespace

PreparedLabel LabelRenderer::prepare(const LabelReport &report, const QList<LabelDataset> &datasets,
                                     QDate date)
{
    return Preparer(datasets, date).run(report);
}

void LabelRenderer::paintObject(QPainter &painter, const LabelObject &object, const LabelFont &font,
                                const QString &text)
{
    const QRectF rect = object.geometry();
    painter.save();
    switch (object.kind()) {
    case LabelObject::Kind::Memo:
        paintFill(painter, rect, object.fillColor());
        painter.save();
        if (object.isClipped())
            painter.setClipRect(rect, Qt::IntersectClip);
        paintText(painter, rect, object, font, text);
        painter.restore();
        paintFrame(painter, rect, object.frame());
        break;
    case LabelObject::Kind::Line: {
        const LabelFrame frame = object.frame();
        const QColor color = LabelColor::toQColor(frame.color);
        if (color.isValid()) {
            painter.setPen(QPen(color, frame.width, frame.style, Qt::FlatCap));
            painter.drawLine(rect.topLeft(), rect.bottomRight());
        }
        break;
    }
    case LabelObject::Kind::Shape:
        paintShape(painter, rect, object);
        break;
    case LabelObject::Kind::Picture:
        paintFill(painter, rect, object.fillColor());
        paintPicture(painter, rect, object);
        paintFrame(painter, rect, object.frame());
        break;
    }
    painter.restore();
}

void LabelRenderer::paintPage(QPainter &painter, const PreparedLabel::Page &page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const PreparedLabel::Band &band : page.bands) {
        paintFill(painter, band.rect, band.fillColor);
        paintFrame(painter, band.rect, band.frame);
    }
    for (const PreparedLabel::Item &item : page.items)
        paintObject(painter, item.object, item.font, item.text);
    painter.restore();
}

QPageLayout LabelRenderer::pageLayout(const PreparedLabel::Page &page)
{
    const QPageSize size(page.paperSize, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool LabelRenderer::paintPages(QPagedPaintDevice &device, const PreparedLabel &label)
{
    if (label.isEmpty())
        return true;
    device.setPageLayout(pageLayout(label.pages.first()));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (qsizetype i = 0; i < label.pages.size(); ++i) {
        if (i > 0) {
            device.setPageLayout(pageLayout(label.pages.at(i)));
            device.newPage();
        }
        painter.save();
        const double scale = device.logicalDpiX() / 96.0;
        painter.scale(scale, scale);
        paintPage(painter, label.pages.at(i));
        painter.restore();
    }
    return painter.end();
}

QImage LabelRenderer::renderImage(const PreparedLabel::Page &page, double dpi)
{
    const QSize size(qMax(1, int(std::lround(page.paperSize.width() / 25.4 * dpi))),
                     qMax(1, int(std::lround(page.paperSize.height() / 25.4 * dpi))));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(dpi / 96.0, dpi / 96.0);
    paintPage(painter, page);
    painter.end();
    return image;
}
