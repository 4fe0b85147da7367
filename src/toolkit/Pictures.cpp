#include "Pictures.h"

#include <QtGlobal>

static void initKestrixResources() { Q_INIT_RESOURCE(kestrix); }

void InitResources()
{
    static const bool done = (initKestrixResources(), true);
    (void)done;
}
