#!/usr/bin/env python3
"""A calendar server for the tests of fetching from web addresses: plain HTTP
and HTTPS on 127.0.0.1 only, each on a free port, in threads of the process
that starts it. Its certificate is made by openssl in a folder the caller
gives: a test CA (ca.pem), the server's certificate for 127.0.0.1 signed by
it, and a second CA (other-ca.pem) that signed nothing the server shows.

The server keeps each request as (scheme, path, whether the answer was
compressed) in `requests`. Every path starts with SECRET, and the tests add a query with a token, so
that a message naming more than the masked address is caught:

  /SECRET/calendar.ics   200, the calendar
  /SECRET/gzip.ics       200, the calendar, gzip-compressed when the client
                         accepts gzip
  /SECRET/missing        404      /SECRET/private  401      /SECRET/broken  500
  /SECRET/chain/N        N redirects (relative Locations) to the calendar
  /SECRET/loop           redirects to itself
  /SECRET/to-http        (HTTPS) redirects to the calendar on the HTTP port
  /SECRET/huge           200, 21 MiB without a length, streamed
  /SECRET/bomb           200, 21 MiB gzip-compressed to a few KiB when the
                         client accepts gzip, else as /SECRET/huge
  /SECRET/stall          200, the first line of a calendar, then nothing
  /SECRET/drip           200, its headers a line every quarter second for
                         DRIP_SECONDS, then the calendar: each read gets
                         bytes soon, the headers as a whole come late. Each
                         answer records in `drips` whether all its headers
                         were sent (True) or the client hung up before.

usage: calendar_server.py CALENDAR FOLDER
(serves until standard input closes, at most 10 minutes, and prints the two
ports: "http PORT https PORT")"""

import gzip
import http.server
import os
import ssl
import subprocess
import sys
import threading
import time

SECRET = "k7Qp2vSecretPath"
MiB = 1 << 20
HUGE = 21 * MiB
STALL_SECONDS = 20  # a stalled answer ends by itself after this
DRIP_SECONDS = 15  # how long "drip" takes to send its headers (a client
# that hangs up on time is seen within a quarter second)
SLOW_SECONDS = 1.5  # how long "slow.ics" takes to answer


