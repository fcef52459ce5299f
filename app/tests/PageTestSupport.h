#pragma once

// Shared by the main-page, start-up and end-to-end tests.

#include "App.h"
#include "AudioPlayer.h"
#include "BatchDialog.h"
#include "Os.h"
#include "QMTest.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace PageTest {

// Sound goes to a sink that needs no sound card; call before the
// application object exists.
inline void silenceSound()
{
    qputenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK", "fakesink");
}

// Settings for a quiet batch into outFolder: nothing opened, no sound, no
// review dialog (its request is counted afresh), no media left loaded.
inline void prepareQuietBatch(const QString& outFolder)
{
    QMTest::clearSettings();
    QMWidgets::App* app = QMWidgets::App::instance();
    app->setSettingsValue(QStringLiteral("DestinationPath"), outFolder);
    app->setSettingsValue(QStringLiteral("KeyOpenFolderAfter"), false);
    app->setSettingsValue(QStringLiteral("KeyPlaySoundAfter"), false);
    app->setSettingsValue(QStringLiteral("AutoReminder"), false);
    Os::resetReviewRequestForTests();
    QMMultiMedia::AudioPlayer::instance()->setMedia(QString());
}

// Drops the URLs on a widget as the desktop would: drag enter, then drop.
inline bool dropUrls(QWidget* target, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint pos = target->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return true;
}

// Runs the action on every modal dialog of the given class that is open
// while it polls (every 20 ms) until the action returns true; used to drive
// dialogs whose exec() blocks the test.
class ModalDriver : public QObject
{
public:
    using Step = std::function<bool(QWidget*)>;

    ModalDriver(const char* className, Step step)
        : m_className(className)
        , m_step(std::move(step))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    bool done() const { return m_bDone; }
    int seen() const { return m_nSeen; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->inherits(m_className))
            return;
        if (modal != m_pLast) {
            m_pLast = modal;
            ++m_nSeen;
        }
        if (m_step(modal)) {
            m_bDone = true;
            m_timer.stop();
        }
    }

    const char* m_className;
    Step m_step;
    QTimer m_timer;
    QWidget* m_pLast = nullptr;
    bool m_bDone = false;
    int m_nSeen = 0;
};

// A ModalDriver step for the batch's progress dialog: closes it once the
// batch is done (true), and waits until then (false).
inline bool closeBatchWhenDone(QWidget* w)
{
    auto* dialog = static_cast<BatchDialog*>(w);
    if (!dialog->closeButton()->isVisible())
        return false;
    dialog->closeButton()->click();
    return true;
}

} // namespace PageTest

// A test program whose application object is the framework's test App,
// with sound silenced and the review request's dialog switched off.
#define PAGETEST_MAIN(TestObject) \
    QMTEST_APP_MAIN_PREPARED(QMTest::TestApp, TestObject, PageTest::silenceSound())
