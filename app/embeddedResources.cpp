#include "app/embeddedResources.h"

#include <QtGlobal>

void initEmbeddedResources()
{
    Q_INIT_RESOURCE(resources);
}
