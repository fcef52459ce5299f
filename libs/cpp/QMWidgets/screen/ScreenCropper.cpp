#include "ScreenCropper.h"

#include "App.h"
#include "Os.h"
#include "SafeSave.h"
#include "WidgetFunctions.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardPaths>

#include <cmath>

namespace QMWidgets {

namespace {

constexpr int kFramePenWidth = 7;
constexpr int kHintPixelSize = 20;
constexpr double kHintWidthShare = 3.7;   // the hint box leaves width / 3.7 on each side
constexpr double kHintHeightShare = 2.5;  // and height / 2.5 above and below

}  // namespace

ScreenCropper::ScreenCropper(QWidget* pParent)
    : QFrame(pParent)
{
    auto* pClose = new QAction(QStringLiteral("Close"), this);
    pClose->setShortcut(Qt::Key_Escape);
    addAction(pClose);
    connect(pClose, SIGNAL(triggered()), this, SLOT(slotClose()));
    connect(pClose, SIGNAL(triggered()), this, SIGNAL(escaped()));
    // Chosen now rather than at the first language change, which may never
    // come: without it the first save would aim at the file system's root.
    updateSaveLocation();
}

void ScreenCropper::setHintText(const QString& strText)
{
    m_strHintText = strText;
}

void ScreenCropper::setShowMode(int nMode)
{
    m_nShowMode = nMode;
}

QPixmap ScreenCropper::croppedPixmap() const
{
    return m_croppedPixmap;
}

void ScreenCropper::updatePixmap()
{
    m_shownPixmap = m_desktopPixmap;
}

QString ScreenCropper::saveFolder() const
{
    return m_strSaveFolder;
}

QString ScreenCropper::helpText() const
{
    return tr("Select the area you want to crop.\n") + tr("The image file will be saved ") + m_strLocationText
           + QStringLiteral("\n") + tr("Hold [ALT] to go, after screenshot is done, to its location\n")
           + tr("Press [A] to see about dialog\n") + tr("Press [ESC] to cancel this operation");
}

QString ScreenCropper::shortHelpText() const
{
    return tr("Select the area you want to crop. \n") + tr("(to cancel this operation press ESC button)");
}

void ScreenCropper::showByMode()
{
    if (m_nShowMode == 0)
        showFullScreen();
    else if (m_nShowMode == 1)
        showMaximized();
    else
        show();
}

void ScreenCropper::grabScreen()
{
    m_bSelecting = false;
    m_desktopPixmap = grabDesktopScreen();
    showByMode();
    raise();
    activateWindow();
    m_shownPixmap = m_desktopPixmap;
    repaint();
    setFocus(Qt::OtherFocusReason);
    setCursor(Qt::CrossCursor);
    m_overrideCursor.set(QCursor(Qt::CrossCursor));
}

void ScreenCropper::slotClose()
{
    m_overrideCursor.release();
    m_bSelecting = false;
    showByMode();
    hide();
    emit closed();
}

void ScreenCropper::slotSave()
{
    const QString strFile = m_strSaveFolder + QStringLiteral("/ScreenShot_")
                            + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"))
                            + QStringLiteral(".png");
    MTools::SafeSave file(strFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    // saved() promises a file: a failed write (no cut yet, a full disk) is
    // no save.
    if (!m_croppedPixmap.save(&file, "PNG") || !file.commit())
        return;
    if (m_bOpenLocation)
        Os::showFileInExplorer(strFile);
    emit saved();
}

void ScreenCropper::updateSaveLocation()
{
    const QString strDesktop = QStandardPaths::standardLocations(QStandardPaths::DesktopLocation).value(0);
    const QFileInfo desktop(strDesktop);
    if (!strDesktop.isEmpty() && desktop.isDir() && desktop.isReadable()) {
        m_strSaveFolder = strDesktop;
        m_strLocationText = tr("on Desktop");
    } else {
        m_strSaveFolder = QStandardPaths::standardLocations(QStandardPaths::HomeLocation).value(0);
        m_strLocationText = tr("in Home Location");
    }
}

// ---- mouse and keys ---------------------------------------------------------

void ScreenCropper::mousePressEvent(QMouseEvent* pEvent)
{
    m_nPressX = m_nCurrentX = qRound(pEvent->localPos().x());
    m_nPressY = m_nCurrentY = qRound(pEvent->localPos().y());
    m_bSelecting = true;
    QFrame::mousePressEvent(pEvent);
    repaint();
}

void ScreenCropper::mouseMoveEvent(QMouseEvent* pEvent)
{
    QFrame::mouseMoveEvent(pEvent);
    m_nCurrentX = qRound(pEvent->localPos().x());
    m_nCurrentY = qRound(pEvent->localPos().y());
    repaint();
}

void ScreenCropper::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->modifiers() & Qt::AltModifier)
        m_bOpenLocation = true;
    QFrame::mouseReleaseEvent(pEvent);
    // The last position of the drag counts, not the release's.
    m_croppedPixmap = m_desktopPixmap.copy(pictureArea(selection().normalized()));
    slotClose();
    emit done(m_croppedPixmap);
    emit done();
}

