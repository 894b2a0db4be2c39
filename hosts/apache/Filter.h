// The QUORREL output filter: an HTML response in, a WML deck out.
#ifndef QUORREL_APACHE_FILTER_H
#define QUORREL_APACHE_FILTER_H

#include <httpd.h>
#include <util_filter.h>

namespace quorrel_apache {

extern const char FilterName[];

// True when the request may get a deck: conversion is on and the client asks
// for WML, or QuorrelForce is on. Main requests only.
bool MayConvert(request_rec* r);

// A range of a deck must be cut from the whole deck, not the page: the Range
// and If-Range headers are set aside before the handler runs (so that a
// proxied origin sends the whole page) and put back when the filter starts.
void HoldBackRange(request_rec* r);

apr_status_t ConvertFilter(ap_filter_t* f, apr_bucket_brigade* bb);

}  // namespace quorrel_apache

#endif
