// The filter holds back the whole body of an HTML page, converts it when the
// stream ends, and sends the deck in its place. Everything after that, and
// everything after a refusal, is dropped.
#include "Filter.h"

#include <string>

#include <apr_strings.h>
#include <http_log.h>
#include <http_protocol.h>

#include "DeckConversion.h"
#include "ModuleConfig.h"
#include "Negotiation.h"
#include "Responses.h"

APLOG_USE_MODULE(quorrel);

namespace quorrel_apache {

const char FilterName[] = "QUORREL";

namespace {

const char* const HeldBackHeaders[] = {"Range", "If-Range"};
const char NotePrefix[] = "quorrel-held-";

struct FilterState {
    std::string Page;
    std::string PageCharset;
    apr_off_t MaxPage = 0;
    bool Finished = false;
};

apr_status_t DeleteState(void* state)
{
    delete static_cast<FilterState*>(state);
    return APR_SUCCESS;
}

void RestoreRange(request_rec* r)
{
    for (const char* name : HeldBackHeaders) {
        const char* note = apr_pstrcat(r->pool, NotePrefix, name, nullptr);
        if (const char* value = apr_table_get(r->notes, note)) {
            apr_table_setn(r->headers_in, name, value);
            apr_table_unset(r->notes, note);
        }
    }
}

bool ResponseIsPage(const request_rec* r)
{
    return r->status != HTTP_NO_CONTENT && r->status != HTTP_NOT_MODIFIED && IsHtmlType(r->content_type);
}

apr_off_t AnnouncedLength(const request_rec* r)
{
    const char* text = apr_table_get(r->headers_out, "Content-Length");
    apr_off_t length = -1;
    char* end = nullptr;
    if (text == nullptr || apr_strtoff(&length, text, &end, 10) != APR_SUCCESS || *end != '\0') return -1;
    return length;
}

bool Compressed(const request_rec* r)
{
    const char* encoding = apr_table_get(r->headers_out, "Content-Encoding");
    return encoding != nullptr && strcasecmp(encoding, "identity") != 0;
}

apr_status_t Refuse(ap_filter_t* f, apr_bucket_brigade* bb, FilterState& state, const char* reason)
{
    state.Finished = true;
    state.Page = std::string();
    apr_brigade_cleanup(bb);
    return SendErrorDeck(f, bb, reason);
}

const char* TooLarge(const request_rec* r, const FilterState& state)
{
    return apr_psprintf(r->pool, "the page is larger than %" APR_OFF_T_FMT " bytes", state.MaxPage);
}

// Called on the first brigade of a page that will be converted; refusals that
// the headers already decide are made here.
FilterState* Start(ap_filter_t* f)
{
    request_rec* r = f->r;
    auto* state = new FilterState;
    apr_pool_cleanup_register(r->pool, state, DeleteState, apr_pool_cleanup_null);
    state->PageCharset = CharsetOf(r->content_type);
    state->MaxPage = MaxPageOf(ConfigOf(r));
    const apr_off_t announced = AnnouncedLength(r);
    if (announced > 0 && announced <= state->MaxPage) state->Page.reserve(static_cast<size_t>(announced));
    f->ctx = state;
    return state;
}

const char* RefusalByHeaders(const request_rec* r, const FilterState& state)
{
    if (Compressed(r)) return "the page arrived compressed (add SetOutputFilter INFLATE)";
    if (AnnouncedLength(r) > state.MaxPage) return TooLarge(r, state);
    return nullptr;
}

apr_status_t Finish(ap_filter_t* f, apr_bucket_brigade* bb, FilterState& state)
{
    request_rec* r = f->r;
    state.Finished = true;
    apr_brigade_cleanup(bb);
    if (state.Page.empty() && r->header_only) return SendHeadersOnly(f, bb, state.PageCharset);
    Deck deck;
    if (!ConvertPage(state.Page, apr_table_get(r->headers_in, "User-Agent"), deck))
        return Refuse(f, bb, state, "the page could not be converted");
    state.Page = std::string();
    return SendDeck(f, bb, deck, state.PageCharset);
}

// Appends the brigade's data to the page; the end of the stream finishes it.
apr_status_t Collect(ap_filter_t* f, apr_bucket_brigade* bb, FilterState& state)
{
    for (apr_bucket* b = APR_BRIGADE_FIRST(bb); b != APR_BRIGADE_SENTINEL(bb); b = APR_BUCKET_NEXT(b)) {
        if (APR_BUCKET_IS_EOS(b)) return Finish(f, bb, state);
        if (AP_BUCKET_IS_ERROR(b)) return Refuse(f, bb, state, "the page did not arrive whole");
        if (APR_BUCKET_IS_METADATA(b)) continue;
        const char* data = nullptr;
        apr_size_t length = 0;
        const apr_status_t status = apr_bucket_read(b, &data, &length, APR_BLOCK_READ);
        if (status != APR_SUCCESS) {
            ap_log_rerror(APLOG_MARK, APLOG_ERR, status, f->r, "quorrel: %s: reading the page", f->r->uri);
            return status;
        }
        if (static_cast<apr_off_t>(state.Page.size() + length) > state.MaxPage)
            return Refuse(f, bb, state, TooLarge(f->r, state));
        state.Page.append(data, length);
    }
    apr_brigade_cleanup(bb);
    return APR_SUCCESS;
}

}  // namespace

bool MayConvert(request_rec* r)
{
    const DirectoryConfig& config = ConfigOf(r);
    return r->main == nullptr && ConversionOn(config) &&
           (ForceOn(config) || AcceptAsksForWml(apr_table_get(r->headers_in, "Accept")));
}

void HoldBackRange(request_rec* r)
{
    for (const char* name : HeldBackHeaders) {
        if (const char* value = apr_table_get(r->headers_in, name)) {
            apr_table_setn(r->notes, apr_pstrcat(r->pool, NotePrefix, name, nullptr), value);
            apr_table_unset(r->headers_in, name);
        }
    }
}

apr_status_t ConvertFilter(ap_filter_t* f, apr_bucket_brigade* bb)
{
    auto* state = static_cast<FilterState*>(f->ctx);
    if (state == nullptr) {
        request_rec* r = f->r;
        RestoreRange(r);
        if (r->main != nullptr || !ResponseIsPage(r)) {
            ap_remove_output_filter(f);
            return ap_pass_brigade(f->next, bb);
        }
        AddVary(r);
        if (!MayConvert(r)) {
            ap_remove_output_filter(f);
            return ap_pass_brigade(f->next, bb);
        }
        state = Start(f);
        if (const char* reason = RefusalByHeaders(r, *state)) return Refuse(f, bb, *state, reason);
    }
    if (state->Finished) {
        apr_brigade_cleanup(bb);
        return APR_SUCCESS;
    }
    return Collect(f, bb, *state);
}

}  // namespace quorrel_apache
