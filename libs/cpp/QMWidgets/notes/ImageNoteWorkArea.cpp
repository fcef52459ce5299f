#include "ImageNoteWorkArea.h"

#include "App.h"
#include "ImageFilters.h"
#include "MMessageBox.h"
#include "NoteEditWidget.h"
#include "NoteResources.h"
#include "Os.h"
#include "SafeSave.h"

#include <QCursor>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTextEdit>
#include <QTimer>

#include <cmath>
#include <cstdlib>

namespace QMWidgets {

namespace {

constexpr int kBlurRadius = 10;
constexpr int kEraserFactor = 10;      // the eraser is ten times the line width
constexpr int kHighlighterFactor = 8;  // the marker eight times
constexpr double kHighlighterOpacity = 0.1;
constexpr int kFillAlpha = 200;
constexpr int kNoteBoxDragLength = 100;  // shorter drags open the default box
constexpr int kNoteBoxWidth = 220;
constexpr int kNoteBoxHeight = 90;
constexpr int kNoteTextInset = 3;
constexpr int kTextStateMs = 100;
constexpr int kArrowBarbLength = 30;
constexpr int kArrowBarbSpread = 12;
constexpr int kFilledOvalDashLimit = 5;  // dashes do not fit round tiny ovals

// The cursor picture of a tool and whether its blue parts take the colour.
struct ToolCursor {
    const char* szFile;
    bool bRecolour;
};

ToolCursor toolCursor(ImageNoteWorkArea::Mode mode)
{
    switch (mode) {
    case ImageNoteWorkArea::PenTool: return {":/Pen_cur.png", true};
    case ImageNoteWorkArea::EraserTool: return {":/Eraser_cur.png", false};
    case ImageNoteWorkArea::HighlighterTool: return {":/Highlighter_cur.png", true};
    case ImageNoteWorkArea::RectangleTool: return {":/Rect_cur.png", true};
    case ImageNoteWorkArea::FilledRectangleTool: return {":/FilledRect_cur.png", true};
    case ImageNoteWorkArea::BlurRectangleTool: return {":/Blur_cur.png", false};
    case ImageNoteWorkArea::OvalTool: return {":/Oval_cur.png", true};
    case ImageNoteWorkArea::LineTool: return {":/Line_cur.png", true};
    case ImageNoteWorkArea::ArrowTool: return {":/Arrow_cur.png", true};
    case ImageNoteWorkArea::TextTool: return {":/Text_cur.png", true};
    default: return {nullptr, false};
    }
}

}  // namespace

ImageNoteWorkArea::ImageNoteWorkArea(QWidget* pParent)
    : QWidget(pParent)
{
    initNoteResources();
    m_pNoteEditor = new NoteEditWidget(this);
    m_pNoteEditor->setAutoFillBackground(true);
    m_pNoteEditor->hide();
    connect(m_pNoteEditor, SIGNAL(cancelClicked()), this, SLOT(slotEditCanceled()));
    connect(m_pNoteEditor, SIGNAL(okClicked()), this, SLOT(slotEditAccepted()));
    updateNoteStyle();
}

bool ImageNoteWorkArea::isModified() const
{
    return m_bModified;
}

ImageNoteWorkArea::Mode ImageNoteWorkArea::mode() const
{
    return m_mode;
}

QColor ImageNoteWorkArea::color() const
{
    return m_color;
}

int ImageNoteWorkArea::thickness() const
{
    return m_nThickness;
}

bool ImageNoteWorkArea::isDashLine() const
{
    return m_bDashLine;
}

QPixmap ImageNoteWorkArea::resultPixmap()
{
    // A fresh copy every time: drawing onto the last result would keep
    // strokes that were erased or undone wherever the picture is see-through.
    m_result = m_picture.copy();
    if (m_result.isNull())
        return m_result;
    QPainter painter(&m_result);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0, m_layer);
    painter.end();
    return m_result;
}

// ---- settings ---------------------------------------------------------------

void ImageNoteWorkArea::slotSetPixmap(const QPixmap& pixmap)
{
    m_bModified = true;
    m_picture = pixmap;
    m_result = pixmap;
    m_pictureImage = QImage();
    setFixedSize(pixmap.size());
    m_layer = QPixmap(pixmap.size());
    m_layer.fill(QColor(0, 0, 0, 0));
    // A gesture of the previous picture must not land on this one, nor a
    // note still open on it.
    m_segments.clear();
    m_bPending = false;
    m_bPressed = false;
    m_pNoteEditor->hideAll();
    m_pNoteEditor->textEdit()->clear();
    m_undoStack.clear();
    m_redoStack.clear();
    emit redoAvailable(false);
    emit undoAvailable(false);
    update();
}

