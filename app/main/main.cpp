#include "MainPage.h"
#include "OptimizerApp.h"

#include <QIcon>

int main(int argc, char* argv[])
{
    const QString strApplication = QStringLiteral("Zintrop Lite");
    const QString strOrganisation = QStringLiteral("Corvane");

    OptimizerApp app(argc, argv, strOrganisation, strApplication);
    app.setUpIdentity();
    app.setWindowIcon(QIcon(QStringLiteral(":/zintrop.png")));

    MainPage page(nullptr);
    app.presentMainPage(&page);

    return app.exec();
}
