#!/usr/bin/env python3
"""A TLS front for a local plain-HTTP test server, for the tests of a server
whose certificate this computer does not trust (a self-signed one, made by
the test).

    dav-tls-front.py CERT KEY BACKEND_PORT

It listens on a free port of 127.0.0.1 only, prints that port on a line of
its own, and relays the bytes of each connection, once TLS is set up, to
127.0.0.1:BACKEND_PORT. CERT and KEY (PEM files) are read again for every
connection: writing another pair over them makes the same server show
another certificate. It runs until it is stopped.
"""
import socket
import ssl
import sys
import threading

CERT, KEY, BACKEND_PORT = sys.argv[1], sys.argv[2], int(sys.argv[3])


def pump(source, target):
    try:
        while True:
            data = source.recv(65536)
            if not data:
                break
            target.sendall(data)
    except OSError:
        pass
    try:
        target.shutdown(socket.SHUT_WR)
    except OSError:
        pass


def serve(client):
    client.settimeout(60)
    try:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(CERT, KEY)
        secure = context.wrap_socket(client, server_side=True)
    except (OSError, ssl.SSLError):
        # The client refused the certificate, or went away.
        client.close()
        return
    try:
        backend = socket.create_connection(("127.0.0.1", BACKEND_PORT), timeout=60)
    except OSError:
        secure.close()
        return
    answers = threading.Thread(target=pump, args=(backend, secure), daemon=True)
    answers.start()
    pump(secure, backend)
    answers.join()
    secure.close()
    backend.close()


listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", 0))
listener.listen(32)
print(listener.getsockname()[1], flush=True)
while True:
    connection, _ = listener.accept()
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
