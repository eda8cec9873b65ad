#!/usr/bin/env python3
"""A small HTTP/1.1 server on 127.0.0.1 for the downloader's tests and benchmark.

usage: rip_server.py FOLDER   (prints "PORT <n>" once it listens, serves until killed)

  /files/NAME    the file FOLDER/NAME with its length (404 when missing)
  /chunked/NAME  the same bytes sent chunked, without a length
  /stall/NAME    a length, half of the bytes, then nothing until the client gives up
  /redirect/NAME a 302 to /files/NAME
"""
import http.server
import os
import sys
import threading
import time


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body leave in one write: separate small writes meet delayed ACKs and cost
    # tens of milliseconds per request.
    wbufsize = 1 << 16

    def log_message(self, *args):
        pass

    def body_of(self, name):
        path = os.path.join(self.server.folder, os.path.basename(name))
        try:
            with open(path, "rb") as f:
                return f.read()
        except OSError:
            return None

    def do_GET(self):
        kind, _, name = self.path.lstrip("/").partition("/")
        if kind == "redirect":
            self.send_response(302)
            self.send_header("Location", "/files/" + name)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        body = self.body_of(name)
        if body is None or kind not in ("files", "chunked", "stall"):
            page = b"not here"
            self.send_response(404)
            self.send_header("Content-Length", str(len(page)))
            self.end_headers()
            self.wfile.write(page)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if kind == "chunked":
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for at in range(0, len(body), 1000):
                part = body[at:at + 1000]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(part), part))
            self.wfile.write(b"0\r\n\r\n")
            return
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if kind == "stall":
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            while not self.server.stopping:
                time.sleep(0.05)
            return
        self.wfile.write(body)


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.folder = sys.argv[1]
    server.stopping = False
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.stopping = True


if __name__ == "__main__":
    main()
