#include "SearchFilter.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace QMWidgets {

namespace {
constexpr int kClearButtonSide = 16;
constexpr int kHintIndent = 5;
} // namespace

SearchFilter::SearchFilter(QWidget* pParent)
    : QLineEdit(pParent)
{
    setObjectName(QStringLiteral("SearchFilter"));
    setToolTip(tr("Search Filter"));

    m_pClearButton = new QPushButton;
    m_pClearButton->setObjectName(QStringLiteral("SearchFilterDel"));
    m_pClearButton->setToolTip(tr("Clear"));
    m_pClearButton->setCursor(Qt::ArrowCursor);
    m_pClearButton->setMouseTracking(true);
    m_pClearButton->setFlat(true);
    m_pClearButton->setFixedSize(kClearButtonSide, kClearButtonSide);
    m_pClearButton->hide();

    auto* pLayout = new QHBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addStretch(1);
    pLayout->addWidget(m_pClearButton);
    setLayout(pLayout);

    auto* pClose = new QAction(QStringLiteral("Close"), this);
    pClose->setShortcut(QKeySequence(Qt::Key_Escape));
    // Only while the field has the focus: elsewhere in a dialog Escape
    // stays the dialog's and leaves the search text alone.
    pClose->setShortcutContext(Qt::WidgetShortcut);
    connect(pClose, SIGNAL(triggered()), this, SLOT(slotClearClicked()));
    addAction(pClose);

    connect(m_pClearButton, SIGNAL(clicked()), this, SLOT(slotClearClicked()));
    connect(this, SIGNAL(textChanged(const QString&)), this, SLOT(slotTextChanged(const QString&)));
}

void SearchFilter::slotTextChanged(const QString& strText)
{
    // isHidden, not isVisible: the field may not be shown yet, and the
    // button must follow the text all the same.
    if (m_pClearButton->isHidden())
        m_pClearButton->show();
    else if (strText.isEmpty())
        m_pClearButton->hide();
}

void SearchFilter::slotClearClicked()
{
    clear();
    m_pClearButton->hide();
}

void SearchFilter::paintEvent(QPaintEvent* pEvent)
{
    QLineEdit::paintEvent(pEvent);
    if (!text().isEmpty())
        return;
    QPainter painter(this);
    if (QApplication::focusWidget() != this) {
        painter.setPen(Qt::white);
        painter.drawText(rect().translated(kHintIndent, 0), Qt::AlignVCenter, tr("Search:"));
    }
    const int nW = width();
    const int nH = height();
    const QPixmap icon(QStringLiteral(":/pix/search.png"));
    if (!icon.isNull())
        painter.drawPixmap(QRect(nW - nH, 0, nH, nH),
                           icon.scaled(nH, nH, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace QMWidgets
