#pragma once

#include <QFrame>
#include <QString>

namespace QMWidgets {

// Invitation text and follow buttons for the maker's channels.
class JoinWidget : public QFrame
{
    Q_OBJECT
public:
    explicit JoinWidget(QWidget* pParent = nullptr);
    ~JoinWidget() override;

private slots:
    void slotYouTubeClicked();
    void slotFaceBookClicked();
    void slotTwitterClicked();
    void slotVKontakteClicked();
    void slotEmailClicked();

private:
    // Mail link with two placeholders: application name and "email".
    QString m_strMailTemplate;
};

} // namespace QMWidgets
