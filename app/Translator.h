#pragma once

#include "app/Localizer.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QWidget;

/// A window's translator: the captions it lists and the literals its code
/// shows follow the culture of the localizer it is bound to, and, with
/// mirroring on, the window's layout is mirrored while that culture reads right
/// to left.
///
/// Bound to no localizer it translates nothing and GetText returns its
/// argument. A caption or literal that the catalog lacks for the culture keeps
/// its designed (French) text.
class TTranslator : public QObject
{
    Q_OBJECT

public:
    TTranslator(QWidget *window, TLocalizer *localizer, bool autoMirror = true);

    /// Lists a caption to translate: the window's own (its title) or a label's
    /// or button's text. The text it has now is its designed text. The catalog
    /// key is "Window.Caption" or "Window.Component.Caption", Window being the
    /// window's class name and Component the widget's object name.
    void addCaption(QWidget *widget);
    /// Lists a literal that the window's code looks up with GetText.
    void addLiteral(const QString &text);

    /// What the translator does when its window is created, and again on every
    /// culture change: mirror the layout if its reading order no longer
    /// matches the culture's, then set the listed captions.
    void apply();

    /// The translation of text in the current culture when text is a listed
    /// literal that the catalog translates; text unchanged otherwise.
    QString GetText(const QString &text) const;

    bool isMirrored() const { return m_mirrored; }
    TLocalizer *localizer() const { return m_localizer; }

    /// Flips every child placed by position (not by a layout) of widget within
    /// it: left := width - left - child's width; and likewise inside child
    /// panels (plain QWidget or QFrame).
    static void mirrorChildren(QWidget *widget);

private:
    void mirror(bool rightToLeft);
    QString windowName() const;

    struct Caption
    {
        QPointer<QWidget> widget;
        QString designed;
    };

    QWidget *m_window;
    QPointer<TLocalizer> m_localizer;
    bool m_autoMirror;
    bool m_mirrored = false;
    QList<Caption> m_captions;
    QSet<QString> m_literals;
};
