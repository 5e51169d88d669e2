#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

/// The station's translation catalog (NC_VELK.i18n): per culture, the texts of
/// the translated windows' captions and of the literals their code shows.
///
/// The file is UTF-8 text, one section per culture:
///
///     # a comment (also ';')
///     [ar-DZ]
///     TPassw.Caption = ...                    the window's own caption
///     TPassw.cButton1.Caption = ...           a component's caption
///     TPassw."Vous n'avez le droit..." = ...  a literal, keyed by its designed text
///
/// Blanks around keys and values are dropped; a value (or a literal key) may
/// be written between double quotes to keep blanks, with \" \\ \n \t inside.
/// Anything else (text before the first section, a line without '=', a key
/// given twice in one section, bytes that are not UTF-8) makes the catalog
/// unreadable.
class TranslationCatalog
{
public:
    /// Reads a catalog file. Throws StationError naming the file and, for a
    /// damaged file, the line.
    static TranslationCatalog load(const QString &path);
    /// Parses catalog text; sourceName names it in errors.
    static TranslationCatalog parse(const QByteArray &utf8, const QString &sourceName);

    QStringList cultures() const;
    bool hasCulture(const QString &culture) const { return m_sections.contains(culture); }

    /// The text of a caption: component empty for the window's own caption.
    std::optional<QString> caption(const QString &culture, const QString &window,
                                   const QString &component) const;
    /// The translation of a literal of window.
    std::optional<QString> literal(const QString &culture, const QString &window, const QString &text) const;

    static QString captionKey(const QString &window, const QString &component);
    static QString literalKey(const QString &window, const QString &text);

private:
    std::optional<QString> lookup(const QString &culture, const QString &key) const;

    QHash<QString, QHash<QString, QString>> m_sections;
    QStringList m_order;
};
