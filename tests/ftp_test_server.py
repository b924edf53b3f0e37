#!/usr/bin/python3
"""A real FTP server for the download tests, on 127.0.0.1 and a free port.

Prints "PORT <n>" once it listens, then serves until killed.
  --root DIR             the folder served (read and write)
  --user U --password P  the only account (default: anonymous)
  --hostile              NLST also lists names that would leave the folder
  --die-after BYTES      the server process dies once that many bytes of
                         file data have been sent (a transfer cut off)
  --mute                 accept connections but never answer (time-outs)
"""
import argparse
import logging
import os
import socket
import sys
import time
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password", default="")
    parser.add_argument("--hostile", action="store_true")
    parser.add_argument("--die-after", type=int, default=0)
    parser.add_argument("--mute", action="store_true")
    args = parser.parse_args()
    logging.basicConfig(level=logging.WARNING)
    warnings.filterwarnings("ignore", "write permissions assigned to anonymous user")

    if args.mute:
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        print("PORT", listener.getsockname()[1], flush=True)
        while True:
            time.sleep(3600)

    authorizer = DummyAuthorizer()
    if args.user:
        authorizer.add_user(args.user, args.password, args.root, perm="elradfmw")
    else:
        authorizer.add_anonymous(args.root, perm="elradfmw")

    class Handler(FTPHandler):
        use_sendfile = False

        def ftp_NLST(self, path):
            if not args.hostile:
                return super().ftp_NLST(path)
            names = sorted(os.listdir(self.fs.ftp2fs(self.fs.cwd)))
            names += ["../escape.log", "sub/inner.log", "..", "back\\slash.log", ""]
            data = "".join(name + "\r\n" for name in names).encode("utf8")
            self.push_dtp_data(data, cmd="NLST")
            return path

    class DyingDTP(DTPHandler):
        sent = 0

        def send(self, data):
            n = super().send(data)
            DyingDTP.sent += n
            if args.die_after and DyingDTP.sent >= args.die_after:
                os._exit(3)
            return n

    Handler.authorizer = authorizer
    Handler.dtp_handler = DyingDTP
    Handler.banner = "test server ready"
    Handler.auth_failed_timeout = 0.1
    server = FTPServer(("127.0.0.1", 0), Handler)
    print("PORT", server.address[1], flush=True)
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    sys.exit(main())
