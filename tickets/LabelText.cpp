#include "tickets/LabelText.h"

#include "app/StationError.h"
#include "tickets/LabelDataset.h"
#include "tickets/LabelObject.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
// [Ticet."FIELD"] or [Ticet.FIELD], blanks allowed around the parts.
const QRegularExpression &fieldPattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"re(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*\.\s*(?:"([^"]*)"|([A-Za-z_][A-Za-z0-9_]*))\s*$)re"));
    return pattern;
}

// The end of the expression that starts at from: the first closing delimiter
// that is outside quotes.
qsizetype expressionEnd(const QString &text, qsizetype from, const QString &close)
{
    QChar quote;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (QStringView(text).mid(i).startsWith(close)) {
            return i;
        }
    }
    return -1;
}
} // namespace

QString LabelText::fieldExpression(const QString &dataset, const QString &field)
{
    return u'[' + dataset + u".\"" + field + u"\"]";
}

QString LabelText::evaluate(const LabelObject &memo, const Context &context)
{
    if (!memo.dataField().isEmpty())
        return fieldValue(memo.dataSetName(), memo.dataField(), context, memo.name());
    if (!memo.allowsExpressions())
        return memo.text();
    return evaluate(memo.text(), memo.expressionOpen(), memo.expressionClose(), context, memo.name());
}

QString LabelText::evaluate(const QString &text, const Context &context, const QString &objectName)
{
    return evaluate(text, QStringLiteral("["), QStringLiteral("]"), context, objectName);
}

QString LabelText::evaluate(const QString &text, const QString &open, const QString &close,
                            const Context &context, const QString &objectName)
{
    QString result;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype start = text.indexOf(open, at);
        const qsizetype end = start < 0 ? -1 : expressionEnd(text, start + open.size(), close);
        if (end < 0) {
            result += QStringView(text).mid(at);
            break;
        }
        result += QStringView(text).mid(at, start - at);
        const QString expression = text.mid(start + open.size(), end - start - open.size());
        const QString name = expression.trimmed();
        const QRegularExpressionMatch field = fieldPattern().match(expression);
        if (field.hasMatch()) {
            const QString fieldName = field.capturedStart(2) >= 0 ? field.captured(2) : field.captured(3);
            result += fieldValue(field.captured(1), fieldName, context, objectName);
        } else if (name.compare(u"Date", Qt::CaseInsensitive) == 0) {
            result += QLocale().toString(context.date, QLocale::ShortFormat);
        } else if (name.compare(u"Time", Qt::CaseInsensitive) == 0) {
            result += context.time.toString(u"HH:mm:ss");
        } else if (name.compare(u"Page#", Qt::CaseInsensitive) == 0
                   || name.compare(u"Page", Qt::CaseInsensitive) == 0) {
            result += QString::number(context.page);
        } else if (name.compare(u"TotalPages#", Qt::CaseInsensitive) == 0
                   || name.compare(u"TotalPages", Qt::CaseInsensitive) == 0) {
            result += QString::number(context.totalPages);
        } else if (name.compare(u"Line#", Qt::CaseInsensitive) == 0
                   || name.compare(u"Line", Qt::CaseInsensitive) == 0) {
            result += QString::number(context.line);
        } else {
            result += QStringView(text).mid(start, end + close.size() - start);
        }
        at = end + close.size();
    }
    return result;
}

QString LabelText::fieldValue(const QString &dataset, const QString &field, const Context &context,
                              const QString &objectName)
{
    const QString where = objectName.isEmpty()
        ? QStringLiteral("A text of the label")
        : QStringLiteral("The object \"%1\" of the label").arg(objectName);
    const QList<LabelDataset> none;
    const QList<LabelDataset> &datasets = context.datasets ? *context.datasets : none;
    for (qsizetype i = 0; i < datasets.size(); ++i) {
        const LabelDataset &candidate = datasets.at(i);
        if (!candidate.isNamed(dataset))
            continue;
        const int column = candidate.fieldIndex(field);
        if (column < 0) {
            throw StationError(
                QStringLiteral("%1 shows the field \"%2\" of \"%3\", which has no such field "
                               "(it has %4).")
                    .arg(where, field, dataset, candidate.fieldNames().join(QStringLiteral(", "))));
        }
        const int row = i < context.rows.size() ? context.rows.at(i) : 0;
        if (row < 0 || row >= candidate.rowCount())
            return {};
        const DbRow &values = candidate.row(row);
        return column < values.size() ? LabelDataset::displayText(values.at(column)) : QString();
    }
    throw StationError(
        QStringLiteral("%1 shows the field \"%2\" of the dataset \"%3\", which the station does not "
                       "have.")
            .arg(where, field, dataset));
}
