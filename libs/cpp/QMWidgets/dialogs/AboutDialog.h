#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace QMWidgets {

// The about box: the application's picture and a short information panel,
// switchable to the legal notices (the toolkit's licence notes and the
// licence file from the resources folder).
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* pParent = nullptr);
    ~AboutDialog() override;

    // Collects a library's legal notice for every about box; "<!bundlepath!>"
    // stands for the resources folder.
    static void addLegalNotice(const QString& strNotice);

    // true: the information view; false: the legal notices.
    void showInfo(bool bInfo);

    // The rich text of the information panel.
    static QString infoText();

public slots:
    void slotLegalNoticesClicked();
    void slotOkClicked();
    void slotAnchorClicked(const QUrl& url);

private:
    QLabel* m_pLabelLogo;
    QTextBrowser* m_pBrowserLegal;
    QLabel* m_pLabelInfo;
    QPushButton* m_pButtonLegalNotices;
};

} // namespace QMWidgets
