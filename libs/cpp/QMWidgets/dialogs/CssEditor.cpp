#include "CssEditor.h"

#include "CssDoc.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>

namespace QMWidgets {

namespace {

void prependClassAndName(QWidget* pWidget)
{
    if (pWidget->objectName().isEmpty())
        return;
    pWidget->setToolTip(QString::fromLatin1(pWidget->metaObject()->className()) + "\n" + pWidget->objectName()
                        + "\n" + pWidget->toolTip());
}

} // namespace

CssEditor::CssEditor(QWidget* pParent)
    : QMainWindow(pParent, Qt::WindowFlags())
{
    auto* pMenuFile = new QMenu("&File");
    auto* pMenuHelp = new QMenu("&Help");

    m_pDoc = new CssDoc();

    QAction* pActionOpen = pMenuFile->addAction("&Open...", m_pDoc, SLOT(slotLoad()), QKeySequence("CTRL+O"));
    QAction* pActionSave = pMenuFile->addAction("&Save", m_pDoc, SLOT(slotSave()), QKeySequence("CTRL+S"));
    QAction* pActionInfo =
        pMenuFile->addAction("&SetInfo", this, SLOT(slotApplyToolTipsInfo()), QKeySequence("CTRL+I"));
    QAction* pActionApply = pMenuFile->addAction("&Apply", this, SLOT(slotApply()), QKeySequence("CTRL+A"));
    pMenuFile->addAction("S&ave As...", m_pDoc, SLOT(slotSaveAs()));
    pMenuFile->addSeparator();

    pMenuHelp->addAction("&About", this, SLOT(slotAbout()), QKeySequence(Qt::Key_F1));
    QAction* pActionReset = pMenuHelp->addAction("&Reset", this, SLOT(slotReset()), QKeySequence(Qt::Key_R));

    // The menus have no parent of their own; the window keeps them alive.
    pMenuFile->setParent(this, pMenuFile->windowFlags());
    pMenuHelp->setParent(this, pMenuHelp->windowFlags());
    menuBar()->addMenu(pMenuFile);
    menuBar()->addMenu(pMenuHelp);

    QToolBar* pToolBar = new QToolBar("Operations");
    pToolBar->addAction(pActionOpen);
    pToolBar->addAction(pActionSave);
    pToolBar->addAction(pActionApply);
    pToolBar->addAction(pActionReset);
    pToolBar->addAction(pActionInfo);
    addToolBar(Qt::TopToolBarArea, pToolBar);

    setCentralWidget(m_pDoc);
    connect(m_pDoc, SIGNAL(changeWindowTitle(const QString&)), this, SLOT(slotChangeWindowTitle(const QString&)));

    statusBar()->showMessage("Ready", 2000);
}

void CssEditor::slotApply()
{
    qApp->setStyleSheet(m_pDoc->toPlainText());
    m_pDoc->applyOwnStyle();
}

void CssEditor::slotAbout()
{
    QMessageBox::about(this, "About", "CSS Style Editor");
}

void CssEditor::slotReset()
{
    qApp->setStyleSheet(QString());
}

void CssEditor::slotChangeWindowTitle(const QString& strTitle)
{
    setWindowTitle(strTitle);
}

void CssEditor::slotApplyToolTipsInfo()
{
    const QList<QWidget*> topLevels = QApplication::topLevelWidgets();
    for (QWidget* pTop : topLevels) {
        prependClassAndName(pTop);
        const QList<QWidget*> children = pTop->findChildren<QWidget*>();
        for (QWidget* pChild : children) {
            if (pChild == m_pDoc || m_pDoc->isAncestorOf(pChild))
                continue;
            prependClassAndName(pChild);
        }
    }
}

} // namespace QMWidgets
