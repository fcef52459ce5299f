#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace QMWidgets {
class ComboSlider;
class DropWidget;
}

// A developer's bench for the colour reducer, never shown by the program:
// drop one picture, press "Optimize", and the picture posterised to the
// "Cubes" level count lands in "imageMC.png" in the pictures folder
// (overwritten each time). "Stretch", "Median" and "GrayAlg" are not read.
class PngTestWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PngTestWidget(QWidget* parent = nullptr);

    // Status line "Found:<found>, from:<total>".
    void showCounts(qint64 nFound, qint64 nTotal);

private slots:
    void slotFind();
    void slotDroppedDone(QList<QUrl> lst);

private:
    QMWidgets::ComboSlider* m_pcsCubes = nullptr;
    QMWidgets::ComboSlider* m_pcsStretch = nullptr;
    QMWidgets::ComboSlider* m_pcsMedian = nullptr;
    QPushButton* m_pbtnOptimize = nullptr;
    QCheckBox* m_pchkDither = nullptr;
    QCheckBox* m_pchkGrayAlg = nullptr;
    QLabel* m_plblStatus = nullptr;
    QMWidgets::DropWidget* m_pDropWidget = nullptr;
    QString m_strImagePath = QStringLiteral("");
};
