#include "app/StationLanguage.h"

namespace {
const QColor yellow(255, 255, 0);
const QColor lightGreen(128, 255, 0);
const QColor red(255, 0, 0);
} // namespace

StationLanguage::StationLanguage(const QString &uri)
    : LAnge(QStringLiteral("LAnge"), uri, arabic(), TLocalizer::defaultOptions())
    , AR(QStringLiteral("AR"), uri, arabic(), TLocalizer::loAdjustApplicationBiDiMode)
    , Fr(QStringLiteral("Fr"), uri, french(), TLocalizer::loAdjustApplicationBiDiMode)
{
    LAnge.open();
    AR.open();
    Fr.open();
}

LanguageButtonState StationLanguage::initialButton()
{
    return { QStringLiteral("Fr"), yellow };
}

std::optional<LanguageButtonState> StationLanguage::restore(const LanguageFile &file)
{
    const std::optional<QString> line = file.firstLine();
    if (!line)
        return std::nullopt;
    if (*line == u"A") {
        // LAnge already holds Arabic: formats and reading order stay as the
        // localizers left them.
        LAnge.setCulture(AR.Culture());
        return LanguageButtonState { QStringLiteral("Fr"), lightGreen };
    }
    if (*line == u"F") {
        LAnge.setCulture(Fr.Culture());
        return LanguageButtonState { QStringLiteral("Ar"), lightGreen };
    }
    return std::nullopt;
}

std::optional<LanguageButtonState> StationLanguage::cxButton87Click(const QString &caption,
                                                                    const LanguageFile &file)
{
    if (caption == u"Fr") {
        file.write(QStringLiteral("F"));
        LAnge.setCulture(Fr.Culture());
        return LanguageButtonState { QStringLiteral("Ar"), lightGreen };
    }
    if (caption == u"Ar") {
        file.write(QStringLiteral("A"));
        LAnge.setCulture(AR.Culture());
        return LanguageButtonState { QStringLiteral("Fr"), red };
    }
    return std::nullopt;
}
