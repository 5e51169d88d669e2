#include "tickets/LabelAttributes.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {
template<typename List> auto findAttribute(List &attributes, QStringView name)
{
    return std::find_if(attributes.begin(), attributes.end(),
                        [&](const LabelAttributes::Attribute &a) { return a.name == name; });
}
} // namespace

bool LabelAttributes::contains(QStringView name) const
{
    return findAttribute(m_attributes, name) != m_attributes.end();
}

QString LabelAttributes::value(QStringView name) const
{
    return value(name, QString());
}

QString LabelAttributes::value(QStringView name, const QString &fallback) const
{
    const auto it = findAttribute(m_attributes, name);
    return it == m_attributes.end() ? fallback : it->value;
}

std::optional<double> LabelAttributes::number(QStringView name) const
{
    const auto it = findAttribute(m_attributes, name);
    if (it == m_attributes.end())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(QStringView(it->value).trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double LabelAttributes::number(QStringView name, double fallback) const
{
    return number(name).value_or(fallback);
}

bool LabelAttributes::boolean(QStringView name, bool fallback) const
{
    const QString text = value(name);
    if (text.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    return fallback;
}

void LabelAttributes::setValue(const QString &name, const QString &value)
{
    const auto it = findAttribute(m_attributes, name);
    if (it == m_attributes.end())
        m_attributes.append({ name, value });
    else
        it->value = value;
}

void LabelAttributes::setNumber(const QString &name, double value)
{
    setValue(name, formatNumber(value));
}

void LabelAttributes::updateNumber(const QString &name, double value)
{
    if (number(name) != value)
        setNumber(name, value);
}

void LabelAttributes::setBoolean(const QString &name, bool value)
{
    setValue(name, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void LabelAttributes::remove(QStringView name)
{
    m_attributes.removeIf([&](const Attribute &a) { return a.name == name; });
}

QString LabelAttributes::formatNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // never "-0"
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}
