#include "tools/web/web.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "tools/strings/strings.h"
#include "tools/web/request.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A digit, a lower-case ASCII letter, or what a host name holds besides.
bool IsHostCharacter(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || c == '-' || c == '.' || c == '_';
}

// Reads "host[:port]" (the host possibly "[IPv6]"): false when it is not one.
bool ReadHostAndPort(const std::string& authority, std::string* host, int* port) {
  const std::string lowered = AsciiLower(authority);
  size_t end = 0;
  if (!lowered.empty() && lowered[0] == '[') {
    end = lowered.find(']');
    if (end == std::string::npos || end == 1) return false;
    for (size_t i = 1; i < end; ++i) {
      const char c = lowered[i];
      if (!IsDigit(c) && !(c >= 'a' && c <= 'f') && c != ':' && c != '.') return false;
    }
    ++end;
  } else {
    while (end < lowered.size() && IsHostCharacter(lowered[end])) ++end;
    if (end == 0) return false;
  }
  *host = lowered.substr(0, end);
  if (end == authority.size()) return true;
  if (authority[end] != ':') return false;
  const std::string digits = authority.substr(end + 1);
  if (digits.empty()) return true;  // "host:" is the scheme's own port
  if (digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), IsDigit)) return false;
  *port = atoi(digits.c_str());
  return *port >= 1 && *port <= 65535;
}