def make_certificates(folder):
    """The test CA, the server's key and certificate, and the other CA."""
    def openssl(*args):
        subprocess.run(["openssl", *args], check=True, capture_output=True, cwd=folder)
    key = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    ca = ["-x509", "-days", "2", "-addext", "basicConstraints=critical,CA:TRUE",
          "-addext", "keyUsage=critical,keyCertSign,cRLSign"]
    openssl("req", *ca, *key, "-keyout", "ca.key", "-out", "ca.pem",
            "-subj", "/CN=Vorlinde test CA")
    openssl("req", *ca, *key, "-keyout", "other-ca.key", "-out", "other-ca.pem",
            "-subj", "/CN=Vorlinde other test CA")
    openssl("req", "-new", *key, "-keyout", "server.key", "-out", "server.csr",
            "-subj", "/CN=127.0.0.1")
    with open(os.path.join(folder, "server.ext"), "w") as f:
        f.write("basicConstraints=CA:FALSE\nsubjectAltName=IP:127.0.0.1\n"
                "extendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-CAcreateserial", "-days", "2", "-extfile", "server.ext", "-out", "server.pem")


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "calendar-server"

    def setup(self):
        # The TLS handshake, in this request's own thread.
        if isinstance(self.request, ssl.SSLSocket):
            self.request.do_handshake()
        super().setup()

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        if body is not None:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if body:
            self.wfile.write(body)

    def do_GET(self):
        calendars = self.server.calendars
        path = self.path.split("?")[0]
        gzip_accepted = "gzip" in self.headers.get("Accept-Encoding", "")
        compressed = gzip_accepted and path.endswith(("/gzip.ics", "/bomb"))
        calendars.requests.append((self.server.scheme, self.path, compressed))
        prefix = "/%s/" % SECRET
        if not path.startswith(prefix):
            return self.answer(404)
        name = path[len(prefix):]
        if name == "calendar.ics":
            self.answer(200, calendars.calendar, [("Content-Type", "text/calendar")])
        elif name == "slow.ics":
            # The calendar after a while; when each answer began and ended.
            began = time.monotonic()
            calendars.stopping.wait(SLOW_SECONDS)
            self.answer(200, calendars.calendar)
            calendars.slow.append((began, time.monotonic()))
        elif name == "gzip.ics" and compressed:
            self.answer(200, gzip.compress(calendars.calendar), [("Content-Encoding", "gzip")])
        elif name == "gzip.ics":
            self.answer(200, calendars.calendar)
        elif name in ("missing", "private", "broken"):
            status = {"missing": 404, "private": 401, "broken": 500}[name]
            extra = [("WWW-Authenticate", 'Basic realm="calendar"')] if status == 401 else []
            self.answer(status, b"no calendar here\n", extra)
        elif name.startswith("chain/") and name[6:].isdigit():
            left = int(name[6:])
            if left == 0:
                return self.answer(200, calendars.calendar)
            self.answer(302, headers=[("Location", str(left - 1))])
        elif name == "loop":
            self.answer(302, headers=[("Location", "loop?again")])
        elif name == "to-http":
            self.answer(302, headers=[("Location", "http://127.0.0.1:%d%scalendar.ics?via=https"
                                       % (calendars.http_port, prefix))])
        elif name == "bomb" and compressed:
            self.answer(200, calendars.bomb, [("Content-Encoding", "gzip")])
        elif name in ("huge", "bomb"):
            self.send_response(200)
            self.end_headers()
            block = b"X" * (64 << 10)
            try:
                for _ in range(HUGE // len(block)):
                    self.wfile.write(block)
            except OSError:  # the client stopped reading, as it should
                pass
        elif name == "stall":
            self.send_response(200)
            self.end_headers()
            self.wfile.write(b"BEGIN:VCALENDAR\r\n")
            self.wfile.flush()
            calendars.stopping.wait(STALL_SECONDS)
        elif name == "drip":
            sent = False
            try:
                self.send_response(200)
                for line in range(int(DRIP_SECONDS * 4)):
                    self.send_header("X-Drip-%d" % line, "x")
                    self.flush_headers()
                    if calendars.stopping.wait(0.25):
                        return
                self.send_header("Content-Type", "text/calendar")
                self.end_headers()
                sent = True
                self.wfile.write(calendars.calendar)
            except OSError:  # the client hung up, as it should in time
                pass
            finally:
                calendars.drips.append(sent)
        else:
            self.answer(404)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that refused the certificate, or went away


class CalendarServer:
    """Both servers, started by start() and stopped by stop()."""

    def __init__(self, calendar, folder):
        with open(calendar, "rb") as f:
            self.calendar = f.read()
        self.bomb = gzip.compress(b"\0" * HUGE)
        self.folder = folder
        self.requests = []
        self.slow = []
        self.drips = []
        self.stopping = threading.Event()
        self.servers = []

    def start(self):
        make_certificates(self.folder)
        plain = self.serve("http")
        self.http_port = plain.server_address[1]
        secure = self.serve("https")
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(self.folder, "server.pem"),
                                os.path.join(self.folder, "server.key"))
        secure.socket = context.wrap_socket(secure.socket, server_side=True,
                                            do_handshake_on_connect=False)
        self.https_port = secure.server_address[1]
        for server in self.servers:
            threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.1},
                             daemon=True).start()
        return self

    def serve(self, scheme):
        server = Server(("127.0.0.1", 0), Handler)
        server.calendars, server.scheme = self, scheme
        self.servers.append(server)
        return server

    def stop(self):
        self.stopping.set()
        for server in self.servers:
            server.shutdown()
            server.server_close()

    def address(self, scheme, name, query="token=hunter2"):
        port = self.https_port if scheme in ("https", "webcal") else self.http_port
        return "%s://127.0.0.1:%d/%s/%s?%s" % (scheme, port, SECRET, name, query)

    def __enter__(self):
        return self.start()

    def __exit__(self, *args):
        self.stop()


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-4], file=sys.stderr)
        return 2
    with CalendarServer(sys.argv[1], sys.argv[2]) as server:
        print("http %d https %d" % (server.http_port, server.https_port), flush=True)
        done = threading.Thread(target=sys.stdin.read, daemon=True)
        done.start()
        done.join(600)
    return 0


if __name__ == "__main__":
    sys.exit(main())
