#pragma once

namespace QMWidgets {

// Registers the note editor's compiled-in pictures (notes.qrc: tool cursors,
// thickness icons, the preview's glass). A static library's resources are
// only linked in when something refers to them, so every class that loads
// one of them calls this first; repeated calls do nothing more.
void initNoteResources();

}  // namespace QMWidgets
