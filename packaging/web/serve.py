#!/usr/bin/python3
"""Serves the web release on this machine only, as any static file server would.

    serve.py FOLDER [PORT]     PORT 8000 by default; 0 takes any free one
"""

import functools
import http.server
import sys


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder, port = argv[1], int(argv[2]) if len(argv) == 3 else 8000
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print("Open http://127.0.0.1:%d/ in a browser to play; Ctrl+C stops the server."
              % server.server_address[1], flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
