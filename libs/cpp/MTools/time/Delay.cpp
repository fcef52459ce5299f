#include "Delay.h"

#include <QTimer>

namespace MTools {

Delay::Delay(QObject* /*parent*/)
    : QObject(nullptr)
{
}

Delay::~Delay() = default;

void Delay::waitFor(int milliseconds)
{
    QTimer::singleShot(milliseconds > 0 ? milliseconds : 0, this, SLOT(slotUnblock()));
    m_loop.exec(QEventLoop::AllEvents);
}

void Delay::slotUnblock()
{
    m_loop.exit(0);
}

}  // namespace MTools
