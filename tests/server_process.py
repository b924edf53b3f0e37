"""What the test-server scripts share: a free port on 127.0.0.1 and a
server process that ends with the script, however the script is ended."""

import ctypes
import signal
import socket


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def die_with_parent():
    """preexec_fn for a server: SIGTERM when the starting script dies."""
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG
