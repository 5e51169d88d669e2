#pragma once

#include "app/StationError.h"

#include <QString>
#include <functional>

class QWidget;

/// The standard error box of the station: an error that a handler lets
/// through is shown with its own text, and the program goes on.
namespace ErrorBox {

/// Shows message in a modal error box (or hands it to the presenter set by a test).
void show(const QString &message, QWidget *parent = nullptr);

/// Replaces the message box, for tests: each error goes to presenter instead.
/// An empty function restores the message box.
void setPresenter(std::function<void(const QString &)> presenter);

/// Runs a handler; an error it lets through ends it and is shown with its own
/// text. Returns false when the handler failed.
template<typename Handler>
bool guard(Handler &&handler, QWidget *parent = nullptr)
{
    try {
        handler();
        return true;
    } catch (const StationError &error) {
        show(error.message(), parent);
    } catch (const std::exception &error) {
        show(QString::fromLocal8Bit(error.what()), parent);
    }
    return false;
}

} // namespace ErrorBox
