// One request over WinHTTP (Windows), a system DLL. Certificates are checked
// against the system's store only: the Windows program has no way to name
// certificates of its own.
#include <windows.h>
#include <winhttp.h>

#include <string>

#include "tools/encodings/encodings.h"
#include "tools/web/request.h"

namespace {

// Closes a WinHTTP handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HINTERNET handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr) WinHttpCloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

// The host and target are printable ASCII (ReadWebAddress made them so).
std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

FetchError ErrorOf(DWORD error, bool connecting, DWORD certificateFlags) {
  switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return FetchError::kUnknownHost;
    case ERROR_WINHTTP_CANNOT_CONNECT:
      return FetchError::kCannotConnect;
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // what Wine's WinHTTP gives when a read times out
      return connecting ? FetchError::kConnectTimeout : FetchError::kTransferTimeout;
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
      return FetchError::kUntrusted;
    // A failed handshake: the flags of the status callback tell a fault of
    // the certificate from others. (Wine gives the second error for a
    // certificate too, without calling the callback.)
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      return certificateFlags != 0 ? FetchError::kUntrusted : FetchError::kNoSecureConnection;
    default:
      return FetchError::kOther;
  }
}

bool SetNumber(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof value) != FALSE;
}

// A header of the answer as text, or empty when it has none.
std::wstring HeaderText(HINTERNET request, DWORD which) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return std::wstring();
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, &text[0], &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return std::wstring();
  }
  text.resize(size / sizeof(wchar_t));
  return text;
}

// One request, made on a thread of its own so that the caller can give up
// on it at the deadline whatever WinHTTP waits for. Both threads hold it;
// the last to let go frees it.
struct Exchange {
  WebAddress address;
  RequestLimits limits;
  ULONGLONG start;
  Answer answer;
  DWORD certificateFlags = 0;    // of a failed certificate check
  volatile LONG connecting = 1;  // until the connection is made
  volatile LONG holders = 2;
};

// Keeps what WinHTTP tells only to a status callback: the flags of a failed
// certificate check, and that the connection is made.
void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information,
                       DWORD length) {
  Exchange* exchange = reinterpret_cast<Exchange*>(context);
  if (exchange == nullptr) return;
  if (status == WINHTTP_CALLBACK_STATUS_CONNECTED_TO_SERVER) {
    InterlockedExchange(&exchange->connecting, 0);
  } else if (status == WINHTTP_CALLBACK_STATUS_SECURE_FAILURE && information != nullptr &&
             length >= sizeof(DWORD)) {
    exchange->certificateFlags = *static_cast<DWORD*>(information);
  }
}

void LetGo(Exchange* exchange) {
  if (InterlockedDecrement(&exchange->holders) == 0) delete exchange;
}

