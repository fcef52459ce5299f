// The date picker and the file-system tree.
#include "DateWidget.h"
#include "DirView.h"

#include "QMTest.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDirModel>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>

using QMWidgets::DateWidget;
using QMWidgets::DirView;

namespace {

QList<QComboBox*> boxes(DateWidget& widget)
{
    QList<QComboBox*> list = widget.findChildren<QComboBox*>();
    std::sort(list.begin(), list.end(), [](QComboBox* a, QComboBox* b) { return a->x() < b->x(); });
    return list;  // day, month, year once laid out
}

QStringList items(QComboBox* pBox)
{
    QStringList texts;
    for (int i = 0; i < pBox->count(); ++i)
        texts << pBox->itemText(i);
    return texts;
}

} // namespace

class TestDateDirView : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void dateLists_data();
    void dateLists();
    void dateSizesAndLayout();
    void dateSetters_data();
    void dateSetters();
    void dateChangesAndReset();
    void dayOnly();

    void dirViewShowsNamesOnly();
    void dirViewClicks();
    void dirViewResizesItsTree();
};

void TestDateDirView::dateLists_data()
{
    QTest::addColumn<int>("nOffset");
    QTest::newRow("offset 0") << 0;
    QTest::newRow("offset -18") << -18;
    QTest::newRow("offset 5") << 5;
}

void TestDateDirView::dateLists()
{
    QFETCH(int, nOffset);

    const int nTop = QDate::currentDate().year() + nOffset;
    DateWidget widget(nOffset);
    widget.show();
    QApplication::processEvents();
    const QList<QComboBox*> list = boxes(widget);
    QCOMPARE(list.size(), 3);
    QCOMPARE(list.at(0)->count(), 31);
    QCOMPARE(list.at(0)->itemText(0), QString("1"));
    QCOMPARE(list.at(0)->itemText(30), QString("31"));
    QCOMPARE(items(list.at(1)),
             QStringList({"January", "February", "March", "April", "May", "June", "July", "August", "September",
                          "October", "November", "December"}));
    const QStringList years = items(list.at(2));
    QCOMPARE(years.size(), 132);
    QCOMPARE(years.at(0), QString());
    QCOMPARE(years.at(1), QString::number(nTop));
    QCOMPARE(years.at(2), QString::number(nTop - 1));
    QCOMPARE(years.last(), QString::number(nTop - 130));
}

