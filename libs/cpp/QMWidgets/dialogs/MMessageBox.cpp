#include "MMessageBox.h"

#include "WidgetFunctions.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

namespace QMWidgets {

namespace {

struct ButtonSpec
{
    int bit;
    const char *text;   // translated in the context "QMWidgets::MMessageBox"
    const char *slot;
};

// Placement order, left to right: "No" stands before "Yes".
const ButtonSpec kButtons[] = {
    { QMessageBox::Ok,       QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "Ok"),     SLOT(slotOk()) },
    { QMessageBox::Cancel,   QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "Cancel"), SLOT(slotCancel()) },
    { QMessageBox::No,       QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "No"),     SLOT(slotNo()) },
    { QMessageBox::Yes,      QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "Yes"),    SLOT(slotYes()) },
    { QMessageBox::Abort,    QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "Abort"),  SLOT(slotAbort()) },
    { QMessageBox::Retry,    QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "Retry"),  SLOT(slotRetry()) },
    { QMessageBox::Ignore,   QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "Ignore"), SLOT(slotIgnore()) },
    { QMessageBox::YesToAll, QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "YesAll"), SLOT(slotYesAll()) },
    { QMessageBox::NoToAll,  QT_TRANSLATE_NOOP("QMWidgets::MMessageBox", "NoAll"),  SLOT(slotNoAll()) },
};

} // namespace

MMessageBox::MMessageBox(int iconKind, const QString &title, const QString &text, int buttons,
                         QWidget *parent, const QString &userDefinedText)
    : QDialog(parent)
{
    setMinimumSize(300, 200);
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(title);

    m_pTextLabel = new QLabel;
    m_pIconLabel = new QLabel;
    m_pTextLabel->setWordWrap(true);
    m_pTextLabel->setText(text);

    const QPixmap icon = iconPixmap(iconKind);
    m_pIconLabel->setFixedSize(icon.width() + 5, icon.height() + 5);
    m_pIconLabel->setPixmap(icon);

    QBoxLayout *buttonRow = newButtonRowLayout();
    buttonRow->setContentsMargins(1, 1, 1, 1);
    buttonRow->setSpacing(3);
    buttonRow->addStretch(1);

    auto addButton = [&](const QString &label, const char *slot) {
        auto *button = new QPushButton(label);
        buttonRow->addWidget(button);
        connect(button, SIGNAL(clicked()), this, slot);
        makeFlatPushButton(button);
    };
    for (const ButtonSpec &spec : kButtons) {
        if (buttons & spec.bit)
            addButton(tr(spec.text), spec.slot);
    }
    if (!userDefinedText.isEmpty())
        addButton(userDefinedText, SLOT(slotUserDefined()));
    buttonRow->addStretch(1);

    auto *topRow = new QHBoxLayout;
    topRow->setContentsMargins(1, 1, 1, 1);
    topRow->setSpacing(1);
    topRow->addWidget(m_pIconLabel);
    topRow->addWidget(m_pTextLabel);

    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(5);
    layout->addLayout(topRow);
    layout->addLayout(buttonRow);
    setLayout(layout);
}

QPixmap MMessageBox::iconPixmap(int iconKind)
{
    QStyle::StandardPixmap which;
    switch (iconKind) {
    case 1: which = QStyle::SP_MessageBoxInformation; break;
    case 2: which = QStyle::SP_MessageBoxWarning; break;
    case 3: which = QStyle::SP_MessageBoxCritical; break;
    case 4: which = QStyle::SP_MessageBoxQuestion; break;
    default: return QPixmap();
    }
    return QApplication::style()->standardPixmap(which);
}

int MMessageBox::run(int iconKind, QWidget *parent, const QString &title, const QString &text,
                     int buttons)
{
    MMessageBox box(iconKind, title, text, buttons, parent);
    return box.exec();
}

int MMessageBox::information(QWidget *parent, const QString &title, const QString &text,
                             int buttons)
{
    return run(1, parent, title, text, buttons);
}

int MMessageBox::warning(QWidget *parent, const QString &title, const QString &text,
                         int buttons)
{
    return run(2, parent, title, text, buttons);
}

int MMessageBox::critical(QWidget *parent, const QString &title, const QString &text,
                          int buttons)
{
    return run(3, parent, title, text, buttons);
}

int MMessageBox::question(QWidget *parent, const QString &title, const QString &text,
                          int buttons)
{
    return run(4, parent, title, text, buttons);
}

void MMessageBox::slotOk() { done(QMessageBox::Ok); }
void MMessageBox::slotCancel() { done(QMessageBox::Cancel); }
void MMessageBox::slotYes() { done(QMessageBox::Yes); }
void MMessageBox::slotNo() { done(QMessageBox::No); }
void MMessageBox::slotAbort() { done(QMessageBox::Abort); }
void MMessageBox::slotRetry() { done(QMessageBox::Retry); }
void MMessageBox::slotIgnore() { done(QMessageBox::Ignore); }
void MMessageBox::slotYesAll() { done(QMessageBox::YesToAll); }
void MMessageBox::slotNoAll() { done(QMessageBox::NoToAll); }
void MMessageBox::slotUserDefined() { done(UserDefinedCode); }

} // namespace QMWidgets

