// What the client asks for and what the response is, read from header texts.
#ifndef QUORREL_APACHE_NEGOTIATION_H
#define QUORREL_APACHE_NEGOTIATION_H

#include <string>

namespace quorrel_apache {

// True when an Accept text names text/vnd.wap.wml and does not name text/html
// (a range with q=0 names nothing; wildcards such as */* do not count, since
// WAP gateways send one beside the WML types). A null text asks for nothing.
bool AcceptAsksForWml(const char* accept);

// True for text/html and application/xhtml+xml, with or without parameters.
bool IsHtmlType(const char* contentType);

// The charset parameter of a Content-Type text, or "" when it has none or it
// is not a plain token.
std::string CharsetOf(const char* contentType);

// The text itself when it is a non-empty run of letters, digits and "-_.:+"
// (safe to place in a header), or "" otherwise.
std::string PlainToken(const std::string& text);

}  // namespace quorrel_apache

#endif
