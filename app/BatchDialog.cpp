#include "BatchDialog.h"

#include "App.h"
#include "CompressProgress.h"
#include "ErrorsDialog.h"
#include "Label.h"
#include "PreviewLoader.h"
#include "SimpleProgress.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int PreviewWidth = 250;
constexpr int PreviewHeight = 150;

QWidget* mainWidget()
{
    QMWidgets::App* app = QMWidgets::App::instance();
    return app ? app->mainWidget() : nullptr;
}

// Decodes a preview through the batch's own guarded loader (an enormous
// header is refused before decoding); the result only fills 250 x 150.
// Runs on the preview loader's thread.
QImage loadPreview(const QString& path)
{
    return PreviewLoader::decodeFitted(path, QSize(PreviewWidth * 2, PreviewHeight * 2));
}

std::function<QImage(const QString&)>& previewDecodeForTesting()
{
    static std::function<QImage(const QString&)> decode;
    return decode;
}

} // namespace

BatchDialog::BatchDialog(QWidget* parent)
    : QDialog(parent)
    , m_pProgress(new QMWidgets::SimpleProgress)
    , m_pRing(new CompressProgress)
    , m_pHiddenLabel(new QLabel(this))
    , m_pPauseButton(new QPushButton(tr("Pause")))
    , m_pStopButton(new QPushButton(tr("Stop")))
    , m_pCloseButton(new QPushButton(tr("Close")))
    , m_pErrorButton(new QPushButton(tr("One or more errors have occured!")))
    , m_pPreview(new QMWidgets::Label)
    , m_pCounter(new QLabel)
    , m_pPreviewTimer(new QTimer(this))
{
    setWindowTitle(QCoreApplication::applicationName() + tr(" Batch Process"));
    setMinimumWidth(500);

    m_pProgress->setText(QStringLiteral("COMPRESSING"));
    m_pHiddenLabel->setMaximumHeight(32);
    m_pHiddenLabel->hide();
    m_pPreview->setObjectName(QStringLiteral("PreviewLabel"));
    m_pPreview->setFixedSize(PreviewWidth, PreviewHeight);
    m_pCounter->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_pCounter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_pPauseButton->setObjectName(QStringLiteral("BatchPauseButton"));
    m_pCloseButton->setObjectName(QStringLiteral("BatchPauseButton"));
    m_pStopButton->setObjectName(QStringLiteral("BatchStopButton"));
    m_pErrorButton->setObjectName(QStringLiteral("BatchStopButton"));
    m_pCloseButton->hide();
    m_pErrorButton->hide();

    m_pPreviewTimer->setSingleShot(true);
    m_pPreviewTimer->setInterval(0);
    connect(m_pPreviewTimer, SIGNAL(timeout()), this, SLOT(slotLoadPreview()));
    m_pPreviewLoader.reset(new PreviewLoader(previewDecodeForTesting() ? previewDecodeForTesting()
                                                                       : loadPreview));
    connect(m_pPreviewLoader.get(), &PreviewLoader::loaded, this,
            [this](const QString&, const QImage& image) {
                m_pPreview->setPixmap(QPixmap::fromImage(image));
            });

    // Stop accepts first, then emits stop().
    connect(m_pStopButton, SIGNAL(clicked()), this, SLOT(slotAccept()));
    m_pPauseButton->setCheckable(true);
    connect(m_pPauseButton, SIGNAL(clicked()), this, SLOT(slotPause()));
    connect(m_pStopButton, SIGNAL(clicked()), this, SLOT(slotStop()));
    connect(m_pCloseButton, SIGNAL(clicked()), this, SLOT(accept()));
    connect(m_pErrorButton, SIGNAL(clicked()), this, SLOT(slotShowErrors()));
    connect(this, SIGNAL(rejected()), this, SLOT(slotStop()));

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_pPauseButton);
    buttonRow->addWidget(m_pStopButton);
    buttonRow->addWidget(m_pErrorButton);
    buttonRow->addWidget(m_pCloseButton);

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_pProgress);
    progressRow->addWidget(m_pCounter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pRing);
    layout->addWidget(m_pPreview, 1, Qt::AlignHCenter);
    layout->addLayout(progressRow);
    layout->addLayout(buttonRow);
}

