#include "app/frmCSS.h"
#include "app/modMain.h"
#include "pages/StandardPages.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitApplication(app);
    registerStandardPages();

    frmCSS window;
    window.show();
    window.start(CommandLineText(QApplication::arguments()));
    return app.exec();
}
