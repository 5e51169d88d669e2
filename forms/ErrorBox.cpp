#include "forms/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

namespace ErrorBox {

namespace {
std::function<void(const QString &)> &presenter()
{
    static std::function<void(const QString &)> instance;
    return instance;
}
} // namespace

void show(const QString &message, QWidget *parent)
{
    if (presenter()) {
        presenter()(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message, QMessageBox::Ok,
                    parent);
    box.exec();
}

void setPresenter(std::function<void(const QString &)> newPresenter)
{
    presenter() = std::move(newPresenter);
}

} // namespace ErrorBox
