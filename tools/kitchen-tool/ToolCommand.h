#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

/// One sub-command of kitchen-tool. Each Command*.cpp registers its own with a
/// static ToolCommand::Registration.
struct ToolCommand
{
    QString name;
    QString usage;    ///< one line, after "kitchen-tool "
    /// Runs with the arguments after the command's name; returns the exit status.
    /// An error it lets through is printed on standard error and gives status 1.
    std::function<int(const QStringList &arguments, QTextStream &out)> run;

    struct Registration
    {
        explicit Registration(ToolCommand command);
    };

    static const QList<ToolCommand> &all();
};
