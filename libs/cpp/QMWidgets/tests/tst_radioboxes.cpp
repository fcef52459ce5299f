// The two exclusive-choice boxes: the plain row or column and the drop-down
// one that shows only the current choice.
#include "RadioBox.h"
#include "UltraRadioBox.h"
#include "UltraRadioBoxPopup.h"

#include "App.h"
#include "QMTest.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

using namespace QMWidgets;

namespace {

// A 40 x 30 button whose checked look differs from its unchecked one.
QPushButton* choice(const QString& strText)
{
    auto* pButton = new QPushButton(strText);
    pButton->setFixedSize(40, 30);
    pButton->setStyleSheet(QStringLiteral("QPushButton { background: rgb(0, 0, 200); border: none; }"
                                          "QPushButton:checked { background: rgb(200, 0, 0); }"));
    return pButton;
}

QPushButton* partnerOf(UltraRadioBox& box, const QString& strText)
{
    return QMTest::buttonWithText(box.popup(), strText);
}

QStringList listedChoices(UltraRadioBox& box)
{
    QStringList names;
    for (QAbstractButton* pButton : box.popup()->findChildren<QAbstractButton*>()) {
        if (!pButton->isHidden() && pButton->objectName() != QLatin1String("PushButton"))
            names << pButton->text();
    }
    return names;
}

bool sameOpacity(double a, double b)
{
    return qAbs(a - b) <= 1.0 / 255 + 1e-9;
}

}  // namespace

class TestRadioBoxes : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void radioBoxKeepsOneChecked();
    void radioBoxLayout();

    void ultraAddButton();
    void ultraChoiceAndPopupList();
    void ultraPartnerClicksItsButton();
    void ultraPopupToggles();
    void ultraPopupOpacity_data();
    void ultraPopupOpacity();
    void ultraHoverPicture();
    void ultraUnknownButtonsIgnored();
    void ultraButtonVisibility();
    void ultraPopupHidesWhenDeactivated();
};

void TestRadioBoxes::radioBoxKeepsOneChecked()
{
    RadioBox box(QBoxLayout::LeftToRight);
    QList<QPushButton*> buttons;
    for (const char* szName : {"a", "b", "c"}) {
        buttons << new QPushButton(QString::fromLatin1(szName));
        box.addButton(buttons.last());
        QVERIFY(buttons.last()->isCheckable());
    }
    // A button elsewhere in the box is held to the same rule.
    auto* pNested = new QToolButton(buttons.first());
    pNested->setCheckable(true);
    pNested->setChecked(true);
    for (int i : {1, 2, 2, 0}) {
        buttons[i]->click();
        for (int j = 0; j < buttons.size(); ++j)
            QCOMPARE(buttons[j]->isChecked(), j == i);
        QVERIFY(!pNested->isChecked());
    }
}

void TestRadioBoxes::radioBoxLayout()
{
    RadioBox box(QBoxLayout::TopToBottom);
    auto* pLayout = qobject_cast<QBoxLayout*>(box.layout());
    QCOMPARE(pLayout->direction(), QBoxLayout::TopToBottom);
    QCOMPARE(pLayout->spacing(), 0);
    QCOMPARE(pLayout->contentsMargins(), QMargins());
    QCOMPARE(box.palette().brush(QPalette::Active, box.backgroundRole()).color(), QColor(Qt::green));
    box.addButton(new QPushButton(QStringLiteral("top")));
    box.addButton(new QPushButton(QStringLiteral("bottom")));
    box.show();
    QVERIFY(QMTest::buttonWithText(&box, "top")->y() < QMTest::buttonWithText(&box, "bottom")->y());
}

