#pragma once

#include <QPointer>
#include <functional>

class DateEdit;
class QWidget;

/// Runs a date editor's reload for each of its notifications (content
/// changed, value changed, calendar closed). One change of the date sets off
/// several of them and each runs the reload; when one fails, its error is
/// shown once in the standard error box, and the other notifications of the
/// same change (those before control returns to the event loop) do not run
/// the failing reload again.
class DateReloadGuard
{
public:
    /// Runs reload; false when it failed (the error has been shown) or was
    /// skipped after a failure of the same change. window is the error box's
    /// parent and lives at least as long as this guard.
    bool run(const std::function<void()> &reload, QWidget *window);

    /// Runs the editor's handlers through run(): change for a change of
    /// content, valueChanged for a change of value, closeUp for the closing
    /// of its calendar.
    void attach(DateEdit *editor, QWidget *window, std::function<void()> change,
                std::function<void()> valueChanged, std::function<void()> closeUp);

private:
    bool m_failedThisChange = false;
};
