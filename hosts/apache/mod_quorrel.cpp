// mod_quorrel: turns HTML responses into WML decks for WAP handsets. The
// filter is added to every request where QuorrelConvert is on; it decides on
// the response's first bytes whether to convert.
#include <httpd.h>
#include <http_config.h>
#include <http_request.h>

#include "Filter.h"
#include "ModuleConfig.h"

namespace {

using namespace quorrel_apache;

int HoldBackRangeForDecks(request_rec* r)
{
    if (MayConvert(r)) HoldBackRange(r);
    return DECLINED;
}

void InsertFilter(request_rec* r)
{
    if (ConversionOn(ConfigOf(r))) ap_add_output_filter(FilterName, nullptr, r, r->connection);
}

// After mod_deflate's INFLATE (one step earlier), before the byte-range and
// header filters.
void RegisterHooks(apr_pool_t*)
{
    ap_register_output_filter(FilterName, ConvertFilter, nullptr, AP_FTYPE_RESOURCE);
    ap_hook_fixups(HoldBackRangeForDecks, nullptr, nullptr, APR_HOOK_LAST);
    ap_hook_insert_filter(InsertFilter, nullptr, nullptr, APR_HOOK_MIDDLE);
}

}  // namespace

module AP_MODULE_DECLARE_DATA quorrel_module = {
    STANDARD20_MODULE_STUFF,
    CreateDirectoryConfig,
    MergeDirectoryConfig,
    nullptr,
    nullptr,
    Directives,
    RegisterHooks,
    0};