void TestRadioBoxes::ultraAddButton()
{
    UltraRadioBox box;
    QVERIFY(box.hasMouseTracking());
    QVERIFY(box.popup()->isHidden());
    QVERIFY(sameOpacity(box.popup()->windowOpacity(), 0.6));
    QVERIFY(box.popup()->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!box.currentButton());
    QPushButton* pFirst = choice(QStringLiteral("first"));
    box.addButton(pFirst, QStringLiteral("First choice"));
    QCOMPARE(box.size(), QSize(40, 30));
    QVERIFY(pFirst->isCheckable());
    QVERIFY(!pFirst->isChecked());
    QPushButton* pPartner = partnerOf(box, QStringLiteral("First choice"));
    QVERIFY(pPartner);
    QCOMPARE(pPartner->objectName(), QStringLiteral("PushButton"));
    QVERIFY(pPartner->isFlat());
    // Until a choice is made the box shows the last added button, unchecked,
    // with the white arrow in its corner.
    const QImage image = box.grab().toImage();
    QCOMPARE(image.pixelColor(5, 5), QColor(0, 0, 200));
    QCOMPARE(image.pixelColor(34, 23), QColor(Qt::white));
}

void TestRadioBoxes::ultraChoiceAndPopupList()
{
    UltraRadioBox box;
    QList<QPushButton*> buttons;
    for (const char* szName : {"one", "two", "three"}) {
        buttons << choice(QString::fromLatin1(szName));
        box.addButton(buttons.last(), QString::fromLatin1(szName).toUpper());
    }
    QSignalSpy clickedSpy(&box, SIGNAL(buttonClicked()));
    box.setCurrentButton(buttons[1]);
    QCOMPARE(box.currentButton(), buttons[1]);
    QCOMPARE(box.toolTip(), QStringLiteral("TWO"));
    QCOMPARE(listedChoices(box), (QStringList{"one", "three"}));
    QVERIFY(buttons[1]->isChecked());
    QCOMPARE(clickedSpy.count(), 0);
    QCOMPARE(box.grab().toImage().pixelColor(5, 5), QColor(200, 0, 0));  // checked look

    // Choosing another lists the earlier choice again.
    buttons[2]->click();
    QCOMPARE(clickedSpy.count(), 1);
    QCOMPARE(box.currentButton(), buttons[2]);
    QCOMPARE(listedChoices(box), (QStringList{"one", "two"}));
    QVERIFY(!buttons[1]->isChecked());
    QVERIFY(box.popup()->isHidden());
    QCOMPARE(box.toolTip(), QStringLiteral("THREE"));
}

void TestRadioBoxes::ultraPartnerClicksItsButton()
{
    UltraRadioBox box;
    QPushButton* pA = choice(QStringLiteral("a"));
    QPushButton* pB = choice(QStringLiteral("b"));
    box.addButton(pA, QStringLiteral("Alpha"));
    box.addButton(pB, QStringLiteral("Beta"));
    box.setCurrentButton(pA);
    QSignalSpy spy(&box, SIGNAL(buttonClicked()));
    partnerOf(box, QStringLiteral("Beta"))->click();
    QCOMPARE(box.currentButton(), pB);
    QCOMPARE(spy.count(), 1);
}

