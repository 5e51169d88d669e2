#include "tickets/LabelLayoutFile.h"

#include "app/StationError.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <cmath>

namespace {

const QString reportTag = QStringLiteral("TfrxReport");
const QString pageTag = QStringLiteral("TfrxReportPage");
const QString datasetsTag = QStringLiteral("Datasets");

// The limits past which a figure is taken for damage rather than design.
constexpr double maxPaperMm = 2000; // more than A0's long side
constexpr double maxLengthPx = 100000; // about 26 m
constexpr double maxFontPx = 1000;

// The text without the blanks that XML counts as white space at its ends.
QString withoutXmlBlanks(QStringView text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin).toString();
}

class Reader
{
public:
    Reader(const QString &source, const QString &fileName)
        : m_source(source)
        , m_fileName(fileName)
        , m_xml(source)
    {
    }

    LabelReport readReport()
    {
        while (!m_xml.atEnd() && m_xml.readNext() != QXmlStreamReader::StartElement) { }
        if (m_xml.hasError())
            throwNotXml();
        if (m_xml.tokenType() != QXmlStreamReader::StartElement)
            fail(QStringLiteral("it holds no XML element"));
        if (m_xml.name() != reportTag) {
            fail(QStringLiteral("its root element is <%1>, not <%2>, so it is no label layout")
                     .arg(m_xml.name(), reportTag));
        }
        LabelReport report;
        report.attributes() = attributes();
        checkNumber(report.attributes(), u"PrintOptions.Copies", 0, 999, QStringLiteral("the report"));
        readChildren(report.pages(), [&](LabelChildList<LabelPage> &pages) {
            if (m_xml.name() == pageTag) {
                pages.append(readPage());
                return true;
            }
            if (m_xml.name() == datasetsTag && !report.hasDatasetList())
                return readDatasets(report);
            return false;
        });
        // What follows the root may only be comments and white space; anything
        // else is an error that QXmlStreamReader reports.
        while (!m_xml.atEnd())
            m_xml.readNext();
        if (m_xml.hasError())
            throwNotXml();
        return report;
    }

private:
    [[noreturn]] void fail(const QString &why) const
    {
        throw StationError(QStringLiteral("The label layout \"%1\" is damaged: %2.")
                               .arg(QDir::toNativeSeparators(m_fileName), why));
    }

    [[noreturn]] void throwNotXml() const
    {
        QString reason = m_xml.errorString();
        while (reason.endsWith(u'.'))
            reason.chop(1);
        fail(QStringLiteral("it is not readable XML (line %1, column %2: %3)")
                 .arg(m_xml.lineNumber())
                 .arg(m_xml.columnNumber())
                 .arg(reason));
    }

    LabelAttributes attributes() const
    {
        LabelAttributes result;
        for (const QXmlStreamAttribute &attribute : m_xml.attributes())
            result.setValue(attribute.qualifiedName().toString(), attribute.value().toString());
        return result;
    }

    // A figure that is there must be a number within [min, max].
    void checkNumber(const LabelAttributes &attributes, QStringView name, double min, double max,
                     const QString &owner) const
    {
        if (!attributes.contains(name))
            return;
        const auto value = attributes.number(name);
        if (!value || *value < min || *value > max) {
            fail(QStringLiteral("%1 has %2=\"%3\"; a label can only have a number from %4 to %5 there")
                     .arg(owner, name, attributes.value(name))
                     .arg(min)
                     .arg(max));
        }
    }

