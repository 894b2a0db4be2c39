// The filter has held back every byte of the page, so nothing has reached the
// client yet: the status and headers can still change here.
#include "Responses.h"

#include <cstring>

#include <apr_strings.h>
#include <http_log.h>
#include <http_protocol.h>
#include <http_request.h>

#include "ModuleConfig.h"

APLOG_USE_MODULE(quorrel);

namespace quorrel_apache {

namespace {

const char ErrorDeckStart[] =
    "<?xml version=\"1.0\"?>\r\n"
    "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
    "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n"
    "<wml>\r\n"
    "<card id=\"error\" title=\"Page unavailable\">\r\n"
    "<p>This page cannot be shown: ";
const char ErrorDeckEnd[] =
    ".</p>\r\n"
    "</card>\r\n"
    "</wml>\r\n";

void SetDeckType(request_rec* r, const std::string& charset)
{
    ap_set_content_type(r, apr_pstrcat(r->pool, "text/vnd.wap.wml; charset=", charset.c_str(), nullptr));
}

// Hands the deck's memory to a heap bucket, which frees it, and ends the stream.
apr_status_t PassDeck(ap_filter_t* f, apr_bucket_brigade* bb, Deck& deck)
{
    ap_set_content_length(f->r, static_cast<apr_off_t>(deck.Length));
    apr_bucket* text = apr_bucket_heap_create(deck.Text.get(), deck.Length, std::free, f->c->bucket_alloc);
    deck.Text.release();
    APR_BRIGADE_INSERT_TAIL(bb, text);
    APR_BRIGADE_INSERT_TAIL(bb, apr_bucket_eos_create(f->c->bucket_alloc));
    return ap_pass_brigade(f->next, bb);
}

apr_status_t PassEnd(ap_filter_t* f, apr_bucket_brigade* bb)
{
    APR_BRIGADE_INSERT_TAIL(bb, apr_bucket_eos_create(f->c->bucket_alloc));
    return ap_pass_brigade(f->next, bb);
}

void SetStatus(request_rec* r, int status)
{
    r->status = status;
    r->status_line = nullptr;
}

bool ErrorDeckText(const char* reason, Deck& deck)
{
    const size_t length = std::strlen(ErrorDeckStart) + std::strlen(reason) + std::strlen(ErrorDeckEnd);
    deck.Text.reset(static_cast<char*>(std::malloc(length + 1)));
    if (!deck.Text) return false;
    deck.Length = length;
    std::strcpy(deck.Text.get(), ErrorDeckStart);
    std::strcat(deck.Text.get(), reason);
    std::strcat(deck.Text.get(), ErrorDeckEnd);
    return true;
}

}  // namespace

void AddVary(request_rec* r)
{
    apr_table_mergen(r->headers_out, "Vary", "Accept, User-Agent");
}

apr_status_t SendDeck(ap_filter_t* f, apr_bucket_brigade* bb, Deck& deck, const std::string& pageCharset)
{
    request_rec* r = f->r;
    SetDeckType(r, DeckCharset(deck, pageCharset));
    apr_table_set(r->headers_out, "ETag", DeckTag(deck).c_str());
    if (r->status == HTTP_OK && ap_meets_conditions(r) == HTTP_NOT_MODIFIED) {
        SetStatus(r, HTTP_NOT_MODIFIED);
        apr_table_unset(r->headers_out, "Content-Length");
        return PassEnd(f, bb);
    }
    return PassDeck(f, bb, deck);
}

apr_status_t SendErrorDeck(ap_filter_t* f, apr_bucket_brigade* bb, const char* reason)
{
    request_rec* r = f->r;
    ap_log_rerror(APLOG_MARK, APLOG_ERR, 0, r, "quorrel: %s: %s", r->uri, reason);
    SetStatus(r, HTTP_BAD_GATEWAY);
    apr_table_unset(r->headers_out, "ETag");
    apr_table_unset(r->headers_out, "Last-Modified");
    SetDeckType(r, "utf-8");
    Deck deck;
    if (!ErrorDeckText(reason, deck)) return APR_ENOMEM;
    return PassDeck(f, bb, deck);
}

apr_status_t SendHeadersOnly(ap_filter_t* f, apr_bucket_brigade* bb, const std::string& pageCharset)
{
    request_rec* r = f->r;
    SetDeckType(r, pageCharset.empty() ? "utf-8" : pageCharset);
    apr_table_unset(r->headers_out, "Content-Length");
    apr_table_unset(r->headers_out, "ETag");
    return PassEnd(f, bb);
}

}  // namespace quorrel_apache
