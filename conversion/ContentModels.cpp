#include "conversion/ContentModels.h"

#include <atomic>

// Flag bytes: "\x01" text allowed, "\x00" not. The flag stands in a literal
// of its own so that no name letter joins the escape.
#define TEXT "\x01"
#define NO_TEXT "\x00"
#define INLINE "em\0strong\0b\0i\0u\0big\0small\0br\0img\0anchor\0a\0"
#define FLOW INLINE "table\0input\0select\0fieldset\0do\0"
// "lang" of a page reaches these elements as "xml:lang" (see FilterElement).
#define CORE "xml:lang\0id\0class\0"
#define ID_CLASS "id\0class\0"

// Numbers 1 to 255; later lists get 0, which the memo never matches, so they
// are judged afresh each time. The lists are made as the library starts, but
// a list made during conversions on several threads still gets a number of
// its own.
uint8_t CContentList::NextListNumber()
{
    static std::atomic<unsigned> made{0};
    unsigned last = made.load();
    while (last < UINT8_MAX && !made.compare_exchange_weak(last, last + 1)) {
    }
    return last < UINT8_MAX ? static_cast<uint8_t>(last + 1) : 0;
}

const CContentModel ModelWmlAtHtmlEnd = {
    TEXT FLOW "onevent\0timer\0p\0head\0template\0card\0", CORE};
const CContentModel ModelWmlFinal = {NO_TEXT "head\0template\0card\0", CORE};
const CContentModel ModelCardAtEnd = {TEXT FLOW "onevent\0timer\0p\0card\0",
                                      "title\0newcontext\0ordered\0" CORE};
const CContentModel ModelCardFinal = {NO_TEXT "onevent\0timer\0do\0p\0",
                                      "title\0newcontext\0ordered\0" CORE};
const CContentModel ModelDo = {NO_TEXT "go\0prev\0noop\0refresh\0",
                               "type\0label\0name\0optional\0" CORE};
const CContentModel ModelOnevent = {NO_TEXT "go\0prev\0noop\0refresh\0", "type\0id\0class\0", "type\0"};
const CContentModel ModelHead = {NO_TEXT "access\0meta\0", "id\0class\0"};
const CContentModel ModelTemplate = {NO_TEXT "do\0onevent\0",
                                     "onenterforward\0onenterbackward\0ontimer\0id\0class\0"};
const CContentModel ModelAccess = {NO_TEXT "", "domain\0path\0id\0class\0"};
const CContentModel ModelMeta = {NO_TEXT "",
                                 "http-equiv\0name\0forua\0content\0scheme\0id\0class\0"};
const CContentModel ModelGo = {NO_TEXT "postfield\0setvar\0",
                               "href\0sendreferer\0method\0accept-charset\0id\0class\0"};
const CContentModel ModelPrev = {NO_TEXT "setvar\0", "id\0class\0"};
const CContentModel ModelRefresh = {NO_TEXT "setvar\0", "id\0class\0"};
const CContentModel ModelNoop = {NO_TEXT "", "id\0class\0"};
const CContentModel ModelPostfield = {NO_TEXT "", "name\0value\0id\0class\0", "name\0value\0"};
const CContentModel ModelSetvar = {NO_TEXT "", "name\0value\0id\0class\0", "name\0value\0"};
const CContentModel ModelTimer = {NO_TEXT "", "name\0value\0id\0class\0", "value\0"};
const CContentModel ModelImg = {
    NO_TEXT "", "alt\0src\0localsrc\0vspace\0hspace\0align\0height\0width\0" CORE};
const CContentModel ModelAnchor = {TEXT "br\0img\0go\0prev\0refresh\0", "title\0" CORE};
const CContentModel ModelA = {TEXT "br\0img\0", "href\0title\0" CORE};
const CContentModel ModelSelect = {
    NO_TEXT "optgroup\0option\0",
    "title\0name\0value\0iname\0ivalue\0multiple\0tabindex\0" CORE};
const CContentModel ModelOptgroup = {NO_TEXT "optgroup\0option\0", "title\0" CORE};
const CContentModel ModelOption = {TEXT "onevent\0", "value\0title\0onpick\0" CORE};
const CContentModel ModelInput = {
    TEXT "", "name\0type\0value\0format\0emptyok\0size\0maxlength\0tabindex\0title\0" CORE,
    "name\0"};
const CContentModel ModelFieldset = {TEXT FLOW, "title\0" CORE};
const CContentModel ModelTable = {NO_TEXT "tr\0", "title\0align\0columns\0" CORE};
const CContentModel ModelTrAtEnd = {NO_TEXT "td\0", "id\0class\0"};
const CContentModel ModelTrAtStart = {NO_TEXT "td\0th\0", "id\0class\0"};
const CContentModel ModelTd = {TEXT INLINE, CORE};
const CContentModel ModelTextStyle = {TEXT INLINE "table\0", CORE};
// A line break has no language of its own.
const CContentModel ModelBr = {TEXT INLINE "table\0", ID_CLASS};
const CContentModel ModelP = {TEXT FLOW, "align\0mode\0" CORE};

const CContentList ContentTitle = TEXT "";
const CContentList ContentTextarea = TEXT "";