    // Reads the children of the current element up to its end. A child that
    // readKnown does not take is kept as the text it has in the file.
    template<typename T, typename ReadKnown>
    void readChildren(LabelChildList<T> &children, ReadKnown readKnown)
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (!readKnown(children))
                    children.appendUnknown(unknownElement());
                break;
            case QXmlStreamReader::EndElement:
                return;
            case QXmlStreamReader::Comment: {
                // A comment has no references: its text in the file is "<!--" text "-->".
                const qsizetype length = m_xml.text().size() + 7;
                children.appendUnknown(m_source.mid(m_xml.characterOffset() - length, length));
                break;
            }
            case QXmlStreamReader::Characters:
                // Kept without the blanks around it: the writer puts the text
                // on a line of its own, and a layout saved again must not grow
                // by a line break each time. A carriage return inside it came
                // from a reference and stays one: written raw, the next read
                // would take it for a line end.
                if (!m_xml.isWhitespace())
                    children.appendUnknown(
                        withoutXmlBlanks(m_xml.text()).toHtmlEscaped().replace(u'\r', QStringLiteral("&#13;")));
                break;
            default:
                break;
            }
        }
        throwNotXml();
    }

    // The current element, start tag to end tag, as the file has it. An
    // attribute value cannot hold '<', so the start tag begins at the last
    // '<' before the reader's position.
    QString unknownElement()
    {
        const qsizetype start = m_source.lastIndexOf(u'<', m_xml.characterOffset() - 1);
        m_xml.skipCurrentElement();
        if (m_xml.hasError())
            throwNotXml();
        return m_source.mid(start, m_xml.characterOffset() - start);
    }

    // A plain list of items is taken apart; anything richer is kept whole.
    bool readDatasets(LabelReport &report)
    {
        const QString xml = unknownElement();
        QXmlStreamReader list(xml);
        QList<LabelAttributes> items;
        int depth = 0;
        while (!list.atEnd()) {
            switch (list.readNext()) {
            case QXmlStreamReader::StartElement:
                ++depth;
                if (depth == 1 && !list.attributes().isEmpty())
                    return keep(report, xml);
                if (depth == 2) {
                    if (list.name() != u"item")
                        return keep(report, xml);
                    LabelAttributes item;
                    for (const QXmlStreamAttribute &attribute : list.attributes())
                        item.setValue(attribute.qualifiedName().toString(), attribute.value().toString());
                    items.append(item);
                }
                if (depth > 2)
                    return keep(report, xml);
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                break;
            case QXmlStreamReader::Characters:
                if (!list.isWhitespace())
                    return keep(report, xml);
                break;
            case QXmlStreamReader::Comment:
                return keep(report, xml);
            default:
                break;
            }
        }
        report.datasets() = items;
        report.setHasDatasetList(true);
        return true;
    }

    static bool keep(LabelReport &report, const QString &xml)
    {
        report.pages().appendUnknown(xml);
        return true;
    }

    LabelPage readPage()
    {
        LabelPage page;
        page.attributes() = attributes();
        const QString owner = QStringLiteral("the page \"%1\"").arg(page.name());
        const LabelAttributes &a = page.attributes();
        checkNumber(a, u"PaperWidth", 1, maxPaperMm, owner);
        checkNumber(a, u"PaperHeight", 1, maxPaperMm, owner);
        for (const QStringView margin : { u"LeftMargin", u"RightMargin", u"TopMargin", u"BottomMargin" })
            checkNumber(a, margin, 0, maxPaperMm, owner);
        const QSizeF paper = page.paperSize();
        const QMarginsF margins = page.margins();
        if (margins.left() + margins.right() >= paper.width()
            || margins.top() + margins.bottom() >= paper.height())
            fail(QStringLiteral("the margins of %1 leave nothing of its paper").arg(owner));
        readChildren(page.bands(), [&](LabelChildList<LabelBand> &bands) {
            const auto kind = LabelBand::kindOfTag(m_xml.name());
            if (!kind)
                return false;
            bands.append(readBand(*kind));
            return true;
        });
        return page;
    }

    LabelBand readBand(LabelBand::Kind kind)
    {
        LabelBand band(kind);
        band.attributes() = attributes();
        const QString owner = QStringLiteral("the band \"%1\"").arg(band.name());
        checkNumber(band.attributes(), u"Height", 0, maxLengthPx, owner);
        checkNumber(band.attributes(), u"RowCount", 0, 1000000, owner);
        checkFont(band.attributes(), owner);
        readChildren(band.objects(), [&](LabelChildList<LabelObject> &objects) {
            const auto kind = LabelObject::kindOfTag(m_xml.name());
            if (!kind)
                return false;
            objects.append(readObject(*kind));
            return true;
        });
        return band;
    }

    LabelObject readObject(LabelObject::Kind kind)
    {
        LabelObject object(kind);
        object.attributes() = attributes();
        const QString owner = QStringLiteral("the object \"%1\"").arg(object.name());
        const LabelAttributes &a = object.attributes();
        checkNumber(a, u"Left", -maxLengthPx, maxLengthPx, owner);
        checkNumber(a, u"Top", -maxLengthPx, maxLengthPx, owner);
        // A line runs from its corner to the opposite one, in any direction.
        const double minSize = kind == LabelObject::Kind::Line ? -maxLengthPx : 0;
        checkNumber(a, u"Width", minSize, maxLengthPx, owner);
        checkNumber(a, u"Height", minSize, maxLengthPx, owner);
        checkNumber(a, u"Frame.Width", 0, maxFontPx, owner);
        checkNumber(a, u"GapX", -maxLengthPx, maxLengthPx, owner);
        checkNumber(a, u"GapY", -maxLengthPx, maxLengthPx, owner);
        checkNumber(a, u"LineSpacing", -maxLengthPx, maxLengthPx, owner);
        checkFont(a, owner);
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement)
                return object;
            if (token == QXmlStreamReader::StartElement)
                object.appendUnknownChild(unknownElement());
        }
        throwNotXml();
    }

    void checkFont(const LabelAttributes &a, const QString &owner) const
    {
        checkNumber(a, u"Font.Height", -maxFontPx, maxFontPx, owner);
        checkNumber(a, u"Font.Style", 0, 255, owner);
    }

    const QString &m_source;
    QString m_fileName;
    QXmlStreamReader m_xml;
};