void TestRadioBoxes::ultraPopupToggles()
{
    QWidget window;
    auto* pBox = new UltraRadioBox(&window);
    pBox->addButton(choice(QStringLiteral("a")), QStringLiteral("A"));
    pBox->move(20, 30);
    window.resize(200, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy spy(pBox, SIGNAL(actionPerformed()));
    QTest::mousePress(pBox, Qt::LeftButton);
    QVERIFY(pBox->popup()->isVisible());
    // The offscreen platform reports a 2-pixel frame inside the position.
    const QPoint offset = pBox->popup()->pos() - pBox->mapToGlobal(QPoint(0, 30));
    QVERIFY(offset.manhattanLength() <= 4);
    QTest::mousePress(pBox, Qt::LeftButton);
    QVERIFY(!pBox->popup()->isVisible());
    QCOMPARE(spy.count(), 2);
    pBox->popup()->show();
    pBox->hidePopup();
    QVERIFY(pBox->popup()->isHidden());
}

void TestRadioBoxes::ultraPopupOpacity_data()
{
    QTest::addColumn<QVariant>("setting");
    QTest::addColumn<double>("opacity");
    QTest::newRow("absent") << QVariant() << 0.95;
    QTest::newRow("0: clamped to opaque") << QVariant(0) << 1.0;
    QTest::newRow("100") << QVariant(100) << 0.3;
    QTest::newRow("above 100 stays visible") << QVariant(150) << 0.3;
}

void TestRadioBoxes::ultraPopupOpacity()
{
    QFETCH(QVariant, setting);
    QFETCH(double, opacity);
    if (setting.isValid())
        App::instance()->setSettingsValue(QStringLiteral("TransparencyParameters/UltraRadioPopups"), setting);
    UltraRadioBox box;
    box.addButton(choice(QStringLiteral("a")), QStringLiteral("A"));
    box.show();
    QTest::mousePress(&box, Qt::LeftButton);
    QVERIFY2(sameOpacity(box.popup()->windowOpacity(), opacity), qPrintable(QString::number(box.popup()->windowOpacity())));
    box.setPopupOpacity(0.5f);
    QVERIFY(sameOpacity(box.popup()->windowOpacity(), 0.5));
}

void TestRadioBoxes::ultraHoverPicture()
{
    UltraRadioBox box;
    QPushButton* pA = choice(QStringLiteral("a"));
    box.addButton(pA, QStringLiteral("A"));
    box.addButton(choice(QStringLiteral("b")), QStringLiteral("B"));
    box.show();
    // Before any choice, entering and leaving change nothing.
    const QImage before = box.grab().toImage();
    QMTest::sendEnter(&box);
    QCOMPARE(box.grab().toImage(), before);
    QMTest::sendLeave(&box);
    QCOMPARE(box.grab().toImage(), before);
    // After a choice: checked look outside, unchecked look under the pointer.
    box.setCurrentButton(pA);
    QCOMPARE(box.grab().toImage().pixelColor(5, 5), QColor(200, 0, 0));
    QMTest::sendEnter(&box);
    QCOMPARE(box.grab().toImage().pixelColor(5, 5), QColor(0, 0, 200));
    QMTest::sendLeave(&box);
    QCOMPARE(box.grab().toImage().pixelColor(5, 5), QColor(200, 0, 0));
}

void TestRadioBoxes::ultraUnknownButtonsIgnored()
{
    UltraRadioBox box;
    QPushButton* pA = choice(QStringLiteral("a"));
    box.addButton(pA, QStringLiteral("A"));
    box.setCurrentButton(pA);
    QPushButton stranger(QStringLiteral("stranger"));
    box.setCurrentButton(&stranger);
    box.setCurrentButton(nullptr);
    box.setButtonVisible(&stranger, false);
    QCOMPARE(box.currentButton(), pA);
    QCOMPARE(box.toolTip(), QStringLiteral("A"));
    QVERIFY(!stranger.isChecked());
}

void TestRadioBoxes::ultraButtonVisibility()
{
    UltraRadioBox box;
    QPushButton* pA = choice(QStringLiteral("a"));
    QPushButton* pB = choice(QStringLiteral("b"));
    box.addButton(pA, QStringLiteral("A"));
    box.addButton(pB, QStringLiteral("B"));
    box.setButtonVisible(pB, false);
    QVERIFY(pB->isHidden());
    QVERIFY(partnerOf(box, QStringLiteral("B"))->isHidden());
    box.setButtonVisible(pB, true);
    QVERIFY(!pB->isHidden());
    QVERIFY(!partnerOf(box, QStringLiteral("B"))->isHidden());
}

void TestRadioBoxes::ultraPopupHidesWhenDeactivated()
{
    UltraRadioBoxPopup popup(nullptr, Qt::Window | Qt::FramelessWindowHint);
    popup.show();
    QMTest::sendEnter(&popup);
    QVERIFY(popup.isHovered());
    QMTest::sendLeave(&popup);
    QVERIFY(!popup.isHovered());
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&popup, &deactivate);
    QVERIFY(popup.isHidden());
}

QMTEST_APP_MAIN(TestRadioBoxes)
#include "tst_radioboxes.moc"
