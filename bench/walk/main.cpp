// Times the media search dialog's walk over a folder tree and records the
// longest stretch in which the dialog processed no events.
//
//   walk-bench FOLDER [RUNS]
//
// Prints one line per run and a summary line "best_ms=... median_ms=...
// max_gap_ms=... files=... folders=..." for the comparison script.

#include "MediaSearchDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Re-posts an event to itself each time one is delivered, so every pass of
// event processing in the walk shows up as a delivery.
class Heartbeat : public QObject
{
public:
    static const QEvent::Type kBeat = QEvent::Type(QEvent::User + 7);

    void start()
    {
        m_maxGapNs = 0;
        m_clock.start();
        m_running = true;
        QCoreApplication::postEvent(this, new QEvent(kBeat));
    }
    void stop() { m_running = false; }
    double maxGapMs() const { return double(m_maxGapNs) / 1e6; }

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() != kBeat || !m_running)
            return;
        m_maxGapNs = std::max(m_maxGapNs, m_clock.nsecsElapsed());
        m_clock.restart();
        QCoreApplication::postEvent(this, new QEvent(kBeat));
    }

private:
    QElapsedTimer m_clock;
    qint64 m_maxGapNs = 0;
    bool m_running = false;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: walk-bench FOLDER [RUNS]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QMMultiMedia::MediaSearchDialog dialog;
    dialog.setUrls({QUrl::fromLocalFile(folder)});
    Heartbeat heartbeat;

    std::vector<double> times;
    double maxGap = 0;
    int files = 0;
    int folders = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        QTimer::singleShot(0, &dialog, [&] {
            heartbeat.start();
            clock.start();
            QMetaObject::invokeMethod(&dialog, "slotStart");
        });
        const int result = dialog.exec();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        heartbeat.stop();
        if (result != QDialog::Accepted) {
            std::fprintf(stderr, "search did not finish\n");
            return 1;
        }
        files = dialog.audioFiles().size() + dialog.videoFiles().size() + dialog.imageFiles().size()
            + dialog.textFiles().size() + dialog.otherFiles().size();
        folders = dialog.folders().size();
        times.push_back(ms);
        maxGap = std::max(maxGap, heartbeat.maxGapMs());
        std::printf("run %d: %.1f ms, longest gap between event passes %.2f ms\n", run + 1, ms,
                    heartbeat.maxGapMs());
    }
    std::sort(times.begin(), times.end());
    std::printf("best_ms=%.1f median_ms=%.1f max_gap_ms=%.2f files=%d folders=%d\n", times.front(),
                times[times.size() / 2], maxGap, files, folders);
    return 0;
}