// The path with its "." and ".." segments worked out; it starts with "/".
std::string WithoutDotSegments(const std::string& path) {
  std::vector<std::string> segments;
  size_t start = 1;
  while (true) {
    const size_t slash = path.find('/', start);
    const bool last = slash == std::string::npos;
    const std::string segment = path.substr(start, last ? std::string::npos : slash - start);
    if (segment == "." || segment == "..") {
      if (segment == ".." && !segments.empty()) segments.pop_back();
      if (last) segments.push_back("");
    } else {
      segments.push_back(segment);
    }
    if (last) break;
    start = slash + 1;
  }
  std::string out;
  for (const std::string& segment : segments) out += "/" + segment;
  return out.empty() ? "/" : out;
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

bool IsHttpSuccess(int status) { return status >= 200 && status <= 299; }

bool IsWebAddress(const std::string& source) {
  return StartsWithIgnoringAsciiCase(source, "https://") ||
         StartsWithIgnoringAsciiCase(source, "http://") ||
         StartsWithIgnoringAsciiCase(source, "webcal://");
}

std::string MaskedAddress(const std::string& address) {
  const size_t colon = address.find("://");
  if (colon == std::string::npos) return "...";
  const size_t start = colon + 3;
  const size_t end = std::min(address.find_first_of("/?#\\", start), address.size());
  std::string authority = address.substr(start, end - start);
  authority.erase(0, authority.find_last_of('@') + 1);  // a user name and password
  const std::string scheme = AsciiLower(address.substr(0, colon)) + "://";
  std::string host;
  int port = 0;
  if (!ReadHostAndPort(authority, &host, &port)) return scheme + "...";
  const size_t portAt = host.size() + 1;
  return scheme + host + (portAt < authority.size() ? ":" + authority.substr(portAt) : "") +
         (end < address.size() ? "/..." : "");
}

bool ReadWebAddress(const std::string& address, WebAddress* parts) {
  if (!IsWebAddress(address)) return false;
  parts->secure = !StartsWithIgnoringAsciiCase(address, "http://");
  parts->port = parts->secure ? 443 : 80;
  const size_t start = address.find("://") + 3;
  const size_t end = std::min(address.find_first_of("/?#", start), address.size());
  if (!ReadHostAndPort(address.substr(start, end - start), &parts->host, &parts->port)) {
    return false;
  }
  std::string rest = address.substr(end, address.find('#', end) - end);
  if (rest.empty() || rest[0] == '?') rest.insert(0, "/");
  parts->target.clear();
  static const char kHex[] = "0123456789ABCDEF";
  for (const char c : rest) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7f) return false;
    if (byte < 0x80) {
      parts->target += c;
    } else {
      parts->target += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return true;
}

std::string WebAddressText(const WebAddress& address) {
  return std::string(address.secure ? "https://" : "http://") + address.host + ":" +
         std::to_string(address.port) + address.target;
}

std::string RedirectTarget(const WebAddress& base, const std::string& location) {
  const size_t first = location.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const std::string to = location.substr(first, location.find_last_not_of(" \t") + 1 - first);
  // An absolute address: a scheme before any "/", "?" or "#".
  const size_t colon = to.find(':');
  if (colon != std::string::npos && colon < to.find_first_of("/?#")) return to;
  const std::string scheme = base.secure ? "https:" : "http:";
  if (to.compare(0, 2, "//") == 0) return scheme + to;
  const std::string origin = scheme + "//" + base.host + ":" + std::to_string(base.port);
  const std::string basePath = base.target.substr(0, base.target.find('?'));
  const size_t queryAt = std::min(to.find_first_of("?#"), to.size());
  const std::string path = to.substr(0, queryAt), query = to.substr(queryAt);
  if (path.empty())
    return origin + (query.empty() || query[0] == '#' ? base.target : basePath + query);
  if (path[0] == '/') return origin + WithoutDotSegments(path) + query;
  return origin + WithoutDotSegments(basePath.substr(0, basePath.rfind('/') + 1) + path) + query;
}

FetchLimits FetchLimitsWithin(int seconds) {
  FetchLimits limits;
  if (seconds > 0) {
    limits.connectSeconds = std::min(limits.connectSeconds, seconds);
    limits.transferSeconds = std::min(limits.transferSeconds, seconds);
  }
  return limits;
}

namespace {

// The number or code a message about `result`'s error names.
std::string Detail(const FetchResult& result, const FetchLimits& limits, const std::string& code) {
  switch (result.error) {
    case FetchError::kConnectTimeout:
      return std::to_string(limits.connectSeconds);
    case FetchError::kTransferTimeout:
      return std::to_string(limits.transferSeconds);
    case FetchError::kTooLarge:
      return std::to_string(limits.mostBytes >> 20);
    case FetchError::kHttpStatus:
      return std::to_string(result.status);
    case FetchError::kTooManyRedirects:
      return std::to_string(limits.mostRedirects);
    default:
      return code;
  }
}

// Follows the redirects of `address` from request to request.
FetchResult Follow(const std::string& address, const FetchLimits& limits, std::string* code) {
  using Clock = std::chrono::steady_clock;
  FetchResult result;
  WebAddress current;
  if (!ReadWebAddress(address, &current)) {
    result.error = FetchError::kBadAddress;
    return result;
  }
  const Clock::time_point start = Clock::now();
  for (int redirects = 0;; ++redirects) {
    const long spent = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    const long left = limits.transferSeconds * 1000L - spent;
    if (left <= 0) {
      result.error = FetchError::kTransferTimeout;
      return result;
    }
    Answer answer = Request(current, {std::min(limits.connectSeconds * 1000L, left), left,
                                      limits.mostBytes, limits.certificateFile});
    result.status = answer.status;
    result.error = answer.error;
    *code = answer.code;
    if (answer.error != FetchError::kNone) return result;
    if (IsRedirect(answer.status) && !answer.location.empty()) {
      WebAddress next;
      if (redirects == limits.mostRedirects) {
        result.error = FetchError::kTooManyRedirects;
      } else if (!ReadWebAddress(RedirectTarget(current, answer.location), &next)) {
        result.error = FetchError::kBadRedirect;
      } else if (current.secure && !next.secure) {
        result.error = FetchError::kInsecureRedirect;
      } else {
        current = next;
        continue;
      }
      return result;
    }
    if (!IsHttpSuccess(answer.status)) {
      result.error = FetchError::kHttpStatus;
      return result;
    }
    result.body = std::move(answer.body);
    return result;
  }
}

}  // namespace

FetchResult Fetch(const std::string& address, const FetchLimits& limits) {
  std::string code;
  FetchResult result = Follow(address, limits, &code);
  result.detail = Detail(result, limits, code);
  return result;
}
