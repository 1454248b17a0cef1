// Inside tools/web/: a web address read into its parts, where a redirect
// leads, and the one request each platform file makes.
#pragma once

#include <stddef.h>

#include <string>

#include "tools/web/web.h"

struct WebAddress {
  bool secure = true;  // https (webcal is https), else http
  std::string host;    // lower case; an IPv6 address keeps its brackets
  int port = 443;
  std::string target;  // the path from "/" and the query; printable ASCII only
};

// Reads an https, http or webcal address. False for any other scheme, an
// empty host, a user name or password before the host (not supported), a
// port out of range, or blanks and control characters; other bytes beyond
// ASCII in the path or query are percent-escaped, and a fragment is dropped.
bool ReadWebAddress(const std::string& address, WebAddress* parts);

// "scheme://host:port/target" as the request asks for it.
std::string WebAddressText(const WebAddress& address);

// Where a redirect's Location leads from `base`: an absolute address as it
// is, a relative one resolved against `base` (dot segments removed).
std::string RedirectTarget(const WebAddress& base, const std::string& location);

struct RequestLimits {
  long connectMilliseconds;
  long transferMilliseconds;  // for this request, what is left of the fetch's time
  size_t mostBytes;
  std::string certificateFile;  // empty for the system's store
};

struct Answer {
  FetchError error = FetchError::kNone;  // kNone when the server answered
  int status = 0;
  std::string location;  // the Location header, as sent
  std::string body;
  std::string code;  // for kOther: the platform's error, as "libcurl 35"
};

// One GET of `address`, redirects not followed, the certificate checked
// (web_curl.cpp, web_windows.cpp).
Answer Request(const WebAddress& address, const RequestLimits& limits);
