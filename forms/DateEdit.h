#pragma once

#include <QDate>
#include <QLineEdit>

class QAbstractButton;
class QCalendarWidget;
class QFrame;

/// A date editor: the date is typed through a mask (day/month/year) or picked
/// from a drop-down calendar that also offers Clear, Now and Today. It can be
/// empty (date() is then an invalid QDate).
///
/// Three notifications, as the working-date reload needs them:
/// - changed(): the content changed, by typing or from code;
/// - editValueChanged(): the date changed (a typed date once complete and
///   valid, a picked date, a cleared editor, a date set from code);
/// - closeUp(): the drop-down calendar closed, whatever closed it.
/// Setting the date that it already holds changes nothing and notifies nothing.
class DateEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DateEdit(QWidget *parent = nullptr);

    static QString displayFormat() { return QStringLiteral("dd/MM/yyyy"); }

    QDate date() const { return m_date; }
    void setDate(QDate date);
    /// Empties the editor.
    void clearDate() { setDate(QDate()); }

    bool isPopupVisible() const;
    void showPopup();
    void hidePopup();
    /// The drop-down calendar and its buttons (created with the editor).
    QCalendarWidget *calendar() const { return m_calendar; }
    QAbstractButton *clearButton() const { return m_clearButton; }
    QAbstractButton *nowButton() const { return m_nowButton; }
    QAbstractButton *todayButton() const { return m_todayButton; }

signals:
    void changed();
    void editValueChanged();
    void closeUp();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commit(QDate date, bool fromTyping);
    void textTyped();
    QDate typedDate() const;
    void acceptTyped();
    void showDate();
    void pick(QDate date);

    QDate m_date;
    QFrame *m_popup = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QAbstractButton *m_clearButton = nullptr;
    QAbstractButton *m_nowButton = nullptr;
    QAbstractButton *m_todayButton = nullptr;
};
