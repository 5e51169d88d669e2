#pragma once

#include <QList>
#include <QString>

/// An element that the layout reader does not know, kept as the text it had
/// in the file and written back as it was.
struct LabelUnknownElement
{
    /// The number of known siblings that come before it.
    qsizetype position = 0;
    QString xml;

    bool operator==(const LabelUnknownElement &) const = default;
};

/// The children of a layout element: the known ones, and the unknown ones kept
/// in their places between them.
template<typename T> class LabelChildList
{
public:
    const QList<T> &items() const { return m_items; }
    QList<T> &items() { return m_items; }
    qsizetype size() const { return m_items.size(); }
    const T &at(qsizetype index) const { return m_items.at(index); }
    T &operator[](qsizetype index) { return m_items[index]; }

    void append(T item) { m_items.append(std::move(item)); }

    /// Inserts before the known child at index; unknown elements that stood
    /// before that child stay before the new one.
    void insert(qsizetype index, T item)
    {
        for (LabelUnknownElement &element : m_unknown) {
            if (element.position > index)
                ++element.position;
        }
        m_items.insert(index, std::move(item));
    }

    void removeAt(qsizetype index)
    {
        for (LabelUnknownElement &element : m_unknown) {
            if (element.position > index)
                --element.position;
        }
        m_items.removeAt(index);
    }

    /// Keeps xml after the known children read so far.
    void appendUnknown(QString xml) { m_unknown.append({ m_items.size(), std::move(xml) }); }
    const QList<LabelUnknownElement> &unknown() const { return m_unknown; }

    bool operator==(const LabelChildList &) const = default;

private:
    QList<T> m_items;
    QList<LabelUnknownElement> m_unknown;
};
