#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace QMTest {

namespace {
constexpr int kPollMs = 20;
}

ModalAnswerer::ModalAnswerer(Action action, int nTimeoutMs, QObject* pParent)
    : QObject(pParent)
    , m_action(std::move(action))
    , m_pTimer(new QTimer(this))
    , m_nRemainingMs(nTimeoutMs)
{
    connect(m_pTimer, &QTimer::timeout, this, &ModalAnswerer::slotPoll);
    m_pTimer->start(kPollMs);
}

bool ModalAnswerer::answered() const
{
    return m_bAnswered;
}

QString ModalAnswerer::answeredClassName() const
{
    return m_strClassName;
}

void ModalAnswerer::slotPoll()
{
    QWidget* pModal = QApplication::activeModalWidget();
    if (pModal && pModal->isVisible()) {
        m_pTimer->stop();
        m_bAnswered = true;
        m_strClassName = QString::fromLatin1(pModal->metaObject()->className());
        QPointer<QWidget> pAnswered(pModal);
        if (m_action)
            m_action(pModal);
        // An answer that did not close the dialog would leave the test
        // waiting until its time-out: close it, so the test fails instead.
        QTimer::singleShot(3000, this, [pAnswered] {
            if (pAnswered && pAnswered->isVisible() && QApplication::activeModalWidget() == pAnswered) {
                qWarning("ModalAnswerer: the dialog was still open after its answer; closing it");
                if (auto* pDialog = qobject_cast<QDialog*>(pAnswered.data()))
                    pDialog->reject();
                else
                    pAnswered->close();
            }
        });
        return;
    }
    m_nRemainingMs -= kPollMs;
    if (m_nRemainingMs <= 0)
        m_pTimer->stop();
}

ModalAnswerer::Action ModalAnswerer::reject()
{
    return [](QWidget* pWidget) {
        if (auto* pDialog = qobject_cast<QDialog*>(pWidget))
            pDialog->reject();
        else
            pWidget->close();
    };
}

ModalAnswerer::Action ModalAnswerer::done(int nResult)
{
    return [nResult](QWidget* pWidget) {
        if (auto* pDialog = qobject_cast<QDialog*>(pWidget))
            pDialog->done(nResult);
        else
            pWidget->close();
    };
}

ModalAnswerer::Action ModalAnswerer::clickButton(const QString& strText)
{
    return [strText](QWidget* pWidget) {
        const QList<QAbstractButton*> buttons = pWidget->findChildren<QAbstractButton*>();
        for (QAbstractButton* pButton : buttons) {
            if (pButton->text() == strText && pButton->isVisible()) {
                pButton->click();
                return;
            }
        }
        // No such button: do not leave the test hanging in the dialog.
        pWidget->close();
    };
}

ModalAnswerer::Action ModalAnswerer::pressEscape()
{
    return [](QWidget* pWidget) { QTest::keyClick(pWidget, Qt::Key_Escape); };
}

ModalAnswerer::Action ModalAnswerer::clickButtonOrEscape(const QString& strAnswer)
{
    if (strAnswer == QLatin1String("escape"))
        return pressEscape();
    return clickButton(strAnswer);
}

}  // namespace QMTest
