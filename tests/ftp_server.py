"""A real FTP server for the tests: serves one folder to one user on 127.0.0.1.

Prints "PORT <n>" once it listens. Options: --throttle BYTES (per second, on data
connections), --no-mlsd (a server that only knows NLST).
"""
import argparse
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--user", default="tester")
    parser.add_argument("--password", default="sekret")
    parser.add_argument("--throttle", type=int, default=0)
    parser.add_argument("--no-mlsd", action="store_true")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")

    class Handler(FTPHandler):
        pass

    Handler.authorizer = authorizer
    Handler.banner = "test server"
    if args.throttle:
        class Slow(ThrottledDTPHandler):
            read_limit = args.throttle
            write_limit = args.throttle
        Handler.dtp_handler = Slow
    if args.no_mlsd:
        Handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k not in ("MLSD", "MLST")}

    server = FTPServer(("127.0.0.1", 0), Handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
