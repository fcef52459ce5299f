#pragma once

#include <QWidget>

class QPushButton;
class QTextEdit;

namespace QMWidgets {

// The text-note box the image-note canvas places over the picture: a
// translucent rich-text field over a row of accept, cancel, larger and
// smaller buttons. The buttons carry no text or icon: the style sheet draws
// them through their object names.
class NoteEditWidget : public QWidget
{
    Q_OBJECT

public:
    explicit NoteEditWidget(QWidget* pParent = nullptr);

    void hideAll();
    // Shows the box and gives its text field the keyboard focus.
    void showAll();
    QTextEdit* textEdit() const;
    qreal fontPointSize() const;

signals:
    void cancelClicked();
    void okClicked();

public slots:
    // The whole note grows or shrinks by 5 points; it never goes to 0 points
    // or below.
    void slotIncrease();
    void slotDecrease();

private:
    void changePointSize(int nStep);

    QTextEdit* m_pTextEdit = nullptr;
    QPushButton* m_pAcceptButton = nullptr;
    QPushButton* m_pRejectButton = nullptr;
};

}  // namespace QMWidgets
