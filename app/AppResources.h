#pragma once

// Registers the program's compiled-in pictures and style sheet (once). They
// live in a static library, whose resource object the linker would otherwise
// drop since nothing names it.
void ensureAppResources();
