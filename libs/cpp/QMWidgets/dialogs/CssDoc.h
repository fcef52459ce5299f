#pragma once

#include <QString>
#include <QTextEdit>

namespace QMWidgets {

// The style-sheet editor's text: a plain-text file with C-like colouring.
class CssDoc : public QTextEdit
{
    Q_OBJECT
public:
    explicit CssDoc(QWidget* pParent = nullptr);

    void applyOwnStyle();
    QString fileName() const { return m_strFileName; }

signals:
    void changeWindowTitle(const QString& strTitle);

public slots:
    void slotLoad();
    void slotSave();
    void slotSaveAs();

private:
    QString m_strFileName;
};

} // namespace QMWidgets
