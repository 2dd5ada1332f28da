#!/usr/bin/env python3
"""Stand-in forum server for Tolvane's tests and demo (Python 3 standard library only).

Plays the member home pages and the avatar pictures on loopback, inside the tests' own network
namespace whose hosts file maps the forum and picture hosts to 127.0.0.1. The Host header is
ignored: every host name served here sees the same files.

Usage:
  python3 tools/forum_server.py (--root DIR | --demo) [--port 80]
                                [--tls-port 443 --cert FILE --key FILE]
                                [--record FILE] [--ready-file FILE] [--bind ADDRESS]

  --root DIR        serve files from DIR (see below).
  --demo            serve built-in sample members and pictures (may be combined with --root;
                    files under DIR then win). Members: "tolvane" (BMP avatar), "demo" (PNG
                    avatar), "百度" in GBK (bytes B0 D9 B6 C8; BMP avatar), "noavatar" (a page
                    without the avatar element). Their pages point to
                    http://tb.himg.baidu.com/demo/<name>.bmp|png.
  --port N          plain HTTP port (default 80; 0 picks a free port).
  --tls-port N      HTTPS port, with --cert and --key (PEM). Off unless given.
  --record FILE     append one JSON line per request:
                    {"raw": base64 of the request bytes up to the end of the headers,
                     "port": listening port, "tls": true|false}
  --ready-file F    written (with "PORT TLSPORT\\n") once every listener accepts connections.
  --bind ADDRESS    address to listen on (default 127.0.0.1).

Responses are HTTP/1.0: status line, Content-Type, Content-Length (unless a test path says
otherwise), "Connection: close"; the connection is closed after each response.

Paths:
  GET /home/main?un=NAME   NAME is %XX-decoded to raw bytes (other bytes kept as they came);
                           serves DIR/home/<lower-case hex of the name bytes>.html, else 404.
  GET /<path>              serves DIR/<path> (query ignored, %XX decoded, no ".." segments),
                           content type from the extension; else 404 with an HTML body.

Reserved test paths (query values are %XX-decoded):
  /test/echo               200, body = the raw request bytes up to the end of the headers.
  /test/connections        200, body = decimal number of connections accepted so far on all
                           listeners, this one included.
  /test/port               200, body = decimal number of the port the request came in on.
  /test/no-length?body=B   200, body B (default "no length body"), no Content-Length.
  /test/length-1           200, "Content-Length: 1", body "Z".
  /test/content-length?value=V&body=B
                           200, the header "Content-Length: V" exactly as given, then body B
                           (default "body"), then close.
  /test/broken-after/N     200, announces Content-Length 2N+10, sends N bytes of the
                           deterministic pattern, then closes the connection.
  /test/status/NNN         status NNN with a small HTML body naming the status.
  /test/redirect?to=URL    302 with "Location: URL".
  /test/big/N              200, Content-Length N, streams N bytes of the deterministic pattern
                           (byte i = (i * 7 + 3) mod 251) without holding them in memory.
  /test/big-no-length/N    the same without Content-Length.
"""

import argparse
import base64
import binascii
import json
import os
import socketserver
import ssl
import struct
import sys
import threading
import time
import zlib

PATTERN_PERIOD = 251


def pattern_bytes(start, count):
    """Bytes start..start+count-1 of the deterministic test body."""
    period = bytes((i * 7 + 3) % PATTERN_PERIOD for i in range(PATTERN_PERIOD))
    offset = start % PATTERN_PERIOD
    repeated = period[offset:] + period * (count // PATTERN_PERIOD + 2)
    return repeated[:count]


def percent_decode(data):
    """%XX escapes to bytes; everything else (raw bytes included) stays as it is."""
    out = bytearray()
    i = 0
    while i < len(data):
        if data[i:i + 1] == b"%" and _is_hex(data[i + 1:i + 3]):
            out.append(int(data[i + 1:i + 3], 16))
            i += 3
        else:
            out.append(data[i])
            i += 1
    return bytes(out)


def _is_hex(two):
    return len(two) == 2 and all(c in b"0123456789abcdefABCDEF" for c in two)


def parse_query(query):
    values = {}
    for pair in query.split(b"&"):
        if not pair:
            continue
        key, _, value = pair.partition(b"=")
        values[percent_decode(key).decode("latin-1")] = percent_decode(value)
    return values


CONTENT_TYPES = {
    ".html": "text/html", ".htm": "text/html", ".txt": "text/plain",
    ".jpg": "image/jpeg", ".jpeg": "image/jpeg", ".png": "image/png", ".gif": "image/gif",
    ".bmp": "image/bmp", ".ico": "image/x-icon", ".cur": "image/x-icon",
    ".pcx": "image/x-pcx",
}


# --- built-in demo content -------------------------------------------------------------------

def make_bmp(width, height, colour_of):
    """A bottom-up 24-bit BMP; colour_of(x, y) gives (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_of(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + bytes(rows)


def make_png(width, height, colour_of):
    """An 8-bit RGB PNG; colour_of(x, y) gives (r, g, b)."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(colour_of(x, y))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw)))
            + chunk(b"IEND", b""))


