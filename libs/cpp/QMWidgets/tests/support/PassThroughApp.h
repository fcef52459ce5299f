#pragma once

#include "TestApp.h"

namespace QMTest {

// A test application object that, like the program's own, hands links
// through unchanged; switched off, the framework's Store mapping applies.
class PassThroughApp : public TestApp
{
    Q_OBJECT

public:
    using TestApp::TestApp;

    void setPassLinksThrough(bool bPass);

    QString storeLinkForApp(const QString& strLink) const override;

private:
    bool m_bPassLinksThrough = true;
};

}  // namespace QMTest
