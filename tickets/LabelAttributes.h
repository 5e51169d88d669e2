#pragma once

#include <QList>
#include <QString>
#include <optional>

/// The attributes of one element of a label layout, in the order of the file.
///
/// The layout classes read and write their properties through it, so an
/// attribute that no property knows, and the text of every attribute that was
/// not changed, are written back as they were read.
class LabelAttributes
{
public:
    struct Attribute
    {
        QString name;
        QString value;
        bool operator==(const Attribute &) const = default;
    };

    bool contains(QStringView name) const;
    /// The value as stored; empty when there is no such attribute.
    QString value(QStringView name) const;
    QString value(QStringView name, const QString &fallback) const;
    /// The value read as a number (a dot for the decimal point, as the file has
    /// it); nothing when the attribute is missing or is not a finite number.
    std::optional<double> number(QStringView name) const;
    double number(QStringView name, double fallback) const;
    /// "True" and "False" (any case); the fallback for anything else.
    bool boolean(QStringView name, bool fallback) const;

    /// Replaces the value in place, or appends the attribute when it is new.
    void setValue(const QString &name, const QString &value);
    void setNumber(const QString &name, double value);
    /// setNumber, unless the attribute already holds that value: its text
    /// then stays as the file had it ("4.0" is not rewritten as "4").
    void updateNumber(const QString &name, double value);
    void setBoolean(const QString &name, bool value);
    void remove(QStringView name);

    const QList<Attribute> &list() const { return m_attributes; }
    bool isEmpty() const { return m_attributes.isEmpty(); }

    /// A number as the file writes it: the shortest text that reads back as
    /// the same value, without exponent.
    static QString formatNumber(double value);

    bool operator==(const LabelAttributes &) const = default;

private:
    QList<Attribute> m_attributes;
};
