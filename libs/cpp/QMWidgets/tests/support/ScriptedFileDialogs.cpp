#include "ScriptedFileDialogs.h"

namespace QMTest {

ScriptedFileDialogs::ScriptedFileDialogs(const QList<QStringList>& answers)
    : m_answers(answers)
{
    m_previous = Os::setFileDialogHook([this](const Os::FileDialogRequest& request) {
        m_requests << request;
        return m_answers.isEmpty() ? QStringList() : m_answers.takeFirst();
    });
}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    Os::setFileDialogHook(m_previous);
}

void ScriptedFileDialogs::answer(const QString& strPath)
{
    m_answers << (strPath.isEmpty() ? QStringList() : QStringList{strPath});
}

void ScriptedFileDialogs::answer(const QStringList& paths)
{
    m_answers << paths;
}

QList<Os::FileDialogRequest> ScriptedFileDialogs::requests() const
{
    return m_requests;
}

}  // namespace QMTest
