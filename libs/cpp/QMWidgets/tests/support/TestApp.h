#pragma once

#include "App.h"

namespace QMTest {

// The application object of a GUI test: the framework's App under the
// program's names ("Corvane", "Zintrop Lite"), marked as distributed outside
// the Store like the real program. No message handler is installed, so
// warnings stay visible in the test log.
class TestApp : public QMWidgets::App
{
    Q_OBJECT

public:
    TestApp(int& argc, char** argv, const QString& strOrganisation = QStringLiteral("Corvane"),
            const QString& strApplication = QStringLiteral("Zintrop Lite"));

    void setIndependentBuild(bool bIndependent);
    // Lets a test set the promoted link, which the base class offers no setter for.
    void setPromotedLink(const QString& strLink);
    // Points the resources folder elsewhere (a marker file test must not
    // touch the shared build folder).
    void setResourcesPath(const QString& strPath);
};

}  // namespace QMTest
