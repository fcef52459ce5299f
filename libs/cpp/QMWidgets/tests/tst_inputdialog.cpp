// The one-value input dialog and its two static getters.
#include "InputDialog.h"

#include "QMTest.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

using QMWidgets::InputDialog;

class TestInputDialog : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void inputModes();
    void getIntShowsValuesOutsideTheDefaultRange();
    void getIntResult_data();
    void getIntResult();
    void getTextReturnsTheTextAlsoWhenCancelled_data();
    void getTextReturnsTheTextAlsoWhenCancelled();
    void getTextEchoMode();
};

void TestInputDialog::construction()
{
    InputDialog dialog("Name:", nullptr, Qt::WindowFlags(), InputDialog::TextInput);
    QCOMPARE(dialog.objectName(), QString("InputDialog"));
    QVERIFY(!QMTest::labelTextContaining(&dialog, "Name:").isEmpty());
    QPushButton* pOk = QMTest::buttonWithText(&dialog, "Ok");
    QPushButton* pCancel = QMTest::buttonWithText(&dialog, "Cancel");
    QVERIFY(pOk && pCancel);
    QCOMPARE(pOk->objectName(), QString("PushButton"));
    QVERIFY(pOk->isFlat());
    QCOMPARE(pCancel->minimumHeight(), 32);
    QCOMPARE(dialog.lineEdit()->height(), 32);
    QCOMPARE(dialog.layout()->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(dialog.layout()->spacing(), 7);

    // A normal screen: the buttons in a row, Ok before Cancel, at the right.
    dialog.show();
    QApplication::processEvents();
    QCOMPARE(pOk->y(), pCancel->y());
    QVERIFY(pOk->x() < pCancel->x());
}

void TestInputDialog::inputModes()
{
    InputDialog dialog("Value", nullptr, Qt::WindowFlags(), InputDialog::IntInput);
    auto* pStack = dialog.findChild<QStackedWidget*>();
    QCOMPARE(dialog.inputMode(), int(InputDialog::IntInput));
    QCOMPARE(pStack->currentWidget(), static_cast<QWidget*>(dialog.spinBox()));
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.setInputMode(InputDialog::TextInput);
    QCOMPARE(pStack->currentWidget(), static_cast<QWidget*>(dialog.lineEdit()));
    QTRY_VERIFY(dialog.lineEdit()->hasFocus());
    dialog.setInputMode(7);  // kept, but switches nothing
    QCOMPARE(dialog.inputMode(), 7);
    QCOMPARE(pStack->currentWidget(), static_cast<QWidget*>(dialog.lineEdit()));
}

void TestInputDialog::getIntShowsValuesOutsideTheDefaultRange()
{
    int nShown = 0;
    int nStep = 0;
    QString strTitle;
    QMTest::ModalAnswerer answer([&](QWidget* pModal) {
        auto* pDialog = static_cast<InputDialog*>(pModal);
        nShown = pDialog->spinBox()->value();
        nStep = pDialog->spinBox()->singleStep();
        strTitle = pDialog->windowTitle();
        static_cast<QDialog*>(pDialog)->reject();
    });
    bool bOk = true;
    QCOMPARE(InputDialog::getInt(nullptr, "Count", "How many?", 300, 200, 500, 5, &bOk), 300);
    QVERIFY(answer.answered());
    QCOMPARE(nShown, 300);
    QCOMPARE(nStep, 5);
    QCOMPARE(strTitle, QString("Count"));
    QVERIFY(!bOk);
}

void TestInputDialog::getIntResult_data()
{
    QTest::addColumn<QString>("strAnswer");
    QTest::addColumn<bool>("bOk");

    QTest::newRow("ok") << "Ok" << true;
    QTest::newRow("cancel") << "Cancel" << false;
    QTest::newRow("escape") << "escape" << false;
}

void TestInputDialog::getIntResult()
{
    QFETCH(QString, strAnswer);
    QFETCH(bool, bOk);

    QMTest::ModalAnswerer answer([strAnswer](QWidget* pModal) {
        static_cast<InputDialog*>(pModal)->spinBox()->setValue(42);
        QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer)(pModal);
    });
    bool bResult = !bOk;
    QCOMPARE(InputDialog::getInt(nullptr, "T", "L", 1, 0, 100, 1, &bResult), 42);
    QCOMPARE(bResult, bOk);

    // No place for the answer is fine too.
    QMTest::ModalAnswerer again(QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer));
    QCOMPARE(InputDialog::getInt(nullptr, "T", "L", 9, 0, 100, 1, nullptr), 9);
}

void TestInputDialog::getTextReturnsTheTextAlsoWhenCancelled_data()
{
    QTest::addColumn<QString>("strAnswer");
    QTest::addColumn<bool>("bOk");

    QTest::newRow("ok") << "Ok" << true;
    QTest::newRow("cancel after typing") << "Cancel" << false;
}

void TestInputDialog::getTextReturnsTheTextAlsoWhenCancelled()
{
    QFETCH(QString, strAnswer);
    QFETCH(bool, bOk);

    QString strInitial;
    QMTest::ModalAnswerer answer([&](QWidget* pModal) {
        auto* pDialog = static_cast<InputDialog*>(pModal);
        strInitial = pDialog->lineEdit()->text();
        QTest::keyClick(pDialog->lineEdit(), Qt::Key_End);
        QTest::keyClicks(pDialog->lineEdit(), "-typed");
        QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer)(pModal);
    });
    bool bResult = !bOk;
    QCOMPARE(InputDialog::getText(nullptr, "T", "L", QLineEdit::Normal, "start", &bResult), QString("start-typed"));
    QCOMPARE(strInitial, QString("start"));
    QCOMPARE(bResult, bOk);

    QMTest::ModalAnswerer again(QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer));
    QCOMPARE(InputDialog::getText(nullptr, "T", "L", QLineEdit::Normal, "kept", nullptr), QString("kept"));
}

void TestInputDialog::getTextEchoMode()
{
    QLineEdit::EchoMode mode = QLineEdit::Normal;
    bool bFocused = false;
    QMTest::ModalAnswerer answer([&](QWidget* pModal) {
        auto* pDialog = static_cast<InputDialog*>(pModal);
        mode = pDialog->lineEdit()->echoMode();
        bFocused = pDialog->focusWidget() == pDialog->lineEdit();
        static_cast<QDialog*>(pDialog)->accept();
    });
    InputDialog::getText(nullptr, "Password", "Enter it", QLineEdit::Password, QString(), nullptr);
    QCOMPARE(mode, QLineEdit::Password);
    QVERIFY(bFocused);
}

QMTEST_APP_MAIN(TestInputDialog)
#include "tst_inputdialog.moc"
