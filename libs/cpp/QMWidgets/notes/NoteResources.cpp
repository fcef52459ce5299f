#include "NoteResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be used
// inside the library's namespace.
static void registerNoteResources()
{
    Q_INIT_RESOURCE(notes);
}

namespace QMWidgets {

void initNoteResources()
{
    static const bool s_bDone = (registerNoteResources(), true);
    Q_UNUSED(s_bDone);
}

}  // namespace QMWidgets
