#include "TestApp.h"

namespace QMTest {

TestApp::TestApp(int& argc, char** argv, const QString& strOrganisation, const QString& strApplication)
    : QMWidgets::App(argc, argv, strOrganisation, strApplication)
{
    m_bIndependentBuild = true;
}

void TestApp::setIndependentBuild(bool bIndependent)
{
    m_bIndependentBuild = bIndependent;
}

void TestApp::setPromotedLink(const QString& strLink)
{
    m_strPromotedLink = strLink;
}

void TestApp::setResourcesPath(const QString& strPath)
{
    m_strResourcesPath = strPath;
}

}  // namespace QMTest
