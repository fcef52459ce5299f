#include "MoreAppsButton.h"

#include "PromoCatalogue.h"
#include "UrlOpener.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSignalMapper>

namespace QMWidgets {

MoreAppsButton::MoreAppsButton(QWidget* pParent)
    : QPushButton(pParent)
{
    m_pUrlMapper = new QSignalMapper(this);
    connect(m_pUrlMapper, &QSignalMapper::mappedString, this, &MoreAppsButton::slotCallUrl);
    m_pMenu = new QMenu(this);
    setMenu(m_pMenu);
}

void MoreAppsButton::addAppAction(const QPixmap& pixmap, const QString& strText, const QString& strUrl)
{
    QAction* pAction = new QAction(QIcon(pixmap), strText, this);
    connect(pAction, SIGNAL(triggered()), m_pUrlMapper, SLOT(map()));
    m_pUrlMapper->setMapping(pAction, strUrl);
    m_pMenu->addAction(pAction);
}

void MoreAppsButton::addStoreAppAction(const QPixmap& pixmap, const QString& strText,
                                       const QString& strAppName, const QString& strStoreId)
{
    addAppAction(pixmap, strText, PromoCatalogue::storeAppPage(strAppName, strStoreId));
}

void MoreAppsButton::addMenuSeparator()
{
    m_pMenu->addSeparator();
}

void MoreAppsButton::addMenuAction(QAction* pAction)
{
    m_pMenu->addAction(pAction);
}

void MoreAppsButton::slotCallUrl(const QString& strUrl)
{
    // A failure to open the page is ignored.
    Platform::openLink(strUrl);
}

}  // namespace QMWidgets
