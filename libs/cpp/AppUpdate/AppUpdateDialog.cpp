#include "AppUpdateDialog.h"

#include "App.h"
#include "AppUpdate.h"
#include "UrlOpener.h"
#include "WidgetFunctions.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

AppUpdateDialog::AppUpdateDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("UpdateDialog"));
    setWindowTitle(QCoreApplication::applicationName() + tr(" Updates Notification"));

    pictureLabel = new QLabel;
    pictureLabel->setAlignment(Qt::AlignHCenter);
    textLabel = new QLabel;

    checkOnStartBox = new QCheckBox(tr("Check for updates on start"));
    connect(checkOnStartBox, SIGNAL(toggled(bool)), this, SLOT(slotSetChecked(bool)));

    auto* yesButton = new QPushButton(tr("Yes"));
    connect(yesButton, SIGNAL(clicked()), this, SLOT(slotUpdate()));
    QMWidgets::makeFlatPushButton(yesButton);
    auto* noButton = new QPushButton(tr("No"));
    connect(noButton, SIGNAL(clicked()), this, SLOT(slotCancel()));
    QMWidgets::makeFlatPushButton(noButton);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(3);
    buttonRow->addWidget(yesButton);
    buttonRow->addWidget(noButton);

    auto* checkRow = new QHBoxLayout;
    checkRow->setContentsMargins(2, 2, 2, 2);
    checkRow->setSpacing(1);
    checkRow->addWidget(checkOnStartBox);
    checkRow->addStretch(1);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(pictureLabel);
    layout->addWidget(textLabel);
    layout->addLayout(buttonRow);
    layout->addLayout(checkRow);
    setLayout(layout);

    // Set after the connection, so the stored value is written back as is.
    checkOnStartBox->setChecked(isCheckOnStartEnabled());
}

bool AppUpdateDialog::isCheckOnStartEnabled()
{
    return QMWidgets::App::instance()->settingsValue(QStringLiteral("checkupdates"), true).toBool();
}

void AppUpdateDialog::setCheckOnStart(bool enabled)
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("checkupdates"), enabled);
}

void AppUpdateDialog::setText(const QString text)
{
    textLabel->setText(text);
}

QString AppUpdateDialog::text() const
{
    return textLabel->text();
}

void AppUpdateDialog::setPixmap(const QPixmap pixmap)
{
    pictureLabel->setPixmap(pixmap);
}

void AppUpdateDialog::slotCancel()
{
    reject();
}

void AppUpdateDialog::slotUpdate()
{
    Platform::openUrl(QUrl(AppUpdate::updatePageUrl(), QUrl::TolerantMode));
    reject();
}

void AppUpdateDialog::slotSetChecked(bool checked)
{
    setCheckOnStart(checked);
}
