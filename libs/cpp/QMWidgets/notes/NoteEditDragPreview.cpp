#include "NoteEditDragPreview.h"

#include "App.h"
#include "NoteResources.h"

#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace QMWidgets {

namespace {

// The names with no number and with 1 to 31: another program may hold some
// of them open (a mail client still attaching the last drop).
constexpr int kFileAttempts = 32;
constexpr int kBandHeight = 15;

NoteEditDragPreview::DragRunner& dragRunnerRef()
{
    static NoteEditDragPreview::DragRunner runner;
    return runner;
}

}  // namespace

NoteEditDragPreview::NoteEditDragPreview(QWidget* pParent)
    : QWidget(pParent)
{
    initNoteResources();
    setMinimumWidth(60);
    setMinimumHeight(50);
}

NoteEditDragPreview::DragRunner NoteEditDragPreview::setDragRunner(DragRunner runner)
{
    DragRunner previous = dragRunnerRef();
    dragRunnerRef() = std::move(runner);
    return previous;
}

QString NoteEditDragPreview::dragFileBaseName()
{
    return QStringLiteral("DraggedScreenShot");
}

void NoteEditDragPreview::slotSetPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    update();
}

void NoteEditDragPreview::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_dragStart = pEvent->localPos().toPoint();
    QWidget::mousePressEvent(pEvent);
}

void NoteEditDragPreview::mouseMoveEvent(QMouseEvent* pEvent)
{
    if ((pEvent->buttons() & Qt::LeftButton)
        && (pEvent->localPos().toPoint() - m_dragStart).manhattanLength() > QApplication::startDragDistance())
        startDrag();
    QWidget::mouseMoveEvent(pEvent);
}

void NoteEditDragPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_pixmap.isNull())
        painter.drawPixmap(0, 0, m_pixmap.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 127));
    const QRect band(0, 0, width(), kBandHeight);
    painter.drawRect(band);
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, tr("Drag"));
    painter.drawPixmap(rect(), QPixmap(QStringLiteral(":/steklo.png")));
}

void NoteEditDragPreview::startDrag()
{
    const QString strFolder = App::workDirectory(true);
    for (int n = 0; n < kFileAttempts; ++n) {
        const QString strPath = strFolder + dragFileBaseName() + (n ? QString::number(n) : QString())
                                + QStringLiteral(".png");
        QFile file(strPath);
        if (!file.open(QIODevice::WriteOnly))
            continue;
        // A picture that cannot be written (none yet, a full disk) must not
        // be dragged as an empty file that looks like a picture.
        const bool bWritten = m_pixmap.save(&file, "PNG");
        file.close();
        if (!bWritten) {
            file.remove();
            return;
        }
        auto* pMimeData = new QMimeData;
        pMimeData->setUrls({QUrl::fromLocalFile(strPath)});
        auto* pDrag = new QDrag(this);
        pDrag->setMimeData(pMimeData);
        pDrag->setPixmap(m_pixmap.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        if (dragRunnerRef()) {
            dragRunnerRef()(pDrag);
            pDrag->deleteLater();
        } else {
            pDrag->exec(Qt::CopyAction);  // Qt deletes the drag when it ends
        }
        return;
    }
}

}  // namespace QMWidgets
