#pragma once

#include <QDialog>

class QLabel;
class QMovie;
class QTimer;

namespace QMWidgets {

// A small frameless, translucent, always-on-top dialog with a loading
// animation and a text, for short waits. It accepts itself 10 s after being
// shown at the latest, so a forgotten one never stays up.
class UpdateIndicationDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateIndicationDialog(QWidget* pParent = nullptr);
    ~UpdateIndicationDialog() override;

    void setText(const QString& strText);

protected slots:
    void slotTimeOut();

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    QLabel* m_pMovieLabel = nullptr;
    QLabel* m_pTextLabel = nullptr;
    QMovie* m_pMovie = nullptr;
    QTimer* m_pTimeoutTimer = nullptr;
};

} // namespace QMWidgets
