#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

class QLabel;

namespace QMWidgets {

// The framework's modal message box: a style icon, a word-wrapped text and a
// row of flat buttons chosen by a set of QMessageBox::StandardButton bits.
// exec() returns the pressed button's QMessageBox code (0x10000000 for the
// user-defined button), or 0 when the box is closed otherwise.
class MMessageBox : public QDialog
{
    Q_OBJECT

public:
    // Icon kinds: 1 information, 2 warning, 3 critical, 4 question, other none.
    MMessageBox(int iconKind, const QString &title, const QString &text, int buttons,
                QWidget *parent = nullptr, const QString &userDefinedText = QString());

    static int information(QWidget *parent, const QString &title, const QString &text,
                           int buttons);
    static int warning(QWidget *parent, const QString &title, const QString &text,
                       int buttons);
    static int critical(QWidget *parent, const QString &title, const QString &text,
                        int buttons);
    static int question(QWidget *parent, const QString &title, const QString &text,
                        int buttons);

    // The style's standard picture for an icon kind; empty outside 1 .. 4.
    static QPixmap iconPixmap(int iconKind);

    static constexpr int UserDefinedCode = 0x10000000;

public slots:
    // Declaration order is part of the interface (method indices 0 .. 9); it
    // differs from the order in which the buttons are placed.
    void slotOk();
    void slotCancel();
    void slotYes();
    void slotNo();
    void slotAbort();
    void slotRetry();
    void slotIgnore();
    void slotYesAll();
    void slotNoAll();
    void slotUserDefined();

private:
    static int run(int iconKind, QWidget *parent, const QString &title, const QString &text,
                   int buttons);

    QLabel *m_pTextLabel = nullptr;
    QLabel *m_pIconLabel = nullptr;
};

} // namespace QMWidgets