void TestDateDirView::dateSizesAndLayout()
{
    DateWidget widget;
    QCOMPARE(widget.minimumWidth(), 300);
    widget.show();
    QApplication::processEvents();
    const QList<QComboBox*> list = boxes(widget);
    QCOMPARE(list.at(0)->minimumWidth(), 50);
    QCOMPARE(list.at(0)->maximumWidth(), 80);
    QCOMPARE(list.at(1)->minimumWidth(), 90);
    QCOMPARE(list.at(1)->maximumWidth(), 110);
    QCOMPARE(list.at(2)->minimumWidth(), 70);
    QCOMPARE(list.at(2)->maximumWidth(), 90);
    QCOMPARE(widget.layout()->spacing(), 1);
    QCOMPARE(widget.layout()->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(list.at(1)->x() - list.at(0)->geometry().right(), 2);  // spacing 1 between neighbours
}

void TestDateDirView::dateSetters_data()
{
    QTest::addColumn<int>("nDay");
    QTest::addColumn<int>("nMonth");
    QTest::addColumn<int>("nYearBack");  // years before the current one; -1: year 0
    QTest::addColumn<int>("nDayRead");
    QTest::addColumn<int>("nMonthRead");
    QTest::addColumn<bool>("bYearRead");

    QTest::newRow("a plain date") << 17 << 3 << 30 << 17 << 3 << true;
    QTest::newRow("0 and less select the first item") << 0 << -4 << 0 << 1 << 1 << true;
    QTest::newRow("past the end: no current item") << 32 << 13 << 0 << 0 << 0 << true;
    QTest::newRow("a year outside the list") << 5 << 5 << 131 << 5 << 5 << false;
}

void TestDateDirView::dateSetters()
{
    QFETCH(int, nDay);
    QFETCH(int, nMonth);
    QFETCH(int, nYearBack);
    QFETCH(int, nDayRead);
    QFETCH(int, nMonthRead);
    QFETCH(bool, bYearRead);

    DateWidget widget;
    const int nYear = QDate::currentDate().year() - nYearBack;
    widget.setDay(nDay);
    widget.setMonth(nMonth);
    widget.setYear(nYear);
    QCOMPARE(widget.day(), nDayRead);
    QCOMPARE(widget.month(), nMonthRead);
    QCOMPARE(widget.year(), bYearRead ? nYear : -1);
}

void TestDateDirView::dateChangesAndReset()
{
    DateWidget widget;
    QSignalSpy spy(&widget, SIGNAL(dataChanged()));
    widget.setYear(2000);
    QCOMPARE(widget.year(), 2000);
    widget.setYear(0);  // ignored
    widget.setYear(-5);
    QCOMPARE(widget.year(), 2000);
    QCOMPARE(spy.count(), 1);

    widget.setMonth(2);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(boxes(widget).first()->count(), 31);  // the days do not follow the month
    widget.setDay(31);
    QCOMPARE(widget.day(), 31);
    QCOMPARE(spy.count(), 3);

    widget.reset();
    QCOMPARE(spy.count(), 3);
    QCOMPARE(widget.year(), -1);
    QCOMPARE(widget.month(), 1);
    QCOMPARE(widget.day(), 1);
}

void TestDateDirView::dayOnly()
{
    DateWidget widget;
    widget.show();
    QApplication::processEvents();
    const QList<QComboBox*> list = boxes(widget);
    widget.setDayOnly(true);
    QVERIFY(list.at(0)->isVisible());
    QVERIFY(!list.at(1)->isVisible());
    QVERIFY(!list.at(2)->isVisible());
    widget.setDayOnly(false);
    QVERIFY(list.at(1)->isVisible() && list.at(2)->isVisible());
}

void TestDateDirView::dirViewShowsNamesOnly()
{
    DirView view;
    QCOMPARE(view.minimumSize(), QSize(180, 100));
    auto* pTree = view.findChild<QTreeView*>();
    QVERIFY(pTree);
    QCOMPARE(pTree->windowTitle(), QString("Dir View"));
    QVERIFY(!pTree->isColumnHidden(0));
    for (int nColumn = 1; nColumn <= 3; ++nColumn)
        QVERIFY(pTree->isColumnHidden(nColumn));
}

void TestDateDirView::dirViewClicks()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(dir.filePath("folder")));
    QVERIFY(QMTest::writeFile(dir.filePath("file.txt"), "x"));
    DirView view;
    auto* pTree = view.findChild<QTreeView*>();
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    auto* pModel = qobject_cast<QDirModel*>(pTree->model());
    QT_WARNING_POP
    QVERIFY(pModel);

    QStringList seen;
    connect(&view, &DirView::showContent, [&](const QString& s) { seen << "content " + s; });
    connect(&view, &DirView::showItem, [&](const QString& s) { seen << "item " + s; });
    emit pTree->clicked(pModel->index(dir.filePath("folder")));
    emit pTree->clicked(pModel->index(dir.filePath("file.txt")));
    emit pTree->clicked(pModel->index(dir.filePath("file.txt"), 1));  // not the name column
    emit pTree->clicked(QModelIndex());
    QCOMPARE(seen, QStringList({"content " + dir.filePath("folder"), "item " + dir.filePath("file.txt")}));
}

void TestDateDirView::dirViewResizesItsTree()
{
    DirView view;
    view.resize(300, 200);
    view.show();
    auto* pTree = view.findChild<QTreeView*>();
    QCOMPARE(pTree->size(), QSize(300, 200));
    QCOMPARE(pTree->header()->sectionSize(0), 300);
    view.resize(250, 150);
    QCOMPARE(pTree->size(), QSize(250, 150));
    QCOMPARE(pTree->header()->sectionSize(0), 250);
}

QMTEST_APP_MAIN(TestDateDirView)
#include "tst_datedirview.moc"
