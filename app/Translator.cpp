#include "app/Translator.h"

#include "app/Localizer.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QWidget>

TTranslator::TTranslator(QWidget *window, TLocalizer *localizer, bool autoMirror)
    : QObject(window)
    , m_window(window)
    , m_localizer(localizer)
    , m_autoMirror(autoMirror)
{
    setObjectName(QStringLiteral("Translator1"));
    if (localizer)
        connect(localizer, &TLocalizer::cultureChanged, this, &TTranslator::apply);
}

QString TTranslator::windowName() const
{
    return QString::fromLatin1(m_window->metaObject()->className());
}

namespace {

QString captionOf(QWidget *widget, bool isWindow)
{
    if (isWindow)
        return widget->windowTitle();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    return {};
}

void setCaptionOf(QWidget *widget, bool isWindow, const QString &text)
{
    if (isWindow)
        widget->setWindowTitle(text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
}

} // namespace

void TTranslator::addCaption(QWidget *widget)
{
    m_captions.append({ widget, captionOf(widget, widget == m_window) });
}

void TTranslator::addLiteral(const QString &text)
{
    m_literals.insert(text);
}

void TTranslator::apply()
{
    if (!m_localizer)
        return;
    if (m_autoMirror && m_localizer->isRightToLeft() != m_mirrored)
        mirror(m_localizer->isRightToLeft());
    const QString window = windowName();
    for (const Caption &caption : std::as_const(m_captions)) {
        if (!caption.widget)
            continue;
        const bool isWindow = caption.widget == m_window;
        const QString component = isWindow ? QString() : caption.widget->objectName();
        const auto text = m_localizer->catalog().caption(m_localizer->Culture(), window, component);
        setCaptionOf(caption.widget, isWindow, text.value_or(caption.designed));
    }
}

QString TTranslator::GetText(const QString &text) const
{
    if (!m_localizer || !m_literals.contains(text))
        return text;
    return m_localizer->catalog().literal(m_localizer->Culture(), windowName(), text).value_or(text);
}

void TTranslator::mirror(bool rightToLeft)
{
    mirrorChildren(m_window);
    // The window takes the culture's reading order as its own, whatever the
    // application's is: labels and texts then start at the right.
    m_window->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    m_mirrored = rightToLeft;
}

void TTranslator::mirrorChildren(QWidget *widget)
{
    const bool placedByLayout = widget->layout() != nullptr;
    const QList<QWidget *> children = widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->isWindow())
            continue;
        if (!placedByLayout) {
            QRect g = child->geometry();
            g.moveLeft(widget->width() - g.left() - g.width());
            child->setGeometry(g);
        }
        // Panels carry their children along; a compound control (a combo box,
        // a progress bar) lays out its own insides from its reading order.
        const QMetaObject *kind = child->metaObject();
        if (kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject)
            mirrorChildren(child);
    }
}
