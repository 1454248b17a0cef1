// Fetching a calendar from a web address for the agenda tool: https, http and
// webcal (taken as https), with the certificate always checked, a bounded
// number of redirects that never go from https to http, and limits on time
// and size. web.cpp holds what is the same everywhere (reading addresses,
// following redirects); one file per platform makes a single request:
// web_curl.cpp (Linux, libcurl), web_windows.cpp (WinHTTP).
#pragma once

#include <stddef.h>

#include <string>

// Whether `source` is meant as a web address rather than a file name: it
// starts with https://, http:// or webcal:// in any case.
bool IsWebAddress(const std::string& source);

// The address as messages and the agenda file show it: the scheme, host and
// port alone, then "/..." when anything follows. Calendar services put the key
// to a private calendar in the path or the query, and a user name and
// password may stand before the host; none of that is ever shown. An
// address whose host part cannot be read shows as "scheme://...". The dots
// are ASCII so that the address reads the same in every code page the
// Windows program may write in.
std::string MaskedAddress(const std::string& address);

struct FetchLimits {
  int connectSeconds = 15;      // to have a connection (and its TLS handshake)
  int transferSeconds = 60;     // for the whole fetch, redirects included
  size_t mostBytes = 20 << 20;  // of the body, as it is after decompression
  int mostRedirects = 5;        // redirects followed
  std::string certificateFile;  // PEM certificates to trust instead of the system's
};

// The limits above with both time limits lowered to at most `seconds` when
// it is above 0, as tests ask for. (certificateFile is read on Linux alone:
// the Windows program always uses the system's store.)
FetchLimits FetchLimitsWithin(int seconds);

enum class FetchError {
  kNone,
  kBadAddress,          // not an address that can be fetched
  kBadRedirect,         // redirected to an address that is not http or https, or unreadable
  kUnknownHost,         // the host name is not known
  kCannotConnect,       // no connection could be made
  kConnectTimeout,      // no connection within connectSeconds
  kTransferTimeout,     // the fetch did not end within transferSeconds
  kTooLarge,            // the body is larger than mostBytes
  kHttpStatus,          // the server answered with a status other than success
  kTooManyRedirects,    // more than mostRedirects redirects
  kInsecureRedirect,    // redirected from https to http
  kUntrusted,           // the server's certificate is not trusted for its name
  kNoSecureConnection,  // the TLS handshake failed for another reason, or one not told
  kOther,               // something else failed: `detail` says what
};

// Whether an HTTP status says the request succeeded: 200 to 299.
bool IsHttpSuccess(int status);

struct FetchResult {
  FetchError error = FetchError::kNone;
  int status = 0;  // the HTTP status of the last answer, when there was one
  // What a message about the error names: the seconds of the time limit
  // that was reached, the MiB of the size limit, the HTTP status, the most
  // redirects, or for kOther the platform's error (as "libcurl 35").
  std::string detail;
  std::string body;  // the calendar, when error is kNone
};

// Fetches `address` (UTF-8; an address of any scheme IsWebAddress accepts).
FetchResult Fetch(const std::string& address, const FetchLimits& limits);
