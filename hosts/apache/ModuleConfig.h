// The module's directives and their per-directory settings.
#ifndef QUORREL_APACHE_MODULE_CONFIG_H
#define QUORREL_APACHE_MODULE_CONFIG_H

#include <httpd.h>
#include <http_config.h>

namespace quorrel_apache {

// One scope's settings (server, virtual host, directory or location). A flag
// or size left unset (-1) takes the enclosing scope's value.
struct DirectoryConfig {
    int Convert;
    int Force;
    apr_off_t MaxPage;
};

// The largest page converted when QuorrelMaxPage is not given: 1 MB.
constexpr apr_off_t DefaultMaxPage = 1024 * 1024;

void* CreateDirectoryConfig(apr_pool_t* pool, char* directory);
void* MergeDirectoryConfig(apr_pool_t* pool, void* parent, void* child);

// The settings in force for the request.
const DirectoryConfig& ConfigOf(const request_rec* r);

bool ConversionOn(const DirectoryConfig& config);
bool ForceOn(const DirectoryConfig& config);
apr_off_t MaxPageOf(const DirectoryConfig& config);

extern const command_rec Directives[];

}  // namespace quorrel_apache

// The record Apache looks up by name when it loads the module; the only
// symbol the module exports.
extern "C" __attribute__((visibility("default"))) module AP_MODULE_DECLARE_DATA quorrel_module;

#endif