void ImageNoteWorkArea::slotSetMode(Mode mode)
{
    m_mode = mode;
}

void ImageNoteWorkArea::slotSetColor(const QColor& color)
{
    m_color = color;
    updateNoteStyle();
}

void ImageNoteWorkArea::slotSetFont(const QFont& font)
{
    m_font = font;
    updateNoteStyle();
}

void ImageNoteWorkArea::slotSetThikness(int nThickness)
{
    m_nThickness = nThickness;
}

void ImageNoteWorkArea::slotSetDashLine(bool bDash)
{
    m_bDashLine = bDash;
}

void ImageNoteWorkArea::updateNoteStyle()
{
    m_pNoteEditor->textEdit()->setStyleSheet(
        QStringLiteral("QTextEdit{color: %1; background: rgba(10, 10, 10, 5);}").arg(m_color.name()));
}

// ---- saving -----------------------------------------------------------------

void ImageNoteWorkArea::slotSave()
{
    App* pApp = App::instance();
    QString strFolder = pApp ? pApp->lastSaveDirectory() : QDir::homePath();
    if (strFolder.endsWith(QLatin1Char('/')))
        strFolder.chop(1);
    const QString strDefault = strFolder + QStringLiteral("/EditedScreenShot_")
                               + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"))
                               + QStringLiteral(".png");
    const QString strFile = Os::getSaveFileName(this, tr("Save Picture"), strDefault, QStringLiteral("*.png"));
    if (strFile.isEmpty())
        return;
    // Written beside the target and moved into place when complete, so a
    // failed write leaves an earlier file of that name as it was.
    MTools::SafeSave file(strFile);
    bool bSaved = false;
    if (file.open(QIODevice::WriteOnly)) {
        QPixmap canvas(size());
        canvas.fill(Qt::transparent);
        render(&canvas, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        bSaved = canvas.save(&file, "PNG") && file.commit();
    }
    if (pApp)
        pApp->setLastSavePath(strFile);
    if (bSaved) {
        m_bModified = false;
        return;
    }
    // The user asked for a file: say that there is none, rather than leave
    // them to find out later (the changes stay unsaved).
    qWarning() << "The picture could not be saved as" << strFile << file.errorString();
    MMessageBox::warning(this, QString(),
                         tr("The picture could not be saved as\n%1").arg(QDir::toNativeSeparators(strFile)),
                         QMessageBox::Ok);
}

// ---- history ----------------------------------------------------------------

void ImageNoteWorkArea::takeUndoSnapshot()
{
    // Shared, not copied: the layer's painter detaches it before drawing.
    m_undoStack.append(m_layer);
    trimHistory();
    emit undoAvailable(true);
}

void ImageNoteWorkArea::trimHistory()
{
    const qint64 nLayerBytes = qMax<qint64>(1, qint64(m_layer.width()) * m_layer.height() * 4);
    const qint64 nMaxSteps = qMax<qint64>(1, kHistoryBytes / nLayerBytes);
    while (m_undoStack.size() + m_redoStack.size() > nMaxSteps && m_undoStack.size() > 1)
        m_undoStack.removeFirst();
    while (m_undoStack.size() + m_redoStack.size() > nMaxSteps && !m_redoStack.isEmpty())
        m_redoStack.removeFirst();
}

void ImageNoteWorkArea::slotUndo()
{
    if (!m_undoStack.isEmpty()) {
        m_redoStack.append(m_layer);
        m_layer = m_undoStack.takeLast();
        // The picture now differs from what was saved.
        m_bModified = true;
        repaint();
        emit changed();
    }
    emit undoAvailable(!m_undoStack.isEmpty());
    emit redoAvailable(!m_redoStack.isEmpty());
}

void ImageNoteWorkArea::slotRedo()
{
    if (!m_redoStack.isEmpty()) {
        m_undoStack.append(m_layer);
        m_layer = m_redoStack.takeLast();
        m_bModified = true;
        repaint();
        emit changed();
    }
    emit redoAvailable(!m_redoStack.isEmpty());
    emit undoAvailable(!m_undoStack.isEmpty());
}

// ---- text notes -------------------------------------------------------------

void ImageNoteWorkArea::slotEditCanceled()
{
    if (!qobject_cast<QWidget*>(sender()))
        return;
    m_pNoteEditor->textEdit()->clear();
    closeNote(TextCanceled);
}

void ImageNoteWorkArea::slotEditAccepted()
{
    if (!qobject_cast<QWidget*>(sender()))
        return;
    closeNote(TextAccepted);
}

void ImageNoteWorkArea::closeNote(Mode mode)
{
    m_pNoteEditor->hideAll();
    m_mode = mode;
    repaint();
    // Back to the text tool, unless the user has picked another tool since.
    QTimer::singleShot(kTextStateMs, this, [this] {
        if (m_mode == TextCanceled || m_mode == TextAccepted)
            slotSwitchToEdit();
    });
}

void ImageNoteWorkArea::slotSwitchToEdit()
{
    m_mode = TextTool;
}

// ---- mouse and pointer ------------------------------------------------------

bool ImageNoteWorkArea::isFreehand() const
{
    return m_mode == PenTool || m_mode == EraserTool || m_mode == HighlighterTool;
}

void ImageNoteWorkArea::appendSegment()
{
    // Collected here rather than at the next paint: several moves often come
    // before one paint, and each must leave its piece of the stroke.
    if (isFreehand())
        m_segments.append(QLine(m_nPreviousX, m_nPreviousY, m_nCurrentX, m_nCurrentY));
}

void ImageNoteWorkArea::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->buttons() & Qt::LeftButton) {
        m_bPressed = true;
        m_nPressX = m_nPreviousX = m_nCurrentX = qRound(pEvent->localPos().x());
        m_nPressY = m_nPreviousY = m_nCurrentY = qRound(pEvent->localPos().y());
        m_segments.clear();
        appendSegment();  // a click alone leaves a dot
        m_bPending = true;
        update();
    }
    QWidget::mousePressEvent(pEvent);
}

