#include "PngTestWidget.h"

#include "App.h"
#include "ColorReducer.h"
#include "ComboSlider.h"
#include "DropWidget.h"
#include "ImageIO.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QMWidgets::ComboSlider* makeSlider(const QString& strTitle, int nMinimum, int nMaximum)
{
    auto* pSlider = new QMWidgets::ComboSlider(strTitle);
    pSlider->setRange(nMinimum, nMaximum);
    return pSlider;
}

} // namespace

PngTestWidget::PngTestWidget(QWidget* parent)
    : QWidget(parent)
{
    m_pcsCubes = makeSlider(QStringLiteral("Cubes"), 1, 256);
    m_pcsCubes->setValue(256);
    m_pcsStretch = makeSlider(QStringLiteral("Stretch"), 0, 123);
    m_pcsStretch->hide();
    m_pcsMedian = makeSlider(QStringLiteral("Median"), 0, 5);
    m_pbtnOptimize = new QPushButton(tr("Optimize"));
    m_pbtnOptimize->setCheckable(true);
    m_pchkDither = new QCheckBox(QStringLiteral("Dither"));
    m_pchkDither->setChecked(true);
    m_pchkGrayAlg = new QCheckBox(QStringLiteral("GrayAlg"));
    m_pchkGrayAlg->setChecked(true);
    m_plblStatus = new QLabel;
    m_plblStatus->setFixedHeight(20);
    m_pDropWidget = new QMWidgets::DropWidget;
    m_pDropWidget->hideButton();
    m_pDropWidget->setLabelText(QStringLiteral("<H1>Drop image file here</H1>"));
    m_pDropWidget->setWordWrap(true);
    m_pDropWidget->setMaximumHeight(100);
    m_pDropWidget->setHideOnDrop(false);

    auto* pRow = new QHBoxLayout;
    pRow->addWidget(m_pcsCubes);
    pRow->addWidget(m_pcsStretch);
    pRow->addWidget(m_pcsMedian);
    pRow->addWidget(m_pchkDither);
    pRow->addWidget(m_pchkGrayAlg);
    auto* pLayout = new QVBoxLayout;
    pLayout->addLayout(pRow);
    pLayout->addWidget(m_pbtnOptimize);
    pLayout->addWidget(m_plblStatus);
    pLayout->addWidget(m_pDropWidget);
    setLayout(pLayout);

    connect(m_pDropWidget, SIGNAL(dropped(QList<QUrl>)), this, SLOT(slotDroppedDone(QList<QUrl>)));
    connect(m_pbtnOptimize, SIGNAL(clicked()), this, SLOT(slotFind()));
}

void PngTestWidget::showCounts(qint64 nFound, qint64 nTotal)
{
    m_plblStatus->setText(QStringLiteral("Found:%1, from:%2").arg(nFound).arg(nTotal));
}

void PngTestWidget::slotDroppedDone(QList<QUrl> lst)
{
    if (!lst.isEmpty())
        m_strImagePath = lst.first().toLocalFile();
}

void PngTestWidget::slotFind()
{
    if (!QFile::exists(m_strImagePath)) {
        QMessageBox::critical(nullptr, QStringLiteral("Error"), QStringLiteral("Can not open file to read"));
        return;
    }
    // A file that is no picture (or too large a one) gives an empty image;
    // the reducer and the writer take it as it is, and nothing is written.
    QImage image;
    MGraphX::loadImageChecked(m_strImagePath, &image);
    MGraphX::ColorReducer reducer(image);
    reducer.setDithering(m_pchkDither->isChecked());
    const QImage result = reducer.stretch(m_pcsCubes->value());
    QImageWriter writer(QMWidgets::App::picturesDirectory(true) + QStringLiteral("imageMC.png"), "PNG");
    writer.setQuality(0);
    writer.write(result);
}