// Attribute values as the report XML writes them: the XML specials and the
// control characters as numeric references, everything else as it is.
void appendEscaped(QString &out, QStringView value)
{
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'&' || u == u'<' || u == u'>' || u < 0x20)
            out += u"&#" + QString::number(u) + u';';
        else
            out += c;
    }
}

void appendStartTag(QString &out, int depth, const QString &tag, const LabelAttributes &attributes)
{
    out += QString(depth * 2, u' ') + u'<' + tag;
    for (const LabelAttributes::Attribute &attribute : attributes.list()) {
        out += u' ' + attribute.name + u"=\"";
        appendEscaped(out, attribute.value);
        out += u'"';
    }
}

// An element with its children: the known ones written by writeKnown, the
// unknown ones as they were read, in their places; first of all what
// writeLeading writes.
template<typename T, typename WriteKnown, typename WriteLeading>
void appendElement(QString &out, int depth, const QString &tag, const LabelAttributes &attributes,
                   const LabelChildList<T> &children, WriteKnown writeKnown, WriteLeading writeLeading)
{
    appendStartTag(out, depth, tag, attributes);
    QString inner;
    writeLeading(inner, depth + 1);
    qsizetype next = 0;
    const auto unknownBefore = [&](qsizetype position) {
        for (; next < children.unknown().size() && children.unknown().at(next).position <= position; ++next)
            inner += QString(depth * 2 + 2, u' ') + children.unknown().at(next).xml + u'\n';
    };
    for (qsizetype i = 0; i < children.size(); ++i) {
        unknownBefore(i);
        writeKnown(inner, depth + 1, children.at(i));
    }
    unknownBefore(children.size());
    if (inner.isEmpty()) {
        out += u"/>\n";
        return;
    }
    out += u">\n" + inner + QString(depth * 2, u' ') + u"</" + tag + u">\n";
}

template<typename T, typename WriteKnown>
void appendElement(QString &out, int depth, const QString &tag, const LabelAttributes &attributes,
                   const LabelChildList<T> &children, WriteKnown writeKnown)
{
    appendElement(out, depth, tag, attributes, children, writeKnown, [](QString &, int) {});
}

void appendObject(QString &out, int depth, const LabelObject &object)
{
    appendStartTag(out, depth, object.tagName(), object.attributes());
    if (object.unknownChildren().isEmpty()) {
        out += u"/>\n";
        return;
    }
    out += u">\n";
    for (const QString &xml : object.unknownChildren())
        out += QString(depth * 2 + 2, u' ') + xml + u'\n';
    out += QString(depth * 2, u' ') + u"</" + object.tagName() + u">\n";
}

void appendBand(QString &out, int depth, const LabelBand &band)
{
    appendElement(out, depth, band.tagName(), band.attributes(), band.objects(), appendObject);
}

void appendPage(QString &out, int depth, const LabelPage &page)
{
    appendElement(out, depth, pageTag, page.attributes(), page.bands(), appendBand);
}

} // namespace

LabelReport LabelLayoutFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw StationError(QStringLiteral("The label layout \"%1\" cannot be read: %2.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return fromXml(file.readAll(), path);
}

LabelReport LabelLayoutFile::fromXml(const QByteArray &content, const QString &fileName)
{
    // Decoded here, as its declaration says, so that unknown elements can be
    // cut out of the very text the reader reads.
    QXmlStreamReader probe(content);
    while (!probe.atEnd() && probe.readNext() != QXmlStreamReader::StartDocument && !probe.hasError()) { }
    const QString encoding
        = probe.documentEncoding().isEmpty() ? QStringLiteral("UTF-8") : probe.documentEncoding().toString();
    QStringDecoder decoder(encoding.toLatin1().constData());
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString source = decoder.decode(content);

    return Reader(source, fileName).readReport();
}

QByteArray LabelLayoutFile::toXml(const LabelReport &report)
{
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n");
    const auto writeDatasets = [&](QString &inner, int depth) {
        if (!report.hasDatasetList())
            return;
        LabelChildList<LabelAttributes> items;
        for (const LabelAttributes &item : report.datasets())
            items.append(item);
        appendElement(inner, depth, datasetsTag, LabelAttributes(), items,
                      [](QString &o, int d, const LabelAttributes &item) {
                          appendStartTag(o, d, QStringLiteral("item"), item);
                          o += u"/>\n";
                      });
    };
    appendElement(out, 0, reportTag, report.attributes(), report.pages(), appendPage, writeDatasets);
    return out.toUtf8();
}

void LabelLayoutFile::write(const LabelReport &report, const QString &path)
{
    QSaveFile file(path);
    const QByteArray content = toXml(report);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        throw StationError(QStringLiteral("The label layout \"%1\" could not be saved: %2.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}
