// A copy of the station's window under the single-instance guard, for the
// guard's test: prints "first" or "second", and what the window looks like
// each time a later copy asks it to come forward.

#include "app/SingleInstance.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString identity = QApplication::arguments().value(1);
    QTextStream out(stdout);

    TVente_au_comptoir_zedivad window;
    if (!window.installDesktopComponents(identity)) {
        out << "second\n";
        return 0;
    }
    window.showMinimized();
    // Connected after the window's own handler, so it reports what that did.
    QObject::connect(window.LMDOneInstance1, &SingleInstance::activationRequested, &window, [&] {
        out << "activated minimised=" << int(window.isMinimized()) << " visible=" << int(window.isVisible())
            << '\n';
        out.flush();
    });
    out << "first\n";
    out.flush();
    return QApplication::exec();
}
