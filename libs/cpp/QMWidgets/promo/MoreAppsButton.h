#pragma once

#include <QPixmap>
#include <QPushButton>
#include <QString>

class QAction;
class QMenu;
class QSignalMapper;

namespace QMWidgets {

// A push button with a drop-down of links: each entry has an icon, a text
// and a URL that opens in the system's browser. Unlike the top bar's More
// menu, URLs are used as given, so every entry added is shown.
class MoreAppsButton : public QPushButton
{
    Q_OBJECT

public:
    explicit MoreAppsButton(QWidget* pParent = nullptr);

    void addAppAction(const QPixmap& pixmap, const QString& strText, const QString& strUrl);
    void addStoreAppAction(const QPixmap& pixmap, const QString& strText,
                           const QString& strAppName, const QString& strStoreId);
    void addMenuSeparator();
    // Appended unchanged: the action keeps its own connections.
    void addMenuAction(QAction* pAction);

public slots:
    void slotCallUrl(const QString& strUrl);

private:
    QMenu* m_pMenu = nullptr;
    QSignalMapper* m_pUrlMapper = nullptr;
};

}  // namespace QMWidgets
