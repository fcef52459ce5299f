#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

class QCheckBox;
class QLabel;

// Tells the result of an update check and offers the update web page.
class AppUpdateDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AppUpdateDialog(QWidget* parent = nullptr);

    // The setting "checkupdates" (default true): whether to check on start.
    static bool isCheckOnStartEnabled();
    static void setCheckOnStart(bool enabled);

    void setText(const QString text);
    QString text() const;
    void setPixmap(const QPixmap pixmap);

public slots:
    void slotCancel();
    void slotUpdate();
    void slotSetChecked(bool checked);

private:
    QLabel* pictureLabel = nullptr;
    QLabel* textLabel = nullptr;
    QCheckBox* checkOnStartBox = nullptr;
};
