// kitchen-tool: the station's command line for installers and tests.

#include "ToolCommand.h"
#include "app/StationError.h"
#include "data/StopSignals.h"

#include <QApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    // Ctrl-C ends the tool at once: left to the Firebird client library, the
    // signal shuts its engine down and the tool's detach hangs.
    StopSignals::install([] { std::_Exit(130); });
    // Rendering and printing labels need a GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kitchen-tool"));

    // A command writes into a buffer that reaches standard output only when it
    // succeeds: a failed command writes nothing there.
    QString output;
    QTextStream out(&output);
    QTextStream err(stderr);
    QStringList arguments = QApplication::arguments().mid(1);

    QList<ToolCommand> commands = ToolCommand::all();
    std::sort(commands.begin(), commands.end(),
              [](const ToolCommand &a, const ToolCommand &b) { return a.name < b.name; });
    const auto usage = [&] {
        err << "usage:\n";
        for (const ToolCommand &command : commands)
            err << "  kitchen-tool " << command.usage << '\n';
        return 2;
    };
    if (arguments.isEmpty())
        return usage();

    const QString name = arguments.takeFirst();
    const auto command = std::find_if(commands.cbegin(), commands.cend(),
                                      [&](const ToolCommand &c) { return c.name == name; });
    if (command == commands.cend())
        return usage();

    try {
        const int status = command->run(arguments, out);
        out.flush();
        QTextStream(stdout) << output;
        return status;
    } catch (const StationError &error) {
        err << error.message() << '\n';
    } catch (const std::exception &error) {
        err << QString::fromLocal8Bit(error.what()) << '\n';
    }
    return 1;
}
