// The settings dialog: what it shows from the store, what Ok writes, and
// that Cancel writes nothing.

#include "PageTestSupport.h"

#include "App.h"
#include "AppSettingsDialog.h"
#include "ComboSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>

namespace {

QMWidgets::App* app()
{
    return QMWidgets::App::instance();
}

// Every stored key with its value, for before-and-after comparisons.
QMap<QString, QString> storeDump()
{
    QMap<QString, QString> dump;
    QSettings* settings = app()->settings();
    settings->sync();
    for (const QString& key : settings->allKeys())
        dump.insert(key, settings->value(key).toString());
    return dump;
}

QCheckBox* box(AppSettingsDialog& dialog, const QString& text)
{
    return QMTest::childWithText<QCheckBox>(&dialog, text);
}

// The two boxes without text, in form order: "Do gray:" then "Dithering:".
QList<QCheckBox*> untitledBoxes(AppSettingsDialog& dialog)
{
    QList<QCheckBox*> boxes;
    for (QCheckBox* check : dialog.findChildren<QCheckBox*>())
        if (check->text().isEmpty())
            boxes << check;
    return boxes;
}

void pressOk(AppSettingsDialog& dialog)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QLatin1String("Ok"))
            button->click();
}

} // namespace

class tst_settingsdialog : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void layoutAndNames();
    void formRows();
    void freshStoreShowsTheDefaults();
    void cancelWritesNothing();
    void okWritesAllElevenKeys();
    void storedValues_data();
    void storedValues();
    void showingReloadsTheStore();
};

void tst_settingsdialog::layoutAndNames()
{
    QWidget parent;
    AppSettingsDialog dialog(&parent);
    QCOMPARE(dialog.objectName(), QStringLiteral("SettingsDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Zintrop Lite Settings"));
    QVERIFY(dialog.windowFlags() & Qt::Tool);
    auto* tabs = dialog.findChild<QTabWidget*>();
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("General"));
    QStringList groups;
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    QCOMPARE(groups, (QStringList{QStringLiteral("PNG Lossy Compression Settings"),
                                  QStringLiteral("Source / Destination Settings"),
                                  QStringLiteral("After Conversion")}));
    QCOMPARE(dialog.bitsList()->objectName(), QStringLiteral("m_pcbxBitRate"));
    QVERIFY(dialog.bitsList()->isHidden());
    QVERIFY(box(dialog, QStringLiteral("Clear the list"))->isHidden());
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        QCOMPARE(button->objectName(), QStringLiteral("PushButton"));
    // Both lists, also the unused one outside every layout, go with the dialog.
    const QList<QComboBox*> lists = dialog.findChildren<QComboBox*>();
    QCOMPARE(lists.size(), 2);
    for (QComboBox* list : lists)
        QVERIFY(list->isHidden());
}

void tst_settingsdialog::formRows()
{
    AppSettingsDialog dialog;
    auto* form = dialog.findChild<QFormLayout*>();
    QVERIFY(form);
    QStringList labels;
    for (int row = 0; row < form->rowCount(); ++row)
        labels << qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget())->text();
    QCOMPARE(labels, (QStringList{QStringLiteral("Bits:"), QStringLiteral("Quality:"), QStringLiteral("Scale down %:"),
                                  QStringLiteral("Do gray:"), QStringLiteral("Dithering:")}));
    const auto field = [form](int row) { return form->itemAt(row, QFormLayout::FieldRole)->widget(); };
    QVERIFY(form->itemAt(0, QFormLayout::LabelRole)->widget()->isHidden());
    QCOMPARE(field(0), static_cast<QWidget*>(dialog.bitsList()));
    QCOMPARE(field(1), static_cast<QWidget*>(dialog.qualitySlider()));
    QCOMPARE(field(2), static_cast<QWidget*>(dialog.scaleSlider()));
    // A fresh store: no grey conversion, dithering on.
    QVERIFY(!qobject_cast<QCheckBox*>(field(3))->isChecked());
    QVERIFY(qobject_cast<QCheckBox*>(field(4))->isChecked());
}

void tst_settingsdialog::freshStoreShowsTheDefaults()
{
    AppSettingsDialog dialog;
    QVERIFY(box(dialog, QStringLiteral("Play sound"))->isChecked());
    QVERIFY(box(dialog, QStringLiteral("Open the destination folder"))->isChecked());
    QVERIFY(box(dialog, QStringLiteral("Preserve folder structure of the source"))->isChecked());
    QVERIFY(!box(dialog, QStringLiteral("Copy text files from source"))->isChecked());
    QVERIFY(!box(dialog, QStringLiteral("Copy entire non-processed content from source"))->isChecked());
    const QList<QCheckBox*> boxes = untitledBoxes(dialog);
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(dialog.qualitySlider()->value(), 256);
    QCOMPARE(dialog.scaleSlider()->value(), 100);
    QCOMPARE(dialog.bitsList()->currentData().toInt(), 8);
}

