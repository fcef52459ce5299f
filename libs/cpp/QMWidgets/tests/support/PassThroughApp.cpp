#include "PassThroughApp.h"

namespace QMTest {

void PassThroughApp::setPassLinksThrough(bool bPass)
{
    m_bPassLinksThrough = bPass;
}

QString PassThroughApp::storeLinkForApp(const QString& strLink) const
{
    return m_bPassLinksThrough ? strLink : TestApp::storeLinkForApp(strLink);
}

}  // namespace QMTest
