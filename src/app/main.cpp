#include "app/frmCSS.h"
#include "app/modMain.h"
#include "pages/StandardPages.h"
#include "support/LargePages.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    keepFreedMemory();
    // Answered before any window system is needed, so they work on a console.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString reply = CommandLineReply(arguments);
    if (!reply.isEmpty()) {
        std::fputs(reply.toUtf8().constData(), stdout);
        return 0;
    }

    const QString sandboxNote = SwitchEngineSandboxForRoot(::geteuid() == 0);
    std::fputs(sandboxNote.toLocal8Bit().constData(), stderr);

    QApplication app(argc, argv);
    InitApplication(app);
    registerStandardPages();

    frmCSS window;
    window.show();
    window.start(CommandLineText(QApplication::arguments()));
    return app.exec();
}
