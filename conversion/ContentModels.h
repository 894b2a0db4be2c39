// Content models of the WML elements (conversion-private). A content list is
// one flag byte (1 when text is allowed) followed by a name list; an
// attribute list is a name list.
#pragma once

#include <cstdint>

#include "markup/ElementNames.h"

// A content list made ready for the filter: the flag, and the names as a set.
struct CContentList {
    // Converts from the list text, which outlives it.
    CContentList(const char* list)
        : TextAllowed(list[0] == 1), Names(list + 1), Number(NextListNumber())
    {
    }
    bool TextAllowed;
    CElementSet Names;
    // Tells the lists apart in the filter's memo of elements already judged.
    uint8_t Number;

private:
    static uint8_t NextListNumber();
};

struct CContentModel {
    CContentList Content;
    const char* Attributes;
    // Attributes an element must carry: a missing one is added with an empty value.
    const char* Required = "";
};

class CXmlNode;

// FilterElement with a model; returns the start tag.
CXmlNode* FilterElement(CXmlNode* node, const CContentModel& model);
// Only the attributes of the model, as FilterElement leaves them, on a start
// tag whose content stays as it is.
void KeepModelAttributes(CXmlNode* start, const CContentModel& model);

extern const CContentModel ModelWmlAtHtmlEnd;
extern const CContentModel ModelWmlFinal;
extern const CContentModel ModelCardAtEnd;
extern const CContentModel ModelCardFinal;
extern const CContentModel ModelDo;
extern const CContentModel ModelOnevent;
extern const CContentModel ModelHead;
extern const CContentModel ModelTemplate;
extern const CContentModel ModelAccess;
extern const CContentModel ModelMeta;
extern const CContentModel ModelGo;
extern const CContentModel ModelPrev;
extern const CContentModel ModelRefresh;
extern const CContentModel ModelNoop;
extern const CContentModel ModelPostfield;
extern const CContentModel ModelSetvar;
extern const CContentModel ModelTimer;
extern const CContentModel ModelImg;
extern const CContentModel ModelAnchor;
extern const CContentModel ModelA;
extern const CContentModel ModelSelect;
extern const CContentModel ModelOptgroup;
extern const CContentModel ModelOption;
extern const CContentModel ModelInput;
extern const CContentModel ModelFieldset;
extern const CContentModel ModelTable;
extern const CContentModel ModelTrAtEnd;
extern const CContentModel ModelTrAtStart;
extern const CContentModel ModelTd;
extern const CContentModel ModelTextStyle;
extern const CContentModel ModelBr;
extern const CContentModel ModelP;

// Content lists applied with FilterChildren alone.
extern const CContentList ContentTitle;
extern const CContentList ContentTextarea;
