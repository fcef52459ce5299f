#include "FileSizeSignal.h"
#include "MainPage.h"
#include "OptimizerApp.h"

#include <QIcon>

int main(int argc, char* argv[])
{
    // Before anything writes: an output past the file size limit is then
    // reported as that file's error, and the batch goes on.
    MTools::ignoreFileSizeSignal();

    const QString strApplication = QStringLiteral("Zintrop Lite");
    const QString strOrganisation = QStringLiteral("Corvane");

    OptimizerApp app(argc, argv, strOrganisation, strApplication);
    app.setUpIdentity();
    app.setWindowIcon(QIcon(QStringLiteral(":/zintrop.png")));

    MainPage page(nullptr);
    app.presentMainPage(&page);

    return app.exec();
}
