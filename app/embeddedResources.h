#ifndef EMBEDDEDRESOURCES_H
#define EMBEDDEDRESOURCES_H

// Makes sure the embedded icons and style-sheet images are registered. The
// resources sit in a static library, whose linker drops an unreferenced
// resource object together with its start-up registration; calling this from
// a class that shows icons keeps it. Safe to call any number of times.
void initEmbeddedResources();

#endif // EMBEDDEDRESOURCES_H
