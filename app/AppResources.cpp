#include "AppResources.h"

#include <QtGlobal>

static void registerAppResources()
{
    Q_INIT_RESOURCE(app);
}

void ensureAppResources()
{
    static const bool registered = (registerAppResources(), true);
    Q_UNUSED(registered);
}