void ImageNoteWorkArea::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (pEvent->buttons() & Qt::LeftButton) {
        m_nPreviousX = m_nCurrentX;
        m_nPreviousY = m_nCurrentY;
        m_nCurrentX = qRound(pEvent->localPos().x());
        m_nCurrentY = qRound(pEvent->localPos().y());
        m_bPressed = true;
        appendSegment();
        m_bPending = true;
        update();
    }
    QWidget::mouseMoveEvent(pEvent);
}

void ImageNoteWorkArea::mouseReleaseEvent(QMouseEvent* pEvent)
{
    // Only the end of a left-button gesture commits: another button's
    // release would draw the tool again from a stale press point.
    if (pEvent->button() == Qt::LeftButton && m_bPressed) {
        m_bPressed = false;
        m_nPreviousX = m_nCurrentX;
        m_nPreviousY = m_nCurrentY;
        m_nCurrentX = qRound(pEvent->localPos().x());
        m_nCurrentY = qRound(pEvent->localPos().y());
        if (m_nPreviousX != m_nCurrentX || m_nPreviousY != m_nCurrentY)
            appendSegment();
        m_bPending = true;
        update();
    }
    QWidget::mouseReleaseEvent(pEvent);
}

void ImageNoteWorkArea::enterEvent(QEvent* pEvent)
{
    const ToolCursor tool = toolCursor(m_mode);
    if (!tool.szFile) {
        qDebug() << "Default";
        m_cursor.set(QCursor(Qt::ArrowCursor));
    } else {
        QImage image(QString::fromLatin1(tool.szFile));
        if (tool.bRecolour)
            image = MGraphX::replaceHue(image, QColor(0, 0, 255), m_color);
        m_cursor.set(QCursor(QPixmap::fromImage(image)));  // hot spot in the centre
    }
    QWidget::enterEvent(pEvent);
}

void ImageNoteWorkArea::leaveEvent(QEvent* pEvent)
{
    m_cursor.release();
    QWidget::leaveEvent(pEvent);
}

// ---- painting ---------------------------------------------------------------

QPen ImageNoteWorkArea::toolPen() const
{
    return QPen(QBrush(m_color, Qt::SolidPattern), m_nThickness, m_bDashLine ? Qt::DashLine : Qt::SolidLine,
                Qt::SquareCap, Qt::BevelJoin);
}

QBrush ImageNoteWorkArea::fillBrush() const
{
    QColor color = m_color;
    color.setAlpha(kFillAlpha);
    return QBrush(color, Qt::SolidPattern);
}

QRect ImageNoteWorkArea::dragRect() const
{
    return QRect(QPoint(m_nPressX, m_nPressY), QPoint(m_nCurrentX, m_nCurrentY)).normalized();
}

const QImage& ImageNoteWorkArea::pictureImage()
{
    if (m_pictureImage.isNull())
        m_pictureImage = m_picture.toImage();
    return m_pictureImage;
}

