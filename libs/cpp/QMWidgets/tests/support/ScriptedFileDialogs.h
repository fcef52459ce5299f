#pragma once

#include "Os.h"

#include <QList>
#include <QStringList>

namespace QMTest {

// Answers the program's file dialogs (Os::getOpenFileName and its siblings)
// from a script while it lives, and records what each dialog was asked.
// Every dialog takes the next answer; an empty answer, or a dialog beyond the
// end of the script, is a cancelled dialog. The previous hook is restored on
// destruction.
class ScriptedFileDialogs
{
public:
    explicit ScriptedFileDialogs(const QList<QStringList>& answers = QList<QStringList>());
    ~ScriptedFileDialogs();
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    // Appends one answer: the path chosen, or an empty text for Cancel.
    void answer(const QString& strPath);
    void answer(const QStringList& paths);

    QList<Os::FileDialogRequest> requests() const;

private:
    QList<QStringList> m_answers;
    QList<Os::FileDialogRequest> m_requests;
    Os::FileDialogHook m_previous;
};

}  // namespace QMTest
