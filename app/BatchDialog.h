#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class CompressProgress;
class PreviewLoader;
class QLabel;
class QPushButton;
class QTimer;

namespace QMWidgets {
class Label;
class SimpleProgress;
}

// The modal progress dialog of a batch: the ring of bytes saved, a preview of
// the file being reduced, the progress bar with the status text, the file
// counter, Pause/Resume, Stop and, once the batch is done, Close.
class BatchDialog : public QDialog
{
    Q_OBJECT
public:
    explicit BatchDialog(QWidget* parent = nullptr);

    // For tests and for the launcher's wiring.
    QMWidgets::SimpleProgress* progressBar() const { return m_pProgress; }
    CompressProgress* ring() const { return m_pRing; }
    QPushButton* pauseButton() const { return m_pPauseButton; }
    QPushButton* stopButton() const { return m_pStopButton; }
    QPushButton* closeButton() const { return m_pCloseButton; }
    QPushButton* errorButton() const { return m_pErrorButton; }
    QMWidgets::Label* preview() const { return m_pPreview; }
    QLabel* counterLabel() const { return m_pCounter; }
    QString errorText() const { return m_strErrors; }

    // Test hook: decodes the previews of dialogs made afterwards in place of
    // the file loader. Pass an empty function to reset.
    static void setPreviewDecodeForTesting(const std::function<QImage(const QString&)>& decode);

signals:
    void start();
    void stop();
    void paused(bool paused);

public slots:
    void slotPause();
    void slotStop();
    void slotProgressChanged(int percent);
    void slotFileProgressChanged(int percent);
    void slotAccept();
    void slotShowCurrentFile(const QString& text);
    void slotShowCurrentFileImage(const QString& path);
    void slotSetErrors(const QString& errors);
    void slotShowErrors();
    void slotNotEnoughtFreeSpace();
    void slotTotalProgressSizesChanged(qint64 inputTotal, qint64 outputTotal);
    void slotFilesCountChanged(int current, int total);
    // The batch could not do its work: the finished look without "DONE",
    // the reason in the bar (whole in its tool tip), the ring as it was.
    void slotFailed(const QString& reason);

public:
    ~BatchDialog() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private slots:
    void slotLoadPreview();

private:
    QMWidgets::SimpleProgress* m_pProgress;
    CompressProgress* m_pRing;
    QLabel* m_pHiddenLabel;
    QPushButton* m_pPauseButton;
    QPushButton* m_pStopButton;
    QPushButton* m_pCloseButton;
    QPushButton* m_pErrorButton;
    QMWidgets::Label* m_pPreview;
    QString m_strErrors;
    QLabel* m_pCounter;
    // Previews are decoded off the GUI thread, the newest path first, so a
    // fast batch never queues up decodes and a large picture never holds up
    // the window. Declared last: the loader goes before the widgets, so no
    // picture is delivered to them once they are gone (a decode under way
    // ends on its own thread, which is joined later).
    QString m_strPreviewPath;
    QTimer* m_pPreviewTimer;
    std::unique_ptr<PreviewLoader> m_pPreviewLoader;
};
