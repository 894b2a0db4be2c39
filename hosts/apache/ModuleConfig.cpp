// QuorrelConvert, QuorrelForce and QuorrelMaxPage, settable in the server,
// a virtual host, <Directory> and <Location>.
#include "ModuleConfig.h"

#include <apr_strings.h>

namespace quorrel_apache {

namespace {

// The page is handed to the library with an int length and the deck may grow
// to many times the page, so sizes stay far below INT_MAX.
constexpr apr_off_t LargestMaxPage = 256 * 1024 * 1024;

DirectoryConfig* NewConfig(apr_pool_t* pool)
{
    auto* config = static_cast<DirectoryConfig*>(apr_pcalloc(pool, sizeof(DirectoryConfig)));
    config->Convert = -1;
    config->Force = -1;
    config->MaxPage = -1;
    return config;
}

template <typename Value>
Value Inherit(Value child, Value parent)
{
    return child != -1 ? child : parent;
}

const char* SetMaxPage(cmd_parms* command, void* scope, const char* argument)
{
    char* end = nullptr;
    apr_off_t bytes = 0;
    if (apr_strtoff(&bytes, argument, &end, 10) != APR_SUCCESS || *end != '\0' || bytes < 1 ||
        bytes > LargestMaxPage)
        return apr_psprintf(command->pool, "QuorrelMaxPage takes a number of bytes from 1 to %"
                            APR_OFF_T_FMT ", not '%s'", LargestMaxPage, argument);
    static_cast<DirectoryConfig*>(scope)->MaxPage = bytes;
    return nullptr;
}

// Directive handlers have different signatures; the table stores them as one
// pointer type, and void (*)() converts to and from any function pointer.
template <typename Handler>
cmd_func AsCommand(Handler handler)
{
    return reinterpret_cast<cmd_func>(reinterpret_cast<void (*)()>(handler));
}

}  // namespace

void* CreateDirectoryConfig(apr_pool_t* pool, char*)
{
    return NewConfig(pool);
}

void* MergeDirectoryConfig(apr_pool_t* pool, void* parentConfig, void* childConfig)
{
    const auto* parent = static_cast<const DirectoryConfig*>(parentConfig);
    const auto* child = static_cast<const DirectoryConfig*>(childConfig);
    DirectoryConfig* merged = NewConfig(pool);
    merged->Convert = Inherit(child->Convert, parent->Convert);
    merged->Force = Inherit(child->Force, parent->Force);
    merged->MaxPage = Inherit(child->MaxPage, parent->MaxPage);
    return merged;
}

const DirectoryConfig& ConfigOf(const request_rec* r)
{
    return *static_cast<const DirectoryConfig*>(
        ap_get_module_config(r->per_dir_config, &quorrel_module));
}

bool ConversionOn(const DirectoryConfig& config)
{
    return config.Convert == 1;
}

bool ForceOn(const DirectoryConfig& config)
{
    return config.Force == 1;
}

apr_off_t MaxPageOf(const DirectoryConfig& config)
{
    return config.MaxPage == -1 ? DefaultMaxPage : config.MaxPage;
}

const command_rec Directives[] = {
    AP_INIT_FLAG("QuorrelConvert", AsCommand(ap_set_flag_slot),
                 reinterpret_cast<void*>(APR_OFFSETOF(DirectoryConfig, Convert)),
                 RSRC_CONF | ACCESS_CONF, "On to turn HTML responses into WML decks for handsets"),
    AP_INIT_FLAG("QuorrelForce", AsCommand(ap_set_flag_slot),
                 reinterpret_cast<void*>(APR_OFFSETOF(DirectoryConfig, Force)),
                 RSRC_CONF | ACCESS_CONF,
                 "On to convert for every client, not only those that ask for WML"),
    AP_INIT_TAKE1("QuorrelMaxPage", AsCommand(SetMaxPage), nullptr, RSRC_CONF | ACCESS_CONF,
                  "the largest page in bytes that is converted (default 1048576)"),
    {nullptr, nullptr, nullptr, 0, RAW_ARGS, nullptr}};

}  // namespace quorrel_apache
