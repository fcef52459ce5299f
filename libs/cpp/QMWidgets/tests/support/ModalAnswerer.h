#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QTimer;
class QWidget;

namespace QMTest {

// Answers the next modal dialog: polls for the active modal widget and runs
// the action on it once, from the event loop that the dialog's exec() runs.
// Typical use, before the code under test opens its dialog:
//     QMTest::ModalAnswerer answer([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
//     app.slotAbout();
//     QVERIFY(answer.answered());
// An answerer that sees no dialog within the timeout stops looking.
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    using Action = std::function<void(QWidget*)>;

    explicit ModalAnswerer(Action action, int nTimeoutMs = 5000, QObject* pParent = nullptr);

    bool answered() const;
    // The class name of the dialog that was answered.
    QString answeredClassName() const;

    // Convenience actions.
    static Action reject();
    static Action done(int nResult);
    static Action clickButton(const QString& strText);
    static Action pressEscape();
    // The answer a table row names: "escape" presses Escape, any other text
    // clicks the button with that text.
    static Action clickButtonOrEscape(const QString& strAnswer);

private slots:
    void slotPoll();

private:
    Action m_action;
    QTimer* m_pTimer = nullptr;
    int m_nRemainingMs = 0;
    bool m_bAnswered = false;
    QString m_strClassName;
};

}  // namespace QMTest
