#pragma once

#include "Label.h"

#include <QList>
#include <QUrl>

class QDragEnterEvent;
class QDropEvent;
class QPushButton;

namespace QMWidgets {

// The area through which a user hands files and folders to an application:
// it takes drops that carry a URI list, and its open button asks for files
// (open mode non-zero) or one folder (open mode 0) instead. Either way it
// reports through dropped(), so receivers cannot tell a drop from an open.
class DropWidget : public Label
{
    Q_OBJECT

public:
    explicit DropWidget(QWidget *parent = nullptr);

    void setOpenMode(int mode);
    void setButtonText(const QString &text);
    void setLabelText(const QString &text);     // rich text allowed
    void hideButton();                          // for good; drops still work
    void setHideOnDrop(bool hide);

    // Room for the heading at the top and the button row at the bottom, so
    // that the button never covers the text.
    QSize minimumSizeHint() const override;

signals:
    void dropped(const QList<QUrl> &urls);

public slots:
    void slotOpenClicked();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void deliver(const QList<QUrl> &urls);

    QList<QUrl> m_listUrls;
    QPushButton *m_pOpenButton = nullptr;
    bool m_bHideOnDrop = true;
    int m_nOpenMode = 1;
};

} // namespace QMWidgets