void BatchDialog::slotPause()
{
    if (m_pPauseButton->isChecked()) {
        m_pPauseButton->setText(tr("Resume"));
        emit paused(true);
    } else {
        m_pPauseButton->setText(tr("Pause"));
        emit paused(false);
    }
}

void BatchDialog::slotStop()
{
    emit stop();
}

void BatchDialog::slotAccept()
{
    accept();
}

void BatchDialog::slotProgressChanged(int percent)
{
    m_pProgress->setValue(percent);
    m_pRing->setPercent(percent);
    if (percent >= 100) {
        m_pCloseButton->show();
        m_pStopButton->hide();
        m_pPauseButton->hide();
        m_pProgress->setText(QStringLiteral("DONE"));
    }
}

void BatchDialog::slotFailed(const QString& reason)
{
    m_pCloseButton->show();
    m_pStopButton->hide();
    m_pPauseButton->hide();
    // Nothing is under way any more: no bar and no busy pattern.
    m_pProgress->setValue(-1);
    m_pProgress->setText(QStringLiteral("FAILED: ") + reason);
    m_pProgress->setToolTip(reason);
}

void BatchDialog::slotFileProgressChanged(int percent)
{
    m_pProgress->setValue(percent);
}

void BatchDialog::slotShowCurrentFile(const QString& text)
{
    m_pProgress->setText(text);
}

void BatchDialog::slotShowCurrentFileImage(const QString& path)
{
    m_strPreviewPath = path;
    if (!m_pPreviewTimer->isActive())
        m_pPreviewTimer->start();
}

BatchDialog::~BatchDialog() = default;

void BatchDialog::setPreviewDecodeForTesting(const std::function<QImage(const QString&)>& decode)
{
    previewDecodeForTesting() = decode;
}

void BatchDialog::slotLoadPreview()
{
    m_pPreviewLoader->request(m_strPreviewPath);
}

void BatchDialog::slotSetErrors(const QString& errors)
{
    m_strErrors = errors;
    m_pErrorButton->show();
}

void BatchDialog::slotShowErrors()
{
    // Owned here rather than by the main window, so repeated clicks don't
    // pile up hidden dialogs.
    ErrorsDialog dialog(mainWidget());
    dialog.textEdit()->setPlainText(m_strErrors);
    dialog.resize(width(), height() / 3);
    dialog.exec();
}

void BatchDialog::slotNotEnoughtFreeSpace()
{
    m_pProgress->setText(QStringLiteral("NOT ENOUGH FREE SPACE"));
    m_pPauseButton->blockSignals(true);
    m_pPauseButton->setChecked(true);
    m_pPauseButton->setText(tr("Resume"));
    m_pPauseButton->blockSignals(false);
    QMessageBox::warning(mainWidget(), tr("Not enough free space"),
                         tr("<H3>Not enough free space</H3>Conversion paused.<br>Free up space and "
                            "click \"Resume\".<br>To stop conversion, click \"Stop\"."),
                         QMessageBox::Ok);
}

void BatchDialog::slotTotalProgressSizesChanged(qint64 inputTotal, qint64 outputTotal)
{
    m_pRing->setSizes(inputTotal, outputTotal);
}

void BatchDialog::slotFilesCountChanged(int current, int total)
{
    const QString widest = QString::number(total) + QStringLiteral(" / ") + QString::number(total);
    const int width = m_pCounter->fontMetrics().horizontalAdvance(widest) + 10;
    if (m_pCounter->width() != width)
        m_pCounter->setFixedWidth(width);
    m_pCounter->setText(QStringLiteral("<FONT COLOR=#00DF00>") + QString::number(current)
                        + QStringLiteral(" / ") + QString::number(total) + QStringLiteral("</FONT>"));
}

void BatchDialog::showEvent(QShowEvent* event)
{
    m_pPauseButton->setChecked(false);
    m_pPauseButton->setText(tr("Pause"));
    m_pProgress->setValue(0);
    m_pPreview->setPixmap(QPixmap());
    QDialog::showEvent(event);
}

void BatchDialog::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
}
