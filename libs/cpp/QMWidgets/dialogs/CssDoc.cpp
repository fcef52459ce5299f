#include "CssDoc.h"

#include "CssSyntaxHighlighter.h"
#include "Os.h"
#include "SafeSave.h"

#include <QFile>
#include <QFont>
#include <QTextStream>

namespace QMWidgets {

CssDoc::CssDoc(QWidget* pParent)
    : QTextEdit(pParent)
{
    new CssSyntaxHighlighter(document());
    applyOwnStyle();
}

void CssDoc::applyOwnStyle()
{
    QFont font("Lucida Console", 12, 50, false);
    // Lucida Console is rarely installed outside Windows; stay monospaced anyway.
    font.setStyleHint(QFont::Monospace);
    document()->setDefaultFont(font);
    setStyleSheet("QTextEdit{background: #000060; color: yellow;}");
}

void CssDoc::slotLoad()
{
    const QString strPath = Os::getOpenFileName(this, QString(), QString(), QString(), nullptr, QFileDialog::Options());
    if (strPath.isEmpty())
        return;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QTextStream stream(&file);
    setPlainText(stream.readAll());
    file.close();
    m_strFileName = strPath;
    emit changeWindowTitle(m_strFileName);
}

void CssDoc::slotSave()
{
    if (m_strFileName.isEmpty()) {
        slotSaveAs();
        return;
    }
    // Encoded by the stream first, so that a short write can be seen: the
    // stream does not report one.
    QByteArray baText;
    {
        QTextStream stream(&baText, QIODevice::WriteOnly);
        stream << toPlainText();
    }
    // Written through a temporary file: a failed write keeps the old file
    // intact, and the title only changes when the save really happened.
    // Where no temporary file can be made beside it, the file is written in
    // place, as a plain save would.
    MTools::SafeSave file(m_strFileName);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(baText) != baText.size()) {
        file.cancel();
        return;
    }
    if (!file.commit())
        return;
    emit changeWindowTitle(m_strFileName);
}

void CssDoc::slotSaveAs()
{
    const QString strPath =
        Os::getSaveFileName(this, m_strFileName, QString(), QString(), nullptr, QFileDialog::Options());
    if (strPath.isEmpty())
        return;
    m_strFileName = strPath;
    slotSave();
}

} // namespace QMWidgets
