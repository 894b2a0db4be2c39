// Arbitrary configuration text, then a conversion under that configuration.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"

namespace {

const char Page[] =
    "<html><head><title>T</title></head><body><!-- DINCL DEVICE=\"A B WAP\" -->"
    "<h1>x</h1><!-- /DINCL --><p>a &amp; b<br><font size=2>c</font><center>d</center>"
    "<table><tr><td>1<td colspan=2>2</table><form action=x><input name=n>"
    "<input type=submit></form></body></html>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadConfigurationText(std::string(reinterpret_cast<const char*>(data), size));
    ConvertAndCheck(Page, nullptr);
    ConvertAndCheck(Page, "Handset1/2.0");
    ConvertAndCheck(Page, "A");
    LoadBuiltInConfiguration();
    return 0;
}
