#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

class LabelDataset;
class LabelObject;

/// What a text object shows: its text with every [expression] replaced by its
/// value, or the field it is bound to.
///
/// An expression names a field of a dataset, [Ticet."ARTICLE"] (or
/// [Ticet.ARTICLE]), or one of Date, Time, Page#, TotalPages#, Line#. A field
/// of a dataset that is not there, or that the dataset lacks, is an error; any
/// other expression stays in the text as it is written.
class LabelText
{
public:
    struct Context
    {
        const QList<LabelDataset> *datasets = nullptr;
        /// The row of each dataset that fields read (same order as datasets);
        /// a dataset with no row reads as empty.
        QList<int> rows;
        QDate date = QDate::currentDate();
        QTime time = QTime::currentTime();
        int page = 1;
        int totalPages = 1;
        int line = 1; ///< the row number within the running master data band, from 1
    };

    /// Throws StationError naming the object and the expression for a field
    /// that is not there.
    static QString evaluate(const LabelObject &memo, const Context &context);
    /// The same for a piece of text with the usual delimiters.
    static QString evaluate(const QString &text, const Context &context, const QString &objectName = {});

    /// The expression that shows a field: [Ticet."FIELD"].
    static QString fieldExpression(const QString &dataset, const QString &field);

private:
    static QString evaluate(const QString &text, const QString &open, const QString &close,
                            const Context &context, const QString &objectName);
    static QString fieldValue(const QString &dataset, const QString &field, const Context &context,
                              const QString &objectName);
};
