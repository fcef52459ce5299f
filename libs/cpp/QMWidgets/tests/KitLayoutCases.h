#pragma once

// The widget kit's windows, dialogs and composite widgets, each shown at its
// minimum size by the layout checks of a normal and of a small screen.

#include "DialogLayoutCheck.h"

#include "AniSwitch.h"
#include "BubbleWindow.h"
#include "ComboProgress.h"
#include "DateWidget.h"
#include "DirView.h"
#include "EmailEdit.h"
#include "ImageViewer.h"
#include "InputDialog.h"
#include "LinkDialog.h"
#include "MobileSimulator.h"
#include "NoScreenShotWidget.h"
#include "ScreenLocker.h"
#include "SearchFilter.h"
#include "SettingsDialog.h"
#include "SettingsWidget.h"
#include "TopWidget.h"
#include "UpdateIndicationDialog.h"
#include "WaitLabel.h"
#include "WindowTitle.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace KitLayoutCases {

// A small settings page: a check box and a line edit.
class Page : public QMWidgets::SettingsWidget
{
public:
    explicit Page(const QString& strName)
        : m_strName(strName)
    {
        auto* pLayout = new QVBoxLayout(this);
        pLayout->addWidget(new QCheckBox("Option"));
        pLayout->addWidget(new QLineEdit);
    }
    void readSettings(const QDomNode&) override {}
    QDomElement writeSettings(QDomDocument& document) override { return document.createElement(m_strName); }
    QString settingsName() override { return m_strName; }

private:
    QString m_strName;
};

struct Case
{
    std::function<QWidget*()> make;
    // Children that float over others by design: overlaps naming them are expected.
    QStringList slFloating;
};

inline QMap<QString, Case> cases(const QString& strAnimation)
{
    QMap<QString, Case> map;
    map["bubble window"] = {[] {
        auto* pBubble = new QMWidgets::BubbleWindow(nullptr, Qt::darkBlue);
        auto* pLayout = new QVBoxLayout(pBubble);
        pLayout->setContentsMargins(8, 28, 8, 8);
        pLayout->addWidget(new QLabel("A hint in a bubble"));
        return pBubble;
    }, {}};
    map["settings dialog"] = {[] {
        QMWidgets::SettingsDialog::addSettingsWidget("General", new Page("general"));
        QMWidgets::SettingsDialog::addSettingsWidget("Files", new Page("files"));
        return new QMWidgets::SettingsDialog;
    }, {}};
    map["image viewer"] = {[] {
        auto* pViewer = new QMWidgets::ImageViewer;
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        pViewer->slotLoad(picture);
        return pViewer;
    }, {"QScrollArea(-)"}};  // the picture lies under the floating navigation
    map["viewer title bar"] = {[] {
        auto* pTitle = new QMWidgets::WindowTitle;
        auto* pTools = new QHBoxLayout;
        pTools->addWidget(new QLabel("picture.png"));
        pTitle->setToolsLayout(pTools);  // the owner's tools
        return pTitle;
    }, {}};
    map["frameless window"] = {[] {
        auto* pWindow = new QMWidgets::TopWidget(false);
        pWindow->setTitle("Window");
        pWindow->contentLayout()->addWidget(new QLabel("Content of the window"));
        return pWindow;
    }, {}};
    map["frameless window, overlay"] = {[] {
        auto* pWindow = new QMWidgets::TopWidget(true);
        pWindow->setTitle("Window");
        pWindow->contentLayout()->addWidget(new QLabel("Content of the window"));
        return pWindow;
    }, {}};
    map["screenshot guard"] = {[] {
        auto* pGuard = new QMWidgets::NoScreenShotWidget;
        auto* pLayout = new QVBoxLayout(pGuard);
        pLayout->addWidget(new QLineEdit("secret"));
        return pGuard;
    }, {}};
    map["screen locker"] = {[] {
        auto* pLocker = new QMWidgets::ScreenLocker;
        // Not locked for the check: the lock would take the window full screen.
        pLocker->findChild<QTimer*>()->stop();
        pLocker->showUnlockButton();
        return pLocker;
    }, {}};
    map["input dialog, text"] = {[] {
        auto* pDialog = new QMWidgets::InputDialog("Name of the new folder:");
        return pDialog;
    }, {}};
    map["input dialog, number"] = {[] {
        return new QMWidgets::InputDialog("How many copies?", nullptr, Qt::WindowFlags(),
                                          QMWidgets::InputDialog::IntInput);
    }, {}};
    map["tutorial dialog"] = {[] { return new QMWidgets::LinkDialog; }, {}};
    map["update indication"] = {[strAnimation] {
        auto* pDialog = new QMWidgets::UpdateIndicationDialog;
        pDialog->findChild<QMovie*>()->setFileName(strAnimation);  // the application's animation
        pDialog->setText("Checking for updates...");
        return pDialog;
    }, {}};
    map["wait window"] = {[] { return new QMWidgets::WaitLabel("Please wait"); }, {}};
    map["holder frame"] = {[] {
        auto* pFrame = new QMWidgets::MobileSimulator;
        pFrame->setWidget(new QLabel("Held"));
        return pFrame;
    }, {}};
    map["date widget"] = {[] { return new QMWidgets::DateWidget; }, {}};
    map["directory view"] = {[] { return new QMWidgets::DirView; }, {}};
    map["e-mail field"] = {[] { return new QMWidgets::EmailEdit; }, {}};
    map["combo progress"] = {[] {
        auto* pProgress = new QMWidgets::ComboProgress;
        pProgress->setLabelMode(false);
        return pProgress;
    }, {}};
    map["search field"] = {[] {
        auto* pField = new QMWidgets::SearchFilter;
        pField->setText("query");
        return pField;
    }, {}};
    map["switch"] = {[] {
        auto* pSwitch = new QMWidgets::AniSwitch;
        pSwitch->resize(120, 30);
        pSwitch->setup(true, true);
        return pSwitch;
    }, {"AniSwitchHandler"}};  // the handle slides over the track
    return map;
}

inline void addRows()
{
    QTest::addColumn<QString>("strCase");
    for (const QString& strName : cases(QString()).keys())
        QTest::newRow(qPrintable(strName)) << strName;
}

// The problems of the case at its minimum size, without the expected
// overlaps of floating children.
inline QStringList problems(const QString& strCase, const QString& strAnimation)
{
    const Case layoutCase = cases(strAnimation).value(strCase);
    std::unique_ptr<QWidget> pWidget(layoutCase.make());
    QStringList found = DialogLayoutCheck::checkAtMinimumSize(pWidget.get());
    for (const QString& strFloating : layoutCase.slFloating) {
        found.erase(std::remove_if(found.begin(), found.end(),
                                   [&](const QString& strProblem) {
                                       return strProblem.contains(" overlaps ") && strProblem.contains(strFloating);
                                   }),
                    found.end());
    }
    return found;
}

} // namespace KitLayoutCases
