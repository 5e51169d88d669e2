#pragma once

#include "app/LanguageFile.h"
#include "app/Localizer.h"

#include <QColor>
#include <QString>
#include <optional>

/// What the language button shows: the language a click switches to, in the
/// colour that tells how the current language came about.
struct LanguageButtonState
{
    QString caption;
    QColor colour;

    bool operator==(const LanguageButtonState &) const = default;
};

/// The station's two languages, Arabic (ar-DZ) and French (fr-FR), and their
/// three localizers: LAnge (the current language), AR and Fr (hold the two
/// cultures, never switched).
///
/// The localizers come up in the order LAnge, AR, Fr, each applying its own
/// culture: afterwards the formats are Arabic and the reading order is left to
/// right (Fr came last), until the first switch.
class StationLanguage
{
public:
    static QString arabic() { return QStringLiteral("ar-DZ"); }
    static QString french() { return QStringLiteral("fr-FR"); }
    static QString catalogName() { return QStringLiteral("NC_VELK.i18n"); }

    /// Opens the catalog for each localizer (uri: a bare name is looked up in
    /// the program's folder). Throws StationError when the catalog cannot be
    /// read: the station must not start then.
    explicit StationLanguage(const QString &uri = catalogName());

    TLocalizer LAnge;
    TLocalizer AR;
    TLocalizer Fr;

    /// The button as the main window builds it: "Fr" in yellow, Arabic current.
    static LanguageButtonState initialButton();

    /// Restores the language saved in file: "A" keeps Arabic, "F" switches to
    /// French; the new button state is returned. No file, an empty one or any
    /// other first line changes nothing (nullopt). Throws StationError when
    /// the file exists but cannot be read.
    std::optional<LanguageButtonState> restore(const LanguageFile &file);

    /// The language button's click, given its caption: "Fr" saves "F" and
    /// switches to French, "Ar" saves "A" and switches to Arabic; returns the
    /// new button state. Any other caption does nothing (nullopt). The file is
    /// written first: when that fails, StationError is thrown and nothing else
    /// has changed.
    std::optional<LanguageButtonState> cxButton87Click(const QString &caption, const LanguageFile &file);

    bool isArabic() const { return LAnge.Culture() == arabic(); }
};
