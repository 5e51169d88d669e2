#include "data/SqlText.h"

#include <QRegularExpression>

namespace SqlText {

namespace {

bool isNameStart(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
           || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('$');
}

// The closing delimiter of q'<open>...<close>' literals.
QChar closingDelimiter(QChar open)
{
    switch (open.unicode()) {
    case '(':
        return QLatin1Char(')');
    case '[':
        return QLatin1Char(']');
    case '{':
        return QLatin1Char('}');
    case '<':
        return QLatin1Char('>');
    default:
        return open;
    }
}

} // namespace

qsizetype skipNonCode(const QString &sql, qsizetype i)
{
    const qsizetype n = sql.size();
    const QChar c = sql.at(i);
    const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();

    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        // '' (or "") inside the literal is the delimiter itself.
        qsizetype j = i + 1;
        while (j < n) {
            if (sql.at(j) == c) {
                if (j + 1 < n && sql.at(j + 1) == c) {
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return n;
    }
    if ((c == QLatin1Char('q') || c == QLatin1Char('Q')) && next == QLatin1Char('\'') && i + 2 < n
        && (i == 0 || !isNameChar(sql.at(i - 1)))) {
        const QChar close = closingDelimiter(sql.at(i + 2));
        for (qsizetype j = i + 3; j + 1 < n; ++j) {
            if (sql.at(j) == close && sql.at(j + 1) == QLatin1Char('\''))
                return j + 2;
        }
        return n;
    }
    if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
        const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
        return end < 0 ? n : end + 1;
    }
    if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
        const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
        return end < 0 ? n : end + 2;
    }
    return i;
}

Parameters Parameters::parse(const QString &sql)
{
    Parameters result;
    result.sql.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype skipped = skipNonCode(sql, i);
        if (skipped != i) {
            result.sql += QStringView(sql).mid(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar c = sql.at(i);
        if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql.at(i + 1))) {
            qsizetype end = i + 2;
            while (end < n && isNameChar(sql.at(end)))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            qsizetype position = Parameters::position(result.names, name);
            if (position < 0) {
                position = result.names.size();
                result.names.append(name);
            }
            result.markers.append(int(position));
            result.sql += QLatin1Char('?');
            i = end;
            continue;
        }
        result.sql += c;
        ++i;
    }
    return result;
}

int Parameters::position(const QStringList &names, const QString &name)
{
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (names.at(k).compare(name, Qt::CaseInsensitive) == 0)
            return int(k);
    }
    return -1;
}

QStringList splitScript(const QString &script)
{
    static const QRegularExpression setTerm(QStringLiteral("^\\s*SET\\s+TERM\\s+(\\S+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    const auto flush = [&](const QString &text) {
        // a statement of comments and blanks only is no statement
        QString code;
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype skipped = skipNonCode(text, i);
            if (skipped == i) {
                code += text.at(i);
                ++i;
                continue;
            }
            // literals count as code, comments do not
            if (text.at(i) != QLatin1Char('-') && text.at(i) != QLatin1Char('/'))
                code += QStringView(text).mid(i, skipped - i);
            i = skipped;
        }
        if (code.trimmed().isEmpty())
            return;
        const QRegularExpressionMatch match = setTerm.match(code);
        if (match.hasMatch()) {
            terminator = match.captured(1);
            return;
        }
        statements.append(text.trimmed());
    };

    const qsizetype n = script.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype skipped = skipNonCode(script, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (QStringView(script).mid(i).startsWith(terminator)) {
            current = script.mid(start, i - start);
            i += terminator.size();
            start = i;
            flush(current);
            continue;
        }
        ++i;
    }
    flush(script.mid(start));
    return statements;
}

} // namespace SqlText
