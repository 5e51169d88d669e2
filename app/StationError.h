#pragma once

#include <QString>
#include <exception>

/// An error that the station shows to the cook with its own text: a database,
/// file, print, sound or conversion error. Every error that a handler lets
/// through ends up in the standard error box with message() as its text.
class StationError : public std::exception
{
public:
    explicit StationError(QString message);

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override;

private:
    QString m_message;
    QByteArray m_utf8;
};