Answer Run(Exchange* exchange) {
  const WebAddress& address = exchange->address;
  const RequestLimits& limits = exchange->limits;
  const ULONGLONG start = exchange->start;
  Answer answer;
  bool connecting = true;
  const auto fail = [&](DWORD error) {
    answer.error = ErrorOf(error, connecting, exchange->certificateFlags);
    if (answer.error == FetchError::kOther) answer.code = "WinHTTP " + std::to_string(error);
    return answer;
  };
  const int connectMs = static_cast<int>(limits.connectMilliseconds);
  const int transferMs = static_cast<int>(limits.transferMilliseconds);
  Handle session(WinHttpOpen(L"vorlinde-agenda", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (session.get() == nullptr) return fail(GetLastError());
  WinHttpSetTimeouts(session.get(), connectMs, connectMs, transferMs, transferMs);
  Handle connection(WinHttpConnect(session.get(), Widened(address.host).c_str(),
                                   static_cast<INTERNET_PORT>(address.port), 0));
  if (connection.get() == nullptr) return fail(GetLastError());
  Handle request(WinHttpOpenRequest(connection.get(), L"GET", Widened(address.target).c_str(),
                                    nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                    address.secure ? WINHTTP_FLAG_SECURE : 0));
  if (request.get() == nullptr) return fail(GetLastError());
  // Redirects are followed by Fetch, which checks each; no Windows logon is
  // ever offered to a server.
  SetNumber(request.get(), WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
  SetNumber(request.get(), WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH);
  // gzip and deflate, from Windows 8.1 on; where the option is refused,
  // nothing compressed is asked for.
  SetNumber(request.get(), WINHTTP_OPTION_DECOMPRESSION, WINHTTP_DECOMPRESSION_FLAG_ALL);
  DWORD_PTR context = reinterpret_cast<DWORD_PTR>(exchange);
  WinHttpSetOption(request.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
  WinHttpSetStatusCallback(
      request.get(), OnStatus,
      WINHTTP_CALLBACK_FLAG_SECURE_FAILURE | WINHTTP_CALLBACK_FLAG_CONNECT_TO_SERVER, 0);
  // The transfer limit counts from the start and covers the wait for the
  // headers as well as the body. Request gives up at the deadline; so that
  // WinHTTP gives up too, before each step that waits its own timeouts are
  // set to the time left (WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT for the
  // headers among them), and the time is checked again after it.
  const auto timeLeft = [&]() -> DWORD {
    const ULONGLONG spent = GetTickCount64() - start;
    return spent >= static_cast<ULONGLONG>(transferMs) ? 0 : static_cast<DWORD>(transferMs - spent);
  };
  const auto boundByTimeLeft = [&]() {
    const DWORD left = timeLeft();
    if (left == 0) return false;
    const int leftMs = static_cast<int>(left);
    WinHttpSetTimeouts(request.get(), connectMs, connectMs < leftMs ? connectMs : leftMs, leftMs,
                       leftMs);
    SetNumber(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, left);
    return true;
  };
  if (!boundByTimeLeft()) return fail(ERROR_WINHTTP_TIMEOUT);
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                          0, 0, 0)) {
    return fail(GetLastError());
  }
  connecting = false;
  InterlockedExchange(&exchange->connecting, 0);
  if (!boundByTimeLeft()) return fail(ERROR_WINHTTP_TIMEOUT);
  if (!WinHttpReceiveResponse(request.get(), nullptr)) return fail(GetLastError());
  if (timeLeft() == 0) return fail(ERROR_WINHTTP_TIMEOUT);
  DWORD status = 0, size = sizeof status;
  WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
  answer.status = static_cast<int>(status);
  answer.location = WideToUtf8(HeaderText(request.get(), WINHTTP_QUERY_LOCATION));
  // The body of a redirect or an error is not wanted.
  if (!IsHttpSuccess(static_cast<int>(status))) return answer;
  const std::wstring length = HeaderText(request.get(), WINHTTP_QUERY_CONTENT_LENGTH);
  if (!length.empty() && wcstoull(length.c_str(), nullptr, 10) > limits.mostBytes) {
    answer.error = FetchError::kTooLarge;
    return answer;
  }
  std::string buffer(64 << 10, '\0');
  while (true) {
    const DWORD left = timeLeft();
    if (left == 0) return fail(ERROR_WINHTTP_TIMEOUT);
    SetNumber(request.get(), WINHTTP_OPTION_RECEIVE_TIMEOUT, left);
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), &buffer[0], static_cast<DWORD>(buffer.size()), &read)) {
      return fail(GetLastError());
    }
    if (read == 0) break;
    if (read > limits.mostBytes - answer.body.size()) {
      answer.error = FetchError::kTooLarge;
      return answer;
    }
    answer.body.append(buffer, 0, read);
  }
  return answer;
}

DWORD WINAPI RunOnThread(void* argument) {
  Exchange* exchange = static_cast<Exchange*>(argument);
  exchange->answer = Run(exchange);
  LetGo(exchange);
  return 0;
}

}  // namespace

// WinHTTP's own timeouts bound each wait alone, and some versions bound the
// wait for the headers read by read: a server that sends a header line now
// and then would hold a synchronous request for ever. The request runs on a
// thread of its own, and past the transfer limit it is left behind as timed
// out; the thread ends when WinHTTP gives up, or with the process.
Answer Request(const WebAddress& address, const RequestLimits& limits) {
  Exchange* exchange = new Exchange{address, limits, GetTickCount64(), Answer()};
  const HANDLE thread = CreateThread(nullptr, 0, RunOnThread, exchange, 0, nullptr);
  if (thread == nullptr) {
    // No thread to spare: the request is made here, bounded by WinHTTP alone.
    Answer answer = Run(exchange);
    delete exchange;
    return answer;
  }
  const DWORD waited = WaitForSingleObject(thread, static_cast<DWORD>(limits.transferMilliseconds));
  CloseHandle(thread);
  Answer answer;
  if (waited == WAIT_OBJECT_0) {
    answer = exchange->answer;
  } else {
    answer.error = InterlockedCompareExchange(&exchange->connecting, 0, 0) != 0
                       ? FetchError::kConnectTimeout
                       : FetchError::kTransferTimeout;
  }
  LetGo(exchange);
  return answer;
}
