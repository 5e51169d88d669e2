#pragma once

#include "app/TranslationCatalog.h"

#include <QObject>
#include <QString>

/// A localizer: holds a culture ("ar-DZ", "fr-FR") and the translation catalog
/// it reads, and applies the culture to the process as its options say.
///
/// Translators bound to a localizer follow its culture (cultureChanged).
class TLocalizer : public QObject
{
    Q_OBJECT

public:
    enum Option {
        /// The application's reading order follows the culture (right to left
        /// for Arabic); every window that has no reading order of its own takes it.
        loAdjustApplicationBiDiMode = 0x1,
        /// The process's format settings (QLocale's default) become the culture's.
        loAdjustFormatSettings = 0x2,
        /// Concern only formatting functions of their own, which the station does
        /// not have; kept so that a localizer states the options it was given.
        loUseNativeDigits = 0x4,
        loUseNativeCalendar = 0x8,
    };
    Q_DECLARE_FLAGS(Options, Option)

    static constexpr Options defaultOptions()
    {
        return Options(loAdjustApplicationBiDiMode | loAdjustFormatSettings | loUseNativeDigits
                       | loUseNativeCalendar);
    }

    TLocalizer(const QString &name, const QString &uri, const QString &culture, Options options);

    /// Opens the catalog named by URI (a bare name is looked up in the
    /// program's own folder) and applies the culture with the options. Throws
    /// StationError when the catalog cannot be opened or read.
    void open();

    const QString &URI() const { return m_uri; }
    const QString &Culture() const { return m_culture; }
    /// A culture that is already current changes nothing; another one is
    /// applied with the options and announced to the translators.
    void setCulture(const QString &culture);
    Options options() const { return m_options; }

    bool isRightToLeft() const;
    const TranslationCatalog &catalog() const { return m_catalog; }

    /// Where URI is looked up: relative names against the program's folder.
    static QString catalogPath(const QString &uri);

Q_SIGNALS:
    void cultureChanged();

private:
    void apply();

    QString m_uri;
    QString m_culture;
    Options m_options;
    TranslationCatalog m_catalog;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TLocalizer::Options)
