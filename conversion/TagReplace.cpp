#include "conversion/Conversion.h"

int ReplaceTag(CXmlNode* node, CDevice* device, CXmlNode* lastAdded)
{
    (void)node;
    (void)device;
    (void)lastAdded;
    return 0;
}
