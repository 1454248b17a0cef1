// One request over libcurl (Linux).
#include <curl/curl.h>

#include <string>

#include "tools/web/request.h"

namespace {

struct Receiving {
  CURL* curl;
  std::string* body;
  size_t mostBytes;
  bool tooLarge;
  bool notWanted;
};

// Keeps the body of a successful answer as it arrives, decompressed, and
// stops the transfer when it grows past the limit; the body of any other
// answer (a redirect, an error) is not wanted, and its transfer stops at once.
size_t Keep(char* data, size_t size, size_t count, void* context) {
  Receiving* receiving = static_cast<Receiving*>(context);
  const size_t bytes = size * count;
  long status = 0;
  curl_easy_getinfo(receiving->curl, CURLINFO_RESPONSE_CODE, &status);
  if (!IsHttpSuccess(static_cast<int>(status))) {
    receiving->notWanted = true;
    return 0;
  }
  if (bytes > receiving->mostBytes - receiving->body->size()) {
    receiving->tooLarge = true;
    return 0;  // anything but `bytes` ends the transfer
  }
  receiving->body->append(data, bytes);
  return bytes;
}

FetchError ErrorOf(CURLcode code, CURL* curl, bool secure, const Receiving& receiving) {
  switch (code) {
    case CURLE_OK:
      return FetchError::kNone;
    case CURLE_COULDNT_RESOLVE_HOST:
      return FetchError::kUnknownHost;
    case CURLE_COULDNT_CONNECT:
      return FetchError::kCannotConnect;
    case CURLE_PEER_FAILED_VERIFICATION:
      return FetchError::kUntrusted;
    case CURLE_SSL_CONNECT_ERROR:
      return FetchError::kNoSecureConnection;
    case CURLE_WRITE_ERROR:
      return receiving.tooLarge    ? FetchError::kTooLarge
             : receiving.notWanted ? FetchError::kNone
                                   : FetchError::kOther;
    case CURLE_OPERATION_TIMEDOUT: {
      // Whether the connection, with its TLS handshake, had been made.
      curl_off_t connected = 0;
      curl_easy_getinfo(curl, secure ? CURLINFO_APPCONNECT_TIME_T : CURLINFO_CONNECT_TIME_T,
                        &connected);
      return connected > 0 ? FetchError::kTransferTimeout : FetchError::kConnectTimeout;
    }
    default:
      return FetchError::kOther;
  }
}

}  // namespace

Answer Request(const WebAddress& address, const RequestLimits& limits) {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  Answer answer;
  CURL* curl = ready ? curl_easy_init() : nullptr;
  if (curl == nullptr) {
    answer.error = FetchError::kOther;
    answer.code = "libcurl " + std::to_string(CURLE_FAILED_INIT);
    return answer;
  }
  const std::string url = WebAddressText(address);
  Receiving receiving = {curl, &answer.body, limits.mostBytes, false, false};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  // This scheme alone; redirects are followed by Fetch, which checks each.
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, address.secure ? "https" : "http");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!limits.certificateFile.empty()) {
    curl_easy_setopt(curl, CURLOPT_CAINFO, limits.certificateFile.c_str());
    curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
  }
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectMilliseconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.transferMilliseconds);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");  // every encoding libcurl decodes
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "vorlinde-agenda");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Keep);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &receiving);
  const CURLcode code = curl_easy_perform(curl);
  answer.error = ErrorOf(code, curl, address.secure, receiving);
  if (answer.error == FetchError::kOther) answer.code = "libcurl " + std::to_string(code);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  answer.status = static_cast<int>(status);
  curl_header* location = nullptr;
  if (curl_easy_header(curl, "Location", 0, CURLH_HEADER, -1, &location) == CURLHE_OK) {
    answer.location = location->value;
  }
  curl_easy_cleanup(curl);
  return answer;
}
