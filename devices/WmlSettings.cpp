#include <cstring>

#include "devices/Xmldevice.h"

void CopyToField(char* field, int size, const char* value)
{
    if (size <= 0) return;
    if (value == nullptr) value = "";
    size_t length = strnlen(value, static_cast<size_t>(size - 1));
    memcpy(field, value, length);
    field[length] = '\0';
}

CWmlSettings::CWmlSettings()
    : Tables(1), FormBreakBefore(1), FormBreakAfter(1), DropComments(1), MaxDeckBytes(4 << 20),
      Repertoire(RepertoireAll)
{
    CopyToField(XmlVersion, "<?xml version=\"1.0\"?>");
    CopyToField(DocType,
                "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                "\"http://www.wapforum.org/DTD/wml_1.1.xml\">");
    CopyToField(TagReplace, "");
    CopyToField(TableLeadText, "");
    CopyToField(SubmitFormat, "%s");
    CopyToField(AmpReplace, ";");
}
