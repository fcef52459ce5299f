#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QTabWidget;

namespace QMWidgets {

class SettingsWidget;

// The tabbed settings dialog. Pages are registered once for the process,
// by name, before a dialog is first shown; the dialog then shows one tab per
// registration (in registration order), applies every settings page at
// once, and exports all pages to one ".vexsettings" XML file or imports them
// from one (pages in name order; see SettingsXml.h).
//
// Showing makes the pages children of the dialog, so they go with it. The
// registry does not keep pages alive: a page that is gone is skipped, and a
// later dialog needs its pages registered anew.
//
// From the framework's application object it takes only the folders the
// file dialogs start in and remembers the chosen ones there; without one
// they start in the home folder and nothing is remembered.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(QWidget* pParent = nullptr);

    // Sets the page for the name (replacing an earlier one) and appends the
    // name to the tab order every time, also for a name given before.
    static void addSettingsWidget(const QString& strName, QWidget* pPage);
    // The registered pages that are settings pages and still exist, in name order.
    static QList<SettingsWidget*> settingsPages();

protected:
    void showEvent(QShowEvent* pEvent) override;

private slots:
    void slotOk();
    void slotApply();
    void slotLoadSettings();
    void slotSaveSettings();

private:
    void buildTabs();

    bool m_bTabsBuilt = false;
    QTabWidget* m_pTabs = nullptr;
};

} // namespace QMWidgets
