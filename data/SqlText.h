#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// Where SQL text is code and where it is a string literal, a quoted name or
/// a comment; the data layer's parameter and script handling build on it.
namespace SqlText {

/// A statement with ":NAME" parameters turned into the client library's '?'
/// markers. ":NAME" inside string literals, quoted names and comments is left
/// alone. Names are compared without regard to letter case; a name used twice
/// is one parameter.
struct Parameters
{
    /// The text with every parameter replaced by '?'.
    QString sql;
    /// The distinct names in order of first appearance: the positions.
    QStringList names;
    /// For each '?' of sql, in order, the position (index into names) it takes.
    QList<int> markers;

    static Parameters parse(const QString &sql);
    /// Position of a name (letter case ignored), -1 when the text has none.
    static int position(const QStringList &names, const QString &name);
};

/// Splits a script into statements at ';', as isql does, with "SET TERM"
/// changing the terminator for bodies of triggers and procedures.
/// Statements that hold only blanks and comments are dropped.
QStringList splitScript(const QString &script);

/// Index just past the literal, quoted name or comment that starts at i, or i
/// when none starts there.
qsizetype skipNonCode(const QString &sql, qsizetype i);

} // namespace SqlText
