// What the filter sends in place of an HTML page: the deck, a 304, an error
// deck, or for a HEAD request without a body the headers alone.
#ifndef QUORREL_APACHE_RESPONSES_H
#define QUORREL_APACHE_RESPONSES_H

#include <string>

#include <httpd.h>
#include <util_filter.h>

#include "DeckConversion.h"

namespace quorrel_apache {

// Adds "Vary: Accept, User-Agent": an HTML response may become a deck, and
// which deck depends on the handset.
void AddVary(request_rec* r);

// Sends the deck with its type, charset, length and entity tag, or a 304 when
// the request's conditions hold for that tag. `bb` must be empty.
apr_status_t SendDeck(ap_filter_t* f, apr_bucket_brigade* bb, Deck& deck, const std::string& pageCharset);

// Logs `reason` and answers 502 with a small deck that gives it to the
// handset. `reason` is one of the module's own texts, without markup.
apr_status_t SendErrorDeck(ap_filter_t* f, apr_bucket_brigade* bb, const char* reason);

// The headers of a deck whose length and tag are unknown: for HEAD requests
// whose handler sends no body (a proxied HEAD).
apr_status_t SendHeadersOnly(ap_filter_t* f, apr_bucket_brigade* bb, const std::string& pageCharset);

}  // namespace quorrel_apache

#endif
