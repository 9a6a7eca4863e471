"""Serves one directory on 127.0.0.1, every .htm page as text/html; charset=utf-8,
as a web server that declares UTF-8 would. Prints the port, then serves until
killed or for at most 300 seconds.

    serve.py DIR
"""

import functools
import http.server
import sys
import threading


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {".htm": "text/html; charset=utf-8", "": "application/octet-stream"}

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Handler, directory=sys.argv[1]))
    print(server.server_address[1], flush=True)
    threading.Timer(300, server.shutdown).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
