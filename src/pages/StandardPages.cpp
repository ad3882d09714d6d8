#include "pages/StandardPages.h"

#include "framework/PageRegistry.h"

void registerStandardPages()
{
}
