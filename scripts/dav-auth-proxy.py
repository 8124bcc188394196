#!/usr/bin/env python3
"""A small reverse proxy that asks for HTTP Basic sign-in in front of a local
WebDAV server without sign-in of its own (Xandikos in the tests).

    dav-auth-proxy.py LISTEN_PORT BACKEND_PORT USER PASSWORD

It listens on 127.0.0.1 only and forwards every request, body and headers, to
127.0.0.1:BACKEND_PORT once the Authorization header carries USER:PASSWORD;
otherwise it answers 401 with WWW-Authenticate: Basic.
"""
import base64
import http.client
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

LISTEN_PORT, BACKEND_PORT = int(sys.argv[1]), int(sys.argv[2])
EXPECTED = "Basic " + base64.b64encode(f"{sys.argv[3]}:{sys.argv[4]}".encode()).decode()
HOP_BY_HOP = {"connection", "keep-alive", "transfer-encoding", "te", "upgrade",
              "proxy-authorization", "proxy-authenticate", "trailer", "content-length"}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def relay(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else None
        if self.headers.get("Authorization") != EXPECTED:
            text = b"Sign-in required\n"
            self.send_response(401)
            self.send_header("WWW-Authenticate", 'Basic realm="Tandor test"')
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(text)))
            self.end_headers()
            self.wfile.write(text)
            return
        headers = {k: v for k, v in self.headers.items()
                   if k.lower() not in HOP_BY_HOP and k.lower() != "authorization"}
        conn = http.client.HTTPConnection("127.0.0.1", BACKEND_PORT, timeout=60)
        try:
            conn.request(self.command, self.path, body=body, headers=headers)
            answer = conn.getresponse()
            data = answer.read()
        finally:
            conn.close()
        self.send_response(answer.status, answer.reason)
        for k, v in answer.getheaders():
            if k.lower() not in HOP_BY_HOP:
                self.send_header(k, v)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(data)


for method in ("GET", "HEAD", "PUT", "POST", "DELETE", "OPTIONS", "PROPFIND", "PROPPATCH",
               "REPORT", "MKCOL", "MKCALENDAR", "MOVE", "COPY"):
    setattr(Handler, "do_" + method, Handler.relay)

ThreadingHTTPServer(("127.0.0.1", LISTEN_PORT), Handler).serve_forever()
