#include "Wait.h"

#include <QEventLoop>
#include <QTimer>

namespace MTools {

void wait(int milliseconds)
{
    QEventLoop loop;
    // A negative time would arm no timer and never end the loop.
    QTimer::singleShot(milliseconds > 0 ? milliseconds : 0, &loop, SLOT(quit()));
    loop.exec(QEventLoop::AllEvents);
}

}  // namespace MTools
