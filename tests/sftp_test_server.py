#!/usr/bin/python3
"""Debian's sshd for the SFTP download tests, on 127.0.0.1 and a free port.

Runs with a configuration, host key and authorized_keys of its own in --dir
(never the system's), in the foreground; prints "PORT <n>" once it accepts
connections, then serves until killed (sshd goes with it).
  --dir DIR               the server's own folder: sshd_config and host key
                          (made here with ssh-keygen when missing)
  --authorized-keys FILE  the public keys that may log in
  --hostile               the SFTP subsystem lists a file "dotdot-NAME"
                          as "../NAME" (a server that lies in its listing)
"""
import argparse
import os
import signal
import socket
import subprocess
import sys
import time

from server_process import die_with_parent, free_port

SSHD = "/usr/sbin/sshd"
SFTP_SERVER = "/usr/lib/openssh/sftp-server"


def accepts(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.2) as s:
            if not s.recv(4).startswith(b"SSH-"):
                return False
            s.sendall(b"SSH-2.0-probe\r\n")  # so sshd logs no broken exchange
            return True
    except OSError:
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--authorized-keys", required=True)
    parser.add_argument("--hostile", action="store_true")
    args = parser.parse_args()

    host_key = os.path.join(args.dir, "ssh_host_ed25519_key")
    if not os.path.exists(host_key):
        subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", host_key], check=True)
    if os.geteuid() == 0:
        os.makedirs("/run/sshd", mode=0o755, exist_ok=True)  # sshd's privilege separation
    subsystem = SFTP_SERVER
    if args.hostile:
        subsystem = "/usr/bin/python3 " + os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                       "hostile_sftp_server.py")

    for _ in range(20):  # another program may take the port between the look and sshd's bind
        port = free_port()
        config = os.path.join(args.dir, "sshd_config")
        with open(config, "w") as f:
            f.write(f"""Port {port}
ListenAddress 127.0.0.1
HostKey {host_key}
PidFile none
AuthorizedKeysFile {os.path.abspath(args.authorized_keys)}
StrictModes no
UsePAM no
PermitRootLogin yes
PubkeyAuthentication yes
PasswordAuthentication yes
KbdInteractiveAuthentication no
MaxAuthTries 10
LogLevel ERROR
Subsystem sftp {subsystem}
""")
        sshd = subprocess.Popen([SSHD, "-D", "-e", "-f", config], preexec_fn=die_with_parent)
        while sshd.poll() is None and not accepts(port):
            time.sleep(0.02)
        if sshd.poll() is None:
            print("PORT", port, flush=True)
            signal.signal(signal.SIGTERM, lambda *_: sshd.terminate())
            sshd.wait()
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
