#include "DropWidget.h"

#include "Os.h"

#include <QBoxLayout>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QIcon>
#include <QMetaType>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>

namespace QMWidgets {

namespace {

const QString kUriListFormat = QStringLiteral("text/uri-list");

} // namespace

DropWidget::DropWidget(QWidget *parent)
    : Label(parent)
{
    // Lets dropped() cross queued connections.
    qRegisterMetaType<QList<QUrl>>("QList<QUrl>");

    setAcceptDrops(true);
    setPixmap(QPixmap(QStringLiteral(":/droparea.png")));
    setObjectName(QStringLiteral("DropArea"));
    setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    setText(tr("<H1>Drop the photos here</H1>"));

    m_pOpenButton = new QPushButton(tr("Click to open the photos"));
    m_pOpenButton->setObjectName(QStringLiteral("PushButton"));
    m_pOpenButton->setIcon(QIcon(QPixmap(QStringLiteral(":/openfiles.png"))));
    m_pOpenButton->setFixedHeight(32);
    connect(m_pOpenButton, SIGNAL(clicked()), this, SLOT(slotOpenClicked()));

    auto *column = new QVBoxLayout;
    column->addStretch(1);
    column->addWidget(m_pOpenButton);
    auto *layout = new QHBoxLayout;
    layout->addLayout(column);
    setLayout(layout);
}

void DropWidget::setOpenMode(int mode)
{
    m_nOpenMode = mode;
}

void DropWidget::setButtonText(const QString &text)
{
    m_pOpenButton->setText(text);
}

void DropWidget::setLabelText(const QString &text)
{
    setText(text);
}

void DropWidget::hideButton()
{
    m_pOpenButton->hide();
}

void DropWidget::setHideOnDrop(bool hide)
{
    m_bHideOnDrop = hide;
}

QSize DropWidget::minimumSizeHint() const
{
    // QLabel measures only its text; the layout measures only the button.
    const QSize text = Label::minimumSizeHint();
    const QSize buttons = layout() ? layout()->minimumSize() : QSize(0, 0);
    return QSize(qMax(text.width(), buttons.width()), text.height() + buttons.height());
}

void DropWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData() && event->mimeData()->hasFormat(kUriListFormat))
        event->acceptProposedAction();
    QWidget::dragEnterEvent(event);
}

void DropWidget::dropEvent(QDropEvent *event)
{
    m_listUrls = event->mimeData() ? event->mimeData()->urls() : QList<QUrl>();
    // Left unaccepted on purpose: a source that saw a move accepted could
    // delete the user's files.
    QWidget::dropEvent(event);
    deliver(m_listUrls);
}

void DropWidget::slotOpenClicked()
{
    QStringList paths;
    if (m_nOpenMode != 0) {
        paths = Os::getOpenFileNames(this, tr("Open files"), QString(), QString(), nullptr,
                                     QFileDialog::Options());
    } else {
        const QString folder = QFileDialog::getExistingDirectory(this, tr("Open folder"),
                                                                 QString(),
                                                                 QFileDialog::ShowDirsOnly);
        if (!folder.isEmpty())
            paths << folder;
    }
    if (paths.isEmpty())
        return;

    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString &path : qAsConst(paths))
        urls << QUrl::fromLocalFile(path);
    m_listUrls = urls;
    deliver(m_listUrls);
}

// Receivers run while the area is still visible; hiding comes after.
void DropWidget::deliver(const QList<QUrl> &urls)
{
    emit dropped(urls);
    if (m_bHideOnDrop)
        hide();
}

} // namespace QMWidgets