def demo_page(name_text, avatar_url):
    body = ("<html><head><title>%s</title></head><body><div class=\"userinfo\">"
            "<a href=\"/home/main?un=%s\" class=\"userinfo_head\"><img src=\"%s\"/></a>"
            "<span>%s</span></div></body></html>") % (name_text, name_text, avatar_url, name_text)
    return body


def demo_content():
    """(pages by hex name, files by path) for --demo."""
    def circle(x, y):
        inside = (x - 56) ** 2 + (y - 56) ** 2 < 48 ** 2
        return (230, 90, 40) if inside else (250, 240, 200)

    def stripes(x, y):
        return (40, 120 + (x * 2) % 120, 220) if (x // 14 + y // 14) % 2 else (255, 255, 255)

    def gradient(x, y):
        return (x * 2, y * 2, 160)

    files = {
        "/demo/tolvane.bmp": make_bmp(112, 112, circle),
        "/demo/demo.png": make_png(112, 112, stripes),
        "/demo/baidu.bmp": make_bmp(112, 112, gradient),
    }
    host = "http://tb.himg.baidu.com"
    pages = {}
    for name, picture in ((b"tolvane", "/demo/tolvane.bmp"), (b"demo", "/demo/demo.png"),
                          (b"\xb0\xd9\xb6\xc8", "/demo/baidu.bmp")):
        page = demo_page(name.decode("gbk"), host + picture)
        pages[binascii.hexlify(name).decode()] = page.encode("gbk")
    pages[binascii.hexlify(b"noavatar").decode()] = (
        b"<html><body><p>\xb8\xc3\xd3\xc3\xbb\xa7\xb2\xbb\xb4\xe6\xd4\xda</p></body></html>")
    return pages, files


# --- server ----------------------------------------------------------------------------------

class Forum:
    def __init__(self, root, demo, record):
        self.root = os.path.abspath(root) if root else None
        self.pages, self.files = demo_content() if demo else ({}, {})
        self.record_path = record
        self.lock = threading.Lock()
        self.connections = 0

    def count_connection(self):
        with self.lock:
            self.connections += 1
            return self.connections

    def record(self, raw, port, tls):
        if not self.record_path:
            return
        line = json.dumps({"raw": base64.b64encode(raw).decode(), "port": port, "tls": tls})
        with self.lock:
            with open(self.record_path, "a") as f:
                f.write(line + "\n")

    def read_file(self, relative):
        """Bytes of DIR/relative, or None."""
        if self.root is None:
            return None
        parts = [p for p in relative.split(b"/") if p]
        if any(p in (b".", b"..") for p in parts) or any(b"\\" in p or b"\0" in p for p in parts):
            return None
        path = os.path.join(os.fsencode(self.root), *parts) if parts else None
        if path is None or not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()


def not_found_page(target):
    return (b"<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1><p>"
            + target.replace(b"<", b"&lt;") + b"</p></body></html>")


class Handler(socketserver.BaseRequestHandler):
    forum = None  # set by serve()

    def setup(self):
        self.tls = getattr(self.server, "tls_context", None) is not None
        self.port = self.server.server_address[1]
        self.number = self.forum.count_connection()

    def handle(self):
        sock = self.request
        try:
            if self.tls:
                sock = self.server.tls_context.wrap_socket(sock, server_side=True)
            sock.settimeout(30)
            raw = self.read_head(sock)
            if raw is None:
                return
            self.forum.record(raw, self.port, self.tls)
            self.respond(sock, raw)
        except (OSError, ssl.SSLError):
            pass
        finally:
            try:
                sock.close()
            except OSError:
                pass

    @staticmethod
    def read_head(sock):
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = sock.recv(65536)
            if not chunk:
                return data or None
            data += chunk
            if len(data) > 1 << 20:
                break
        end = data.find(b"\r\n\r\n")
        return data[:end + 4] if end >= 0 else data

    def send(self, sock, status, body, content_type="text/html", length=True, extra=()):
        reason = {200: "OK", 302: "Found", 404: "Not Found"}.get(status, "Status")
        head = ["HTTP/1.0 %d %s" % (status, reason), "Content-Type: " + content_type]
        if length is True:
            head.append("Content-Length: %d" % len(body))
        elif length is not False:
            head.append("Content-Length: " + length)
        head.extend(extra)
        head.append("Connection: close")
        sock.sendall("\r\n".join(head).encode("latin-1") + b"\r\n\r\n" + body)

    def respond(self, sock, raw):
        request_line = raw.split(b"\r\n", 1)[0]
        fields = request_line.split(b" ")
        target = fields[1] if len(fields) >= 2 else b"/"
        path, _, query = target.partition(b"?")
        args = parse_query(query)

        if path == b"/home/main":
            name = args.get("un", b"")
            page = self.page_for(name)
            if page is None:
                self.send(sock, 404, not_found_page(target))
            else:
                self.send(sock, 200, page)
            return
        if path.startswith(b"/test/"):
            self.respond_test(sock, raw, path[len(b"/test/"):], args)
            return
        relative = percent_decode(path)
        content = self.forum.files.get(relative.decode("latin-1"))
        if content is None:
            content = self.forum.read_file(relative)
        if content is None:
            self.send(sock, 404, not_found_page(target))
            return
        extension = os.path.splitext(relative.decode("latin-1"))[1].lower()
        self.send(sock, 200, content, CONTENT_TYPES.get(extension, "application/octet-stream"))

    def page_for(self, name):
        key = binascii.hexlify(name).decode()
        page = self.forum.read_file(b"home/" + key.encode() + b".html")
        if page is None:
            page = self.forum.pages.get(key)
        return page

    def respond_test(self, sock, raw, what, args):
        if what == b"echo":
            self.send(sock, 200, raw, "application/octet-stream")
        elif what == b"connections":
            self.send(sock, 200, str(self.forum.connections).encode(), "text/plain")
        elif what == b"port":
            self.send(sock, 200, str(self.port).encode(), "text/plain")
        elif what == b"no-length":
            self.send(sock, 200, args.get("body", b"no length body"), "text/plain", length=False)
        elif what == b"length-1":
            self.send(sock, 200, b"Z", "text/plain")
        elif what == b"content-length":
            self.send(sock, 200, args.get("body", b"body"), "text/plain",
                      length=args.get("value", b"").decode("latin-1"))
        elif what.startswith(b"broken-after/"):
            count = int(what.split(b"/")[1])
            head = ("HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n"
                    "Content-Length: %d\r\n\r\n" % (2 * count + 10)).encode()
            sock.sendall(head + pattern_bytes(0, count))
            time.sleep(0.2)  # let the part arrive before the close cuts the body short
        elif what.startswith(b"status/"):
            status = int(what.split(b"/")[1])
            self.send(sock, status, b"<html><body>status %d</body></html>" % status)
        elif what == b"redirect":
            self.send(sock, 302, b"<html><body>moved</body></html>",
                      extra=["Location: " + args.get("to", b"/").decode("latin-1")])
        elif what.startswith(b"big/") or what.startswith(b"big-no-length/"):
            count = int(what.split(b"/")[1])
            head = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\n"
            if what.startswith(b"big/"):
                head += "Content-Length: %d\r\n" % count
            sock.sendall((head + "Connection: close\r\n\r\n").encode())
            sent = 0
            step = PATTERN_PERIOD * 1024
            block = pattern_bytes(0, step)
            while sent < count:
                take = min(step, count - sent)
                sock.sendall(block[:take])  # step is a whole number of periods
                sent += take
        else:
            self.send(sock, 404, not_found_page(b"/test/" + what))


class Server(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


def main():
    parser = argparse.ArgumentParser(description="Stand-in forum server for tests and demo.")
    parser.add_argument("--root")
    parser.add_argument("--demo", action="store_true")
    parser.add_argument("--port", type=int, default=80)
    parser.add_argument("--tls-port", type=int)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--record")
    parser.add_argument("--ready-file")
    parser.add_argument("--bind", default="127.0.0.1")
    options = parser.parse_args()
    if not options.root and not options.demo:
        parser.error("give --root DIR or --demo")
    if options.tls_port is not None and not (options.cert and options.key):
        parser.error("--tls-port needs --cert and --key")

    Handler.forum = Forum(options.root, options.demo, options.record)
    servers = [Server((options.bind, options.port), Handler)]
    if options.tls_port is not None:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(options.cert, options.key)
        tls_server = Server((options.bind, options.tls_port), Handler)
        tls_server.tls_context = context
        servers.append(tls_server)
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    if options.ready_file:
        ports = " ".join(str(s.server_address[1]) for s in servers)
        temporary = options.ready_file + ".tmp"
        with open(temporary, "w") as f:
            f.write(ports + "\n")
        os.replace(temporary, options.ready_file)
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
