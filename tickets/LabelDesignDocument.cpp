#include "tickets/LabelDesignDocument.h"

#include "app/StationError.h"
#include "tickets/LabelEditCommands.h"
#include "tickets/LabelLayoutFile.h"
#include "tickets/TicketReport.h"

#include <QSet>
#include <cmath>

LabelDesignDocument::LabelDesignDocument(LabelReport report, QString fileName, QObject *parent)
    : QObject(parent)
    , m_report(std::move(report))
    , m_fileName(std::move(fileName))
{
    if (m_report.pages().size() == 0) {
        m_report.pages().append(LabelPage::newPage(QStringLiteral("Page1")));
        m_report.addDataset(TicketReport::datasetComponentName(), TicketReport::datasetName());
    }
}

void LabelDesignDocument::save()
{
    if (m_fileName.isEmpty())
        throw StationError(QStringLiteral("The label layout has no file name yet."));
    LabelLayoutFile::write(m_report, m_fileName);
    m_undoStack.setClean();
}

void LabelDesignDocument::saveAs(const QString &path)
{
    LabelLayoutFile::write(m_report, path);
    m_fileName = path;
    m_undoStack.setClean();
}

const LabelBand &LabelDesignDocument::band(const LabelElementRef &ref) const
{
    return m_report.pages().at(ref.page).bands().at(ref.band);
}

const LabelObject &LabelDesignDocument::object(const LabelElementRef &ref) const
{
    return band(ref).objects().at(ref.object);
}

const LabelAttributes &LabelDesignDocument::attributes(const LabelElementRef &ref) const
{
    if (ref.isObject())
        return object(ref).attributes();
    if (ref.isBand())
        return band(ref).attributes();
    return page(ref.page).attributes();
}

LabelAttributes &LabelDesignDocument::attributesForEdit(const LabelElementRef &ref)
{
    LabelPage &page = m_report.pages()[ref.page];
    if (ref.band < 0)
        return page.attributes();
    LabelBand &band = page.bands()[ref.band];
    if (ref.object < 0)
        return band.attributes();
    return band.objects()[ref.object].attributes();
}

QList<LabelElementRef> LabelDesignDocument::objects(int pageIndex) const
{
    QList<LabelElementRef> refs;
    const LabelPage &page = this->page(pageIndex);
    for (int b = 0; b < page.bands().size(); ++b) {
        for (int o = 0; o < page.bands().at(b).objects().size(); ++o)
            refs.append({ pageIndex, b, o });
    }
    return refs;
}

bool LabelDesignDocument::isValid(const LabelElementRef &ref) const
{
    if (ref.page < 0 || ref.page >= m_report.pages().size())
        return false;
    if (ref.band < 0)
        return ref.object < 0;
    const LabelPage &page = this->page(ref.page);
    if (ref.band >= page.bands().size())
        return false;
    return ref.object < page.bands().at(ref.band).objects().size();
}

QList<LabelElementRef> LabelDesignDocument::validObjects(const QList<LabelElementRef> &refs) const
{
    QList<LabelElementRef> valid;
    for (const LabelElementRef &ref : refs) {
        if (ref.isObject() && isValid(ref) && !valid.contains(ref))
            valid.append(ref);
    }
    return valid;
}

void LabelDesignDocument::setGeometry(const QList<LabelElementRef> &refs, const QList<QRectF> &geometries,
                                      int mergeKey)
{
    QList<LabelElementRef> valid;
    QList<QRectF> rects;
    for (qsizetype i = 0; i < refs.size() && i < geometries.size(); ++i) {
        if (refs.at(i).isObject() && isValid(refs.at(i)) && !valid.contains(refs.at(i))) {
            valid.append(refs.at(i));
            // Figures as the layout file writes them: five decimals of a pixel.
            const QRectF &r = geometries.at(i);
            const auto round = [](double v) { return std::round(v * 1e5) / 1e5; };
            rects.append(QRectF(round(r.x()), round(r.y()), round(qMax(0.0, r.width())),
                                round(qMax(0.0, r.height()))));
        }
    }
    if (!valid.isEmpty())
        m_undoStack.push(new MoveResizeCommand(this, valid, rects, mergeKey));
}

