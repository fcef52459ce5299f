// The community button's menu and links, and the menu button's word.
#include "CommunityButton.h"
#include "MenuButton.h"

#include "QMTest.h"

#include <QAction>
#include <QMenu>

using QMWidgets::CommunityButton;
using QMWidgets::MenuButton;

namespace {

// Rows that hold a pure white pixel.
QList<int> whiteRows(const QImage& image)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == 0xffffff) {
                rows << y;
                break;
            }
        }
    }
    return rows;
}

} // namespace

class TestKitButtons : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void communityMenuOrder();
    void communityEntriesOpenTheirPages_data();
    void communityEntriesOpenTheirPages();
    void communityTwitterOnlyThroughItsSlot();
    void menuButtonWritesInTheLowerHalf_data();
    void menuButtonWritesInTheLowerHalf();
};

void TestKitButtons::communityMenuOrder()
{
    CommunityButton button;
    QMenu* pMenu = button.menu();
    QVERIFY(pMenu);
    QCOMPARE(pMenu->parent(), &button);
    QStringList texts;
    for (QAction* pAction : pMenu->actions())
        texts << (pAction->isSeparator() ? QStringLiteral("|") : pAction->text());
    QCOMPARE(texts, QStringList({"Share", "|", "FaceBook", "YouTube", "Xing", "MoiMir"}));
    // Share carries the library's own picture; the networks' pictures are the
    // application's, missing here, so their entries have no icon.
    QVERIFY(!QMTest::actionWithText(pMenu, "Share")->icon().pixmap(16, 16).isNull());
    QVERIFY(QMTest::actionWithText(pMenu, "FaceBook")->icon().pixmap(16, 16).isNull());

    // Share runs the application's tell-a-friend dialog.
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::reject());
    QMTest::actionWithText(pMenu, "Share")->trigger();
    QVERIFY(answer.answered());
    QCOMPARE(answer.answeredClassName(), QString("QMWidgets::TellDialog"));
}

void TestKitButtons::communityEntriesOpenTheirPages_data()
{
    QTest::addColumn<QString>("strEntry");
    QTest::addColumn<QString>("strSet");      // page address given to the button ("" leaves it unset)
    QTest::addColumn<QUrl>("urlOpened");

    QTest::newRow("FaceBook unset opens an empty URL") << "FaceBook" << "" << QUrl();
    QTest::newRow("FaceBook") << "FaceBook" << "https://facebook.example/page" << QUrl("https://facebook.example/page");
    QTest::newRow("YouTube read tolerantly") << "YouTube" << "https://youtube.example/a b"
                                             << QUrl("https://youtube.example/a%20b");
    QTest::newRow("Xing") << "Xing" << "https://xing.example/x" << QUrl("https://xing.example/x");
    QTest::newRow("MoiMir") << "MoiMir" << "https://my.mail.example/m" << QUrl("https://my.mail.example/m");
}

void TestKitButtons::communityEntriesOpenTheirPages()
{
    QFETCH(QString, strEntry);
    QFETCH(QString, strSet);
    QFETCH(QUrl, urlOpened);

    QMTest::UrlRecorder recorder;
    CommunityButton button;
    // Every page gets a different address, so a mix-up shows.
    button.setFaceBookUrl(strEntry == "FaceBook" ? strSet : "https://wrong.example/f");
    button.setYouTubeUrl(strEntry == "YouTube" ? strSet : "https://wrong.example/y");
    button.setXingUrl(strEntry == "Xing" ? strSet : "https://wrong.example/x");
    button.setMoiMirUrl(strEntry == "MoiMir" ? strSet : "https://wrong.example/m");
    button.setTwitterUrl("https://wrong.example/t");
    QMTest::actionWithText(button.menu(), strEntry)->trigger();
    QCOMPARE(recorder.urls(), QList<QUrl>({urlOpened}));
}

void TestKitButtons::communityTwitterOnlyThroughItsSlot()
{
    QMTest::UrlRecorder recorder;
    CommunityButton button;
    button.setTwitterUrl("https://twitter.example/t");
    QVERIFY(QMetaObject::invokeMethod(&button, "slotTwitter"));
    QCOMPARE(recorder.urls(), QList<QUrl>({QUrl("https://twitter.example/t")}));
}

void TestKitButtons::menuButtonWritesInTheLowerHalf_data()
{
    QTest::addColumn<int>("nHeight");
    QTest::addColumn<int>("nFirstRow");
    QTest::addColumn<int>("nLastRow");

    // Height 31: half 15, the word in rows 15 to 29 (the last row is outside).
    QTest::newRow("odd height 31") << 31 << 15 << 29;
    QTest::newRow("even height 40") << 40 << 20 << 39;
}

void TestKitButtons::menuButtonWritesInTheLowerHalf()
{
    QFETCH(int, nHeight);
    QFETCH(int, nFirstRow);
    QFETCH(int, nLastRow);

    MenuButton button;
    // A black button without frame: the only white is the word.
    button.setStyleSheet("QPushButton { background: black; border: none; }");
    button.setFixedSize(80, nHeight);
    const QList<int> rows = whiteRows(button.grab().toImage());
    QVERIFY(!rows.isEmpty());
    QVERIFY2(rows.first() >= nFirstRow && rows.last() <= nLastRow,
             qPrintable(QString("white in rows %1 to %2").arg(rows.first()).arg(rows.last())));
    // Centred vertically in the lower half.
    const double dMiddle = (rows.first() + rows.last()) / 2.0;
    QVERIFY(qAbs(dMiddle - (nFirstRow + nLastRow) / 2.0) <= 2);

    MenuButton withText("Go");
    QCOMPARE(withText.text(), QString("Go"));
}

QMTEST_APP_MAIN(TestKitButtons)
#include "tst_kitbuttons.moc"
