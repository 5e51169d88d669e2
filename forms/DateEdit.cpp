#include "forms/DateEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QIcon dropDownIcon()
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPointF arrow[] = { { 2, 4 }, { 10, 4 }, { 6, 9 } };
    painter.drawPolygon(arrow, 3);
    return QIcon(pixmap);
}
} // namespace

DateEdit::DateEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99/99/9999;_"));
    setAlignment(Qt::AlignCenter);
    connect(this, &QLineEdit::textEdited, this, &DateEdit::textTyped);

    QAction *dropDown = addAction(dropDownIcon(), QLineEdit::TrailingPosition);
    dropDown->setObjectName(QStringLiteral("dropDown"));
    connect(dropDown, &QAction::triggered, this, &DateEdit::showPopup);

    m_popup = new QFrame(this, Qt::Popup);
    m_popup->setObjectName(QStringLiteral("calendarPopup"));
    m_popup->setFrameShape(QFrame::Box);
    m_popup->installEventFilter(this);
    auto *column = new QVBoxLayout(m_popup);
    column->setContentsMargins(2, 2, 2, 2);
    m_calendar = new QCalendarWidget(m_popup);
    m_calendar->setGridVisible(false);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    column->addWidget(m_calendar);
    auto *buttons = new QHBoxLayout;
    m_clearButton = new QPushButton(QStringLiteral("Effacer"), m_popup);
    m_nowButton = new QPushButton(QStringLiteral("Maintenant"), m_popup);
    m_todayButton = new QPushButton(QStringLiteral("Aujourd'hui"), m_popup);
    for (QAbstractButton *button : { m_clearButton, m_nowButton, m_todayButton }) {
        button->setFont(QFont()); // the calendar keeps the system's look, not the editor's large font
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
    m_calendar->setFont(QFont());

    connect(m_calendar, &QCalendarWidget::clicked, this, &DateEdit::pick);
    connect(m_calendar, &QCalendarWidget::activated, this, &DateEdit::pick);
    connect(m_clearButton, &QAbstractButton::clicked, this, [this] { pick(QDate()); });
    connect(m_nowButton, &QAbstractButton::clicked, this, [this] { pick(QDate::currentDate()); });
    connect(m_todayButton, &QAbstractButton::clicked, this, [this] { pick(QDate::currentDate()); });

    showDate();
}

void DateEdit::setDate(QDate date)
{
    if (!date.isValid())
        date = QDate();
    if (date == m_date) {
        showDate(); // drops a half-typed text
        return;
    }
    commit(date, false);
}

bool DateEdit::isPopupVisible() const
{
    return m_popup->isVisible();
}

void DateEdit::showPopup()
{
    m_calendar->setSelectedDate(m_date.isValid() ? m_date : QDate::currentDate());
    m_popup->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    at.rx()
        -= qMax(0, m_popup->width() - width()); // right edges aligned: the editor sits at the window's right
    m_popup->move(at);
    m_popup->show();
    m_calendar->setFocus();
}

void DateEdit::hidePopup()
{
    m_popup->hide();
}

void DateEdit::focusOutEvent(QFocusEvent *event)
{
    if (!m_popup->isVisible())
        acceptTyped();
    QLineEdit::focusOutEvent(event);
}

void DateEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        showPopup();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        acceptTyped();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool DateEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_popup && event->type() == QEvent::Hide)
        emit closeUp();
    return QLineEdit::eventFilter(watched, event);
}

void DateEdit::commit(QDate date, bool fromTyping)
{
    m_date = date;
    if (!fromTyping)
        showDate();
    emit changed();
    emit editValueChanged();
}

QDate DateEdit::typedDate() const
{
    return hasAcceptableInput() ? QDate::fromString(text(), displayFormat()) : QDate();
}

void DateEdit::textTyped()
{
    if (text() == QStringLiteral("//")) { // every digit erased
        if (m_date.isValid())
            commit(QDate(), true);
        else
            emit changed();
        return;
    }
    // Typing over a date passes through other valid dates; the date is taken
    // once its last digit is typed (or when the editor is left, see acceptTyped).
    const QDate date = typedDate();
    if (date.isValid() && date != m_date && cursorPosition() == text().size()) {
        commit(date, true);
        return;
    }
    emit changed();
}

void DateEdit::acceptTyped()
{
    const QDate date = typedDate();
    if (date.isValid() && date != m_date)
        commit(date, false);
    else
        showDate(); // an incomplete or impossible date is not kept
}

void DateEdit::showDate()
{
    setText(m_date.isValid() ? m_date.toString(displayFormat()) : QString());
}

void DateEdit::pick(QDate date)
{
    setDate(date);
    hidePopup();
}
