#include "forms/DateReloadGuard.h"

#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"

#include <QTimer>
#include <QWidget>

bool DateReloadGuard::run(const std::function<void()> &reload, QWidget *window)
{
    if (m_failedThisChange)
        return false;
    if (ErrorBox::guard(reload, window))
        return true;
    // The rest of this change's notifications run before the event loop
    // comes round again; from then on a reload is tried afresh.
    m_failedThisChange = true;
    QTimer::singleShot(0, window, [this] { m_failedThisChange = false; });
    return false;
}

void DateReloadGuard::attach(DateEdit *editor, QWidget *window, std::function<void()> change,
                             std::function<void()> valueChanged, std::function<void()> closeUp)
{
    QObject::connect(editor, &DateEdit::changed, window, [this, window, change] { run(change, window); });
    QObject::connect(editor, &DateEdit::editValueChanged, window,
                     [this, window, valueChanged] { run(valueChanged, window); });
    QObject::connect(editor, &DateEdit::closeUp, window, [this, window, closeUp] { run(closeUp, window); });
}
