#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

namespace QMWidgets {

class HelpViewArea;

// The introduction window: the slide show, an optional video button, the
// "always skip" button and a close button. Created once and kept; closing
// only hides it.
class HelpDialog : public QDialog
{
    Q_OBJECT
public:
    explicit HelpDialog(QWidget* pParent = nullptr);
    ~HelpDialog() override;

    void addSlide(const QString& strPath);
    void setVideoLink(const QString& strLink);
    void hideSkipButton();

    // False once the user chose to skip the introduction for good.
    static bool isIntroEnabled();

    HelpViewArea* viewArea() const { return m_pViewArea; }

    // The video page that stands in for a video link the system cannot open.
    static QString videoPageBase();

private slots:
    void slotReject();
    void slotNeverShowItAgain();
    void slotWatchVideo();

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    QPushButton* m_pButtonSkip;
    HelpViewArea* m_pViewArea;
    bool m_bKeepSkipHidden = false;
    QPushButton* m_pButtonVideo;
    QString m_strVideoLink;
};

} // namespace QMWidgets
