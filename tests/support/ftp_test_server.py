"""The FTP server of the network tests: pyftpdlib on 127.0.0.1, on a port of its own choosing.

Every user sees the same served directory as "/", with the permissions given (pyftpdlib's letters:
"f" is rename, "d" delete, "w" store) and starts in the login directory given, so that relative
and absolute directories land in different places. With --stall, the data connection of the named
commands (STOR, RETR, NLST) is opened and then moves no byte, as a server that hangs does; a file
named after the command is created in the --marker directory when that happens.
"""

import argparse
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

STALLED = set()
MARKERS = None
LOGIN_DIRECTORIES = {}


def mark(command):
    if MARKERS:
        open(os.path.join(MARKERS, command), "w").close()


class StallingDTPHandler(DTPHandler):
    def enable_receiving(self, type, cmd):
        if cmd in STALLED:
            # Out of the loop, never read and never closed: the client's data backs up in the
            # connection, or all of it fits and the client waits for a reply that never comes.
            self._initialized = True
            self.del_channel()
            mark(cmd)
            return
        super().enable_receiving(type, cmd)


class TestHandler(FTPHandler):
    dtp_handler = StallingDTPHandler

    def on_login(self, username):
        self.fs.cwd = LOGIN_DIRECTORIES.get(username, "/")

    def push_dtp_data(self, data, isproducer=False, file=None, cmd=None):
        if cmd in STALLED and self.data_channel is not None:
            self.respond("125 Data connection already open. Transfer starting.")
            self._stalled_file = file  # kept open, never sent
            mark(cmd)
            return
        super().push_dtp_data(data, isproducer, file, cmd)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", action="append", default=[],
                        help="NAME:PASSWORD:PERMISSIONS[:LOGIN DIRECTORY]")
    parser.add_argument("--stall", default="")
    parser.add_argument("--marker")
    options = parser.parse_args()

    global MARKERS
    MARKERS = options.marker
    STALLED.update(c for c in options.stall.upper().split(",") if c)
    authorizer = DummyAuthorizer()
    for user in options.user:
        name, password, permissions, *login = user.split(":", 3)
        authorizer.add_user(name, password, options.root, perm=permissions)
        LOGIN_DIRECTORIES[name] = login[0] if login and login[0] else "/"
    TestHandler.authorizer = authorizer

    # Warnings only: nobody reads the output while a test runs, and a full pipe would stop the server.
    logging.basicConfig(level=logging.WARNING)
    server = FTPServer(("127.0.0.1", 0), TestHandler)
    print("listening on 127.0.0.1:%d" % server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
