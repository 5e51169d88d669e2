#include "ToolCommand.h"

namespace {
QList<ToolCommand> &registry()
{
    static QList<ToolCommand> commands;
    return commands;
}
} // namespace

ToolCommand::Registration::Registration(ToolCommand command)
{
    registry().append(std::move(command));
}

const QList<ToolCommand> &ToolCommand::all()
{
    return registry();
}