QRect ScreenCropper::selection() const
{
    return QRect(QPoint(m_nPressX, m_nPressY), QPoint(m_nCurrentX, m_nCurrentY));
}

QRect ScreenCropper::pictureArea(const QRect& widgetArea) const
{
    if (m_desktopPixmap.isNull() || width() <= 0 || height() <= 0)
        return QRect();
    // Every widget pixel of the selection, in picture pixels: from the left
    // edge of the first to the right edge of the last.
    const double sx = double(m_desktopPixmap.width()) / width();
    const double sy = double(m_desktopPixmap.height()) / height();
    const int nLeft = int(std::floor(widgetArea.left() * sx));
    const int nTop = int(std::floor(widgetArea.top() * sy));
    const int nRight = int(std::ceil((widgetArea.right() + 1) * sx)) - 1;
    const int nBottom = int(std::ceil((widgetArea.bottom() + 1) * sy)) - 1;
    return QRect(QPoint(nLeft, nTop), QPoint(qMax(nLeft, nRight), qMax(nTop, nBottom)))
        .intersected(m_desktopPixmap.rect());
}

void ScreenCropper::keyPressEvent(QKeyEvent* pEvent)
{
    QFrame::keyPressEvent(pEvent);
    if (pEvent->key() == Qt::Key_Return) {
        m_bOpenLocation = true;
    } else if (pEvent->key() == Qt::Key_A) {
        if (App* pApp = App::instance())
            pApp->slotAbout();
    }
}

// ---- other events -----------------------------------------------------------

void ScreenCropper::resizeEvent(QResizeEvent* pEvent)
{
    QFrame::resizeEvent(pEvent);
    m_shownPixmap = m_desktopPixmap;
}

void ScreenCropper::closeEvent(QCloseEvent* pEvent)
{
    pEvent->ignore();
    hide();
}

void ScreenCropper::showEvent(QShowEvent* pEvent)
{
    QFrame::showEvent(pEvent);
}

void ScreenCropper::changeEvent(QEvent* pEvent)
{
    QFrame::changeEvent(pEvent);
    if (pEvent->type() == QEvent::LanguageChange)
        updateSaveLocation();
}

// ---- painting ---------------------------------------------------------------

void ScreenCropper::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(QBrush(QColor(255, 255, 255, 128)), kFramePenWidth, Qt::SolidLine, Qt::SquareCap,
                        Qt::BevelJoin));
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter.drawRect(rect());
    painter.drawPixmap(rect(), m_shownPixmap);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(0, 0), QPoint(width() - 1, height() - 1)));

    if (m_bSelecting) {
        painter.setPen(QPen(QBrush(QColor(210, 210, 210)), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.setBrush(QColor(10, 10, 80, 100));
        painter.drawRect(selection().normalized());
        return;
    }
    paintHintBox(painter, kHintPixelSize, kHintWidthShare);
}

void ScreenCropper::paintHintBox(QPainter& painter, int nPixelSize, double dHorizontalShare)
{
    QFont hintFont = font();
    hintFont.setPixelSize(nPixelSize);
    painter.setFont(hintFont);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QBrush(QColor(200, 200, 200)), 4, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(QColor(0, 0, 0, 180));
    const int nInsetX = int(width() / dHorizontalShare);
    const int nInsetY = int(height() / kHintHeightShare);
    const QRect box = rect().adjusted(nInsetX, nInsetY, -nInsetX, -nInsetY);
    painter.drawRoundedRect(box, 5, 20, Qt::RelativeSize);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, m_strHintText.isEmpty() ? helpText() : m_strHintText);
}

}  // namespace QMWidgets