void ImageNoteWorkArea::paintEvent(QPaintEvent* pEvent)
{
    // The paint after a release commits the gesture: the layer as it was
    // before becomes one undo step (not while a note box is open: its step
    // was taken when it opened).
    const bool bPending = m_bPending;
    if (bPending && !m_bPressed && m_pNoteEditor->isHidden())
        takeUndoSnapshot();
    QWidget::paintEvent(pEvent);
    if (m_picture.isNull()) {
        m_bPending = false;
        return;
    }

    QPainter layer(&m_layer);
    QPainter window(this);
    layer.setRenderHint(QPainter::Antialiasing);
    window.setRenderHint(QPainter::Antialiasing);
    window.drawPixmap(0, 0, m_picture);

    const bool bCommit = bPending && !m_bPressed;
    switch (m_mode) {
    case TextTool:
        paintText(window, bPending);
        break;
    case TextCanceled:
        window.drawPixmap(0, 0, m_layer);
        break;
    case TextAccepted:
        paintAcceptedText(layer, window);
        break;
    case RectangleTool:
    case FilledRectangleTool:
    case BlurRectangleTool:
    case OvalTool:
    case FilledOvalTool:
    case LineTool:
    case ArrowTool:
        m_pNoteEditor->hideAll();
        paintShape(layer, window, bCommit);
        break;
    default:  // the freehand tools; an unknown mode draws as the pen
        m_pNoteEditor->hideAll();
        paintFreehand(layer, window, bCommit);
        break;
    }
    layer.end();
    window.end();

    if (bPending || m_mode == TextAccepted) {
        emit changed();
        m_bModified = true;
    }
    m_bPending = false;
}

void ImageNoteWorkArea::paintFreehand(QPainter& layer, QPainter& window, bool bCommit)
{
    QPen pen;
    double opacity = 1.0;
    bool bErase = false;
    if (m_mode == EraserTool) {
        pen = QPen(QBrush(QColor(0, 0, 0, 0)), kEraserFactor * m_nThickness, Qt::SolidLine, Qt::RoundCap,
                   Qt::BevelJoin);
        bErase = true;
    } else if (m_mode == HighlighterTool) {
        pen = QPen();
        pen.setColor(m_color);
        pen.setWidth(kHighlighterFactor * m_nThickness);
        // Every piece is a line of its own, so the marker darkens where the
        // pieces overlap, as a real one does.
        opacity = kHighlighterOpacity;
    } else {
        pen = toolPen();
        pen.setCapStyle(Qt::RoundCap);
    }

    auto drawSegments = [this, &pen, opacity, bErase](QPainter& painter) {
        painter.save();
        if (bErase)
            painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setOpacity(opacity);
        painter.setPen(pen);
        for (const QLine& segment : qAsConst(m_segments))
            painter.drawLine(segment);
        painter.restore();
    };

    if (bCommit) {
        drawSegments(layer);
        m_segments.clear();
    }
    if (!m_bPressed) {
        window.drawPixmap(0, 0, m_layer);
        return;
    }
    // While the button is held the stroke shows on the window only. The
    // eraser works on a copy of the layer, since erasing cannot be shown by
    // drawing over the picture.
    if (bErase) {
        QPixmap copy = m_layer.copy();
        QPainter copyPainter(&copy);
        copyPainter.setRenderHint(QPainter::Antialiasing);
        drawSegments(copyPainter);
        copyPainter.end();
        window.drawPixmap(0, 0, copy);
    } else {
        window.drawPixmap(0, 0, m_layer);
        drawSegments(window);
    }
}

void ImageNoteWorkArea::paintShape(QPainter& layer, QPainter& window, bool bCommit)
{
    if (bCommit)
        drawShape(layer);
    window.drawPixmap(0, 0, m_layer);
    if (m_bPressed)
        drawShape(window);
}