void tst_settingsdialog::cancelWritesNothing()
{
    app()->setSettingsValue(QStringLiteral("KeyQuality"), 99);
    const QMap<QString, QString> before = storeDump();
    AppSettingsDialog dialog;
    dialog.qualitySlider()->setValue(12);
    box(dialog, QStringLiteral("Play sound"))->setChecked(false);
    QMTest::ModalAnswerer cancel(QMTest::ModalAnswerer::clickButton(QStringLiteral("Cancel")));
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(cancel.answered());
    QCOMPARE(storeDump(), before);
}

void tst_settingsdialog::okWritesAllElevenKeys()
{
    AppSettingsDialog dialog;
    QMTest::ModalAnswerer ok(QMTest::ModalAnswerer::clickButton(QStringLiteral("Ok")));
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    const QMap<QString, QVariant> expected = {
        {QStringLiteral("KeyBits"), 8},
        {QStringLiteral("KeyQuality"), 256},
        {QStringLiteral("KeyResize"), 100},
        {QStringLiteral("KeyDithering"), true},
        {QStringLiteral("KeyDoGray"), false},
        {QStringLiteral("KeyPlaySoundAfter"), true},
        {QStringLiteral("KeyOpenFolderAfter"), true},
        {QStringLiteral("KeyClearListAfter"), false},
        {QStringLiteral("KeyCopyTextssActive"), false},
        {QStringLiteral("KeyCopyEntireContentActive"), false},
        {QStringLiteral("KeyFolderStructureActive"), true},
    };
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const QVariant stored = app()->settingsValue(it.key());
        QVERIFY2(stored.isValid(), qPrintable(it.key()));
        QCOMPARE(stored.toString(), it.value().toString());
    }
    QCOMPARE(storeDump().size(), expected.size());
}

void tst_settingsdialog::storedValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("savedAgain");

    QTest::newRow("quality above the range") << QStringLiteral("KeyQuality") << QVariant(300) << QVariant(256);
    QTest::newRow("quality inside") << QStringLiteral("KeyQuality") << QVariant(17) << QVariant(17);
    QTest::newRow("resize zero") << QStringLiteral("KeyResize") << QVariant(0) << QVariant(1);
    QTest::newRow("bits 24") << QStringLiteral("KeyBits") << QVariant(24) << QVariant(24);
    QTest::newRow("bits unknown") << QStringLiteral("KeyBits") << QVariant(16) << QVariant(0);
    QTest::newRow("grey on") << QStringLiteral("KeyDoGray") << QVariant(true) << QVariant(true);
    QTest::newRow("sound off") << QStringLiteral("KeyPlaySoundAfter") << QVariant(false) << QVariant(false);
    QTest::newRow("texts on") << QStringLiteral("KeyCopyTextssActive") << QVariant(true) << QVariant(true);
}

void tst_settingsdialog::storedValues()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, savedAgain);
    app()->setSettingsValue(key, stored);
    AppSettingsDialog dialog;
    if (key == QLatin1String("KeyBits"))
        QCOMPARE(dialog.bitsList()->currentIndex() < 0, savedAgain.toInt() == 0);
    QMTest::ModalAnswerer ok(QMTest::ModalAnswerer::clickButton(QStringLiteral("Ok")));
    dialog.exec();
    QCOMPARE(app()->settingsValue(key).toString(), savedAgain.toString());
}

void tst_settingsdialog::showingReloadsTheStore()
{
    AppSettingsDialog dialog;
    dialog.qualitySlider()->setValue(5);
    box(dialog, QStringLiteral("Open the destination folder"))->setChecked(false);
    app()->setSettingsValue(QStringLiteral("KeyResize"), 40);
    dialog.show();
    QCOMPARE(dialog.qualitySlider()->value(), 256);
    QCOMPARE(dialog.scaleSlider()->value(), 40);
    QVERIFY(box(dialog, QStringLiteral("Open the destination folder"))->isChecked());
    pressOk(dialog);
    QCOMPARE(app()->settingsValue(QStringLiteral("KeyResize")).toInt(), 40);
    QVERIFY(dialog.isHidden());
}

PAGETEST_MAIN(tst_settingsdialog)
#include "tst_settingsdialog.moc"
