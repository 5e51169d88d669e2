#include "app/Localizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>

TLocalizer::TLocalizer(const QString &name, const QString &uri, const QString &culture, Options options)
    : m_uri(uri)
    , m_culture(culture)
    , m_options(options)
{
    setObjectName(name);
}

QString TLocalizer::catalogPath(const QString &uri)
{
    // Not the working directory: the catalog travels with the program.
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(uri);
}

void TLocalizer::open()
{
    m_catalog = TranslationCatalog::load(catalogPath(m_uri));
    apply();
}

void TLocalizer::setCulture(const QString &culture)
{
    if (culture == m_culture)
        return;
    m_culture = culture;
    apply();
    Q_EMIT cultureChanged();
}

bool TLocalizer::isRightToLeft() const
{
    return QLocale(m_culture).textDirection() == Qt::RightToLeft;
}

void TLocalizer::apply()
{
    if (m_options.testFlag(loAdjustApplicationBiDiMode))
        QGuiApplication::setLayoutDirection(isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    if (m_options.testFlag(loAdjustFormatSettings))
        QLocale::setDefault(QLocale(m_culture));
}