void ImageNoteWorkArea::drawShape(QPainter& painter)
{
    const QRect rect = dragRect();
    painter.save();
    switch (m_mode) {
    case RectangleTool:
        painter.setPen(toolPen());
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
        break;
    case FilledRectangleTool:
        painter.setPen(toolPen());
        painter.setBrush(fillBrush());
        painter.drawRect(rect);
        break;
    case BlurRectangleTool: {
        // The picture's own pixels, blurred: an opaque patch over whatever
        // the layer held there. Only the part inside the picture counts.
        // The blur reads nothing outside its rectangle, so only the patch
        // is copied: every move of the drag repaints it, and copying the
        // whole picture each time is slow on a large screen.
        const QRect inside = rect.intersected(m_picture.rect());
        if (!inside.isEmpty()) {
            const QImage patch = pictureImage().copy(inside);
            painter.drawImage(inside.topLeft(), MGraphX::blurRect(patch, patch.rect(), kBlurRadius, false));
        }
        break;
    }
    case OvalTool:
        painter.setPen(toolPen());
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(rect);
        break;
    case FilledOvalTool: {
        QPen pen = toolPen();
        if (rect.width() <= kFilledOvalDashLimit || rect.height() <= kFilledOvalDashLimit)
            pen.setStyle(Qt::SolidLine);
        painter.setPen(pen);
        painter.setBrush(fillBrush());
        painter.drawEllipse(rect);
        break;
    }
    case LineTool:
        painter.setPen(toolPen());
        painter.drawLine(m_nPressX, m_nPressY, m_nCurrentX, m_nCurrentY);
        break;
    case ArrowTool:
        painter.setPen(toolPen());
        drawArrow(&painter);
        break;
    default:
        break;
    }
    painter.restore();
}

void ImageNoteWorkArea::drawArrow(QPainter* pPainter)
{
    pPainter->drawLine(m_nPressX, m_nPressY, m_nCurrentX, m_nCurrentY);
    const double dx = m_nPressX - m_nCurrentX;
    const double dy = m_nPressY - m_nCurrentY;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0)
        return;  // no direction, no head
    pPainter->save();
    QPen pen = pPainter->pen();
    pen.setStyle(Qt::SolidLine);  // the head is never dashed
    pPainter->setPen(pen);
    // Both branches give two barbs from the tip, 30 pixels back along the
    // shaft and 12 to either side of it.
    const double x = dx / length;
    pPainter->translate(m_nCurrentX, m_nCurrentY);
    if (dy > 0) {
        pPainter->rotate(std::acos(x) * 180 / 3.14159);
        pPainter->drawLine(0, 0, kArrowBarbLength, kArrowBarbSpread);
        pPainter->drawLine(0, 0, kArrowBarbLength, -kArrowBarbSpread);
    } else {
        pPainter->rotate(std::asin(x) * 180 / 3.14159);
        pPainter->drawLine(0, 0, -kArrowBarbSpread, -kArrowBarbLength);
        pPainter->drawLine(0, 0, kArrowBarbSpread, -kArrowBarbLength);
    }
    pPainter->restore();
}

void ImageNoteWorkArea::paintText(QPainter& window, bool bPending)
{
    window.drawPixmap(0, 0, m_layer);
    if (m_bPressed) {
        // The rubber band of the box being dragged.
        window.setPen(QPen());
        window.setBrush(Qt::NoBrush);
        window.drawRect(dragRect());
        return;
    }
    if (bPending) {
        m_pNoteEditor->showAll();
        const int nDragLength = std::abs(m_nPressX - m_nCurrentX) + std::abs(m_nPressY - m_nCurrentY);
        const QRect box = nDragLength > kNoteBoxDragLength
                              ? dragRect()
                              : QRect(m_nPressX, m_nPressY, kNoteBoxWidth, kNoteBoxHeight);
        m_nPressX = box.left();
        m_nPressY = box.top();
        m_nCurrentX = box.right();
        m_nCurrentY = box.bottom();
        m_pNoteEditor->setGeometry(box);
    }
    if (!m_pNoteEditor->isHidden()) {
        window.setPen(QPen(QBrush(Qt::white, Qt::SolidPattern), 2.0, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
        window.setBrush(Qt::NoBrush);
        window.drawRect(QRect(QPoint(m_nPressX, m_nPressY), QPoint(m_nCurrentX, m_nCurrentY)));
    }
}

void ImageNoteWorkArea::paintAcceptedText(QPainter& layer, QPainter& window)
{
    QTextEdit* pText = m_pNoteEditor->textEdit();
    const QFont font = pText->currentFont();
    layer.setFont(font);
    window.setFont(font);
    layer.setPen(toolPen());
    window.setPen(toolPen());
    const QString strText = pText->toPlainText();
    if (!strText.isEmpty()) {
        layer.drawText(QRect(QPoint(m_nPressX + kNoteTextInset, m_nPressY + kNoteTextInset),
                             QPoint(m_nCurrentX, m_nCurrentY)),
                       Qt::TextWordWrap, strText);
        pText->clear();
    }
    window.drawPixmap(0, 0, m_layer);
}

}  // namespace QMWidgets
