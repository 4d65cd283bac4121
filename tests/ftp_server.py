"""A real FTP server for the tests: serves one folder to one user on 127.0.0.1.

Prints "PORT <n>" once it listens. Options: --throttle BYTES (per second, on data
connections), --no-mlsd (a server that only knows NLST and LIST), --tls CERT KEY (explicit
TLS required on control and data connections), --mlsd-extra LINE (a line added to every MLSD
listing), --endless NAME (the MLSD listing of folder NAME never ends), --active-only (PASV and
EPSV refused, as behind a firewall that lets no data connection in), --log-tls (prints the
TLS version and cipher of each data connection to stderr). Names are passed
through as the bytes on disk, as a server that does not use UTF-8 does.
"""
import argparse
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class ExtendedProducer:
    """The server's own MLSD lines, then extra lines, or lines without end."""

    def __init__(self, inner, extra, endless):
        self.inner, self.extra, self.endless, self.counter = inner, extra, endless, 0

    def more(self):
        data = self.inner.more() if self.inner else b""
        if data:
            return data
        self.inner = None
        if self.extra:
            lines, self.extra = self.extra, []
            return b"".join(line.encode("utf-8") + b"\r\n" for line in lines)
        if self.endless:
            self.counter += 1
            return b"".join(b"type=file;size=1; plik%d-%d\r\n" % (self.counter, i) for i in range(2000))
        return b""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--user", default="tester")
    parser.add_argument("--password", default="sekret")
    parser.add_argument("--throttle", type=int, default=0)
    parser.add_argument("--no-mlsd", action="store_true")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--mlsd-extra", action="append", default=[])
    parser.add_argument("--endless")
    parser.add_argument("--log-tls", action="store_true")
    parser.add_argument("--active-only", action="store_true")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")

    base = FTPHandler
    if args.tls:
        from pyftpdlib.handlers import TLS_FTPHandler
        base = TLS_FTPHandler

    class Handler(base):
        def push_dtp_data(self, data, isproducer=False, file=None, cmd=None):
            if cmd == "MLSD":
                listed = getattr(self, "_listed", "") or ""
                endless = bool(args.endless) and os.path.basename(listed.rstrip("/")) == args.endless
                data = ExtendedProducer(data, list(args.mlsd_extra), endless)
                isproducer = True
            return super().push_dtp_data(data, isproducer=isproducer, file=file, cmd=cmd)

        def ftp_MLSD(self, path):
            self._listed = path
            return super().ftp_MLSD(path)

        def ftp_PASV(self, line):
            if args.active_only:
                return self.respond("502 Passive mode refused.")
            return super().ftp_PASV(line)

        def ftp_EPSV(self, line):
            if args.active_only:
                return self.respond("502 Passive mode refused.")
            return super().ftp_EPSV(line)

    Handler.authorizer = authorizer
    Handler.banner = "test server"
    Handler.unicode_errors = "surrogateescape"
    if args.tls:
        from pyftpdlib.handlers import TLS_DTPHandler

        class TlsData(TLS_DTPHandler):
            # A client may start the data connection's handshake before it sends the command
            # the connection is for; pyftpdlib would take that early data for a hang-up.
            def readable(self):
                return self._ssl_accepting or self._ssl_want_read or super().readable()

            def handle_ssl_established(self):
                if args.log_tls:
                    print("data %s %s" % (self.socket.get_protocol_version_name(), self.socket.get_cipher_name()),
                          file=sys.stderr, flush=True)
        Handler.dtp_handler = TlsData
        Handler.certfile = args.tls[0]
        Handler.keyfile = args.tls[1]
        Handler.tls_control_required = True
        Handler.tls_data_required = True
    if args.throttle:
        class Slow(ThrottledDTPHandler):
            read_limit = args.throttle
            write_limit = args.throttle
        Handler.dtp_handler = Slow
        if args.tls:
            class SlowTls(TlsData, Slow):
                pass
            Handler.dtp_handler = SlowTls
    if args.no_mlsd:
        Handler.proto_cmds = {k: v for k, v in base.proto_cmds.items() if k not in ("MLSD", "MLST")}

    server = FTPServer(("127.0.0.1", 0), Handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    sys.exit(main())