void LabelDesignDocument::setText(const LabelElementRef &ref, const QString &text)
{
    if (ref.isObject() && isValid(ref))
        m_undoStack.push(new EditTextCommand(this, ref, text));
}

void LabelDesignDocument::setFont(const QList<LabelElementRef> &refs, const LabelFont &font)
{
    if (const auto valid = validObjects(refs); !valid.isEmpty())
        m_undoStack.push(new ChangeFontCommand(this, valid, font));
}

void LabelDesignDocument::setAlignment(const QList<LabelElementRef> &refs, LabelObject::HAlign hAlign,
                                       LabelObject::VAlign vAlign, bool wordWrap)
{
    if (const auto valid = validObjects(refs); !valid.isEmpty())
        m_undoStack.push(new ChangeAlignmentCommand(this, valid, hAlign, vAlign, wordWrap));
}

void LabelDesignDocument::setFrame(const QList<LabelElementRef> &refs, const LabelFrame &frame)
{
    if (const auto valid = validObjects(refs); !valid.isEmpty())
        m_undoStack.push(new ChangeFrameCommand(this, valid, frame));
}

void LabelDesignDocument::setFillColor(const QList<LabelElementRef> &refs, qint64 color)
{
    if (const auto valid = validObjects(refs); !valid.isEmpty())
        m_undoStack.push(new ChangeFillCommand(this, valid, color));
}

LabelElementRef LabelDesignDocument::addText(int pageIndex, int bandIndex, const QRectF &geometry,
                                             const QString &text)
{
    LabelObject memo = LabelObject::newMemo(uniqueName(QStringLiteral("Memo")), geometry);
    memo.setText(text);
    const LabelPage &page = this->page(pageIndex);
    std::optional<LabelBand> newBand;
    if (bandIndex < 0 || bandIndex >= page.bands().size()) {
        // A text needs a band; a page without one gets a report title that
        // fills its printable height.
        LabelBand title(LabelBand::Kind::ReportTitle);
        title.setName(uniqueName(QStringLiteral("ReportTitle")));
        const double printable = page.paperSize().height() - page.margins().top() - page.margins().bottom();
        title.setHeight(std::round(printable * 96 / 25.4 * 1e5) / 1e5);
        newBand = title;
        bandIndex = int(page.bands().size());
    }
    const LabelElementRef ref { pageIndex, bandIndex,
                                newBand ? 0 : int(page.bands().at(bandIndex).objects().size()) };
    m_undoStack.push(new AddObjectCommand(this, ref, memo, newBand));
    return ref;
}

void LabelDesignDocument::deleteObjects(const QList<LabelElementRef> &refs)
{
    if (const auto valid = validObjects(refs); !valid.isEmpty())
        m_undoStack.push(new DeleteObjectsCommand(this, valid));
}

void LabelDesignDocument::setPage(int pageIndex, const QSizeF &paperSize, const QMarginsF &margins,
                                  bool landscape)
{
    if (pageIndex >= 0 && pageIndex < m_report.pages().size())
        m_undoStack.push(new ChangePageCommand(this, pageIndex, paperSize, margins, landscape));
}

void LabelDesignDocument::setBandHeight(const LabelElementRef &band, double height)
{
    if (band.isBand() && isValid(band))
        m_undoStack.push(new ChangeBandHeightCommand(this, band, std::round(qMax(0.0, height) * 1e5) / 1e5));
}

QString LabelDesignDocument::uniqueName(const QString &base) const
{
    QSet<QString> names;
    for (const LabelPage &page : m_report.pages().items()) {
        names.insert(page.name());
        for (const LabelBand &band : page.bands().items()) {
            names.insert(band.name());
            for (const LabelObject &object : band.objects().items())
                names.insert(object.name());
        }
    }
    for (int i = 1;; ++i) {
        const QString name = base + QString::number(i);
        if (!names.contains(name))
            return name;
    }
}
