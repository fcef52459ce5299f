// The e-mail field and its two send buttons.
#include "EmailEdit.h"

#include "QMTest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using QMWidgets::EmailEdit;

class TestEmailEdit : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void buttonsFollowTheAddress_data();
    void buttonsFollowTheAddress();
    void setTextAlsoReportsTheChange();
    void buttonsHandTheAddressOver();
};

void TestEmailEdit::construction()
{
    EmailEdit edit;
    auto* pCard = edit.findChild<QPushButton*>("CardEditButton");
    auto* pMail = edit.findChild<QPushButton*>("EmailEditButton");
    QVERIFY(pCard && pMail);
    QCOMPARE(pCard->toolTip(), QString("Send an ecard"));
    QCOMPARE(pMail->toolTip(), QString("Send an email"));
    for (QPushButton* pButton : {pCard, pMail}) {
        QCOMPARE(pButton->size(), QSize(24, 24));
        QVERIFY(pButton->isFlat());
        QVERIFY(!pButton->isEnabled());
        QVERIFY(pButton->text().isEmpty());
    }
    edit.show();
    QApplication::processEvents();
    QVERIFY(edit.findChild<QLineEdit*>()->x() < pCard->x());
    QVERIFY(pCard->x() < pMail->x());
}

void TestEmailEdit::buttonsFollowTheAddress_data()
{
    QTest::addColumn<QString>("strText");
    QTest::addColumn<bool>("bEnabled");

    QTest::newRow("empty") << "" << false;
    QTest::newRow("no at sign") << "ab" << false;
    QTest::newRow("trailing blank") << "a@b.de " << false;
    QTest::newRow("two letters") << "a@b.de" << true;
    QTest::newRow("four letters") << "first.last-x_1@mail.example.info" << true;
    QTest::newRow("five letters") << "a@b.abcde" << false;
    QTest::newRow("three digits") << "a@b.123" << true;
    QTest::newRow("four digits") << "a@b.1234" << false;
    QTest::newRow("no name") << "@b.de" << false;
}

void TestEmailEdit::buttonsFollowTheAddress()
{
    QFETCH(QString, strText);
    QFETCH(bool, bEnabled);

    EmailEdit edit;
    edit.setText("someone@example.org");  // enabled before, so a wrong "keep" shows
    QTest::keyClick(edit.findChild<QLineEdit*>(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit.findChild<QLineEdit*>(), Qt::Key_Delete);
    QTest::keyClicks(edit.findChild<QLineEdit*>(), strText);
    QCOMPARE(edit.text(), strText);
    QCOMPARE(edit.findChild<QPushButton*>("CardEditButton")->isEnabled(), bEnabled);
    QCOMPARE(edit.findChild<QPushButton*>("EmailEditButton")->isEnabled(), bEnabled);
}

void TestEmailEdit::setTextAlsoReportsTheChange()
{
    EmailEdit edit;
    QSignalSpy spy(&edit, SIGNAL(textChanged(const QString&)));
    edit.setText("x@y.com");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString("x@y.com"));
    QVERIFY(edit.findChild<QPushButton*>("EmailEditButton")->isEnabled());
    edit.setText("x@y");
    QVERIFY(!edit.findChild<QPushButton*>("EmailEditButton")->isEnabled());
}

void TestEmailEdit::buttonsHandTheAddressOver()
{
    EmailEdit edit;
    edit.setText("x@y.com");
    QStringList seen;
    connect(&edit, &EmailEdit::sendEmail, [&](const QString& s) { seen << "mail " + s; });
    connect(&edit, &EmailEdit::sendECard, [&](const QString& s) { seen << "card " + s; });
    edit.findChild<QPushButton*>("CardEditButton")->click();
    edit.findChild<QPushButton*>("EmailEditButton")->click();
    QCOMPARE(seen, QStringList({"card x@y.com", "mail x@y.com"}));
}

QMTEST_APP_MAIN(TestEmailEdit)
#include "tst_emailedit.moc"
