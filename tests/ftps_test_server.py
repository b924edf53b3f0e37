#!/usr/bin/python3
"""Debian's vsftpd for the FTPS download tests: FTP with TLS required on the
control and every data connection, on 127.0.0.1 and a free port, with a
configuration of its own (never the system's). Needs root (vsftpd chroots
and drops to its "ftp" user).

Prints "PORT <n>" once it accepts connections, then serves until killed
(vsftpd goes with it).
  --dir DIR            the server's own folder (configuration, password list)
  --root DIR           the folder served; its "logs" folder may be written
  --cert FILE --key FILE
                       the server's certificate and key (PEM)
  --password P         the password the login "anonymous" needs
                       (vsftpd's list of accepted anonymous passwords)
  --no-tls             plain FTP only (a server that offers no TLS)
"""
import argparse
import os
import signal
import socket
import subprocess
import sys
import time

from server_process import die_with_parent, free_port

VSFTPD = "/usr/sbin/vsftpd"


def greets(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.5) as s:
            return s.recv(4).startswith(b"220")
    except OSError:
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--no-tls", action="store_true")
    args = parser.parse_args()

    # vsftpd's empty folder it chroots into for the parts without a login
    # (made by the package, but /run may have been emptied since).
    os.makedirs("/var/run/vsftpd/empty", mode=0o755, exist_ok=True)
    passwords = os.path.join(args.dir, "passwords")
    with open(passwords, "w") as f:
        f.write(args.password + "\n")
    # vsftpd serves as its "ftp" user from a root it may not write to.
    for path in (args.dir, args.root):
        os.chmod(path, 0o755)
    os.chmod(os.path.join(args.root, "logs"), 0o777)

    tls = "NO" if args.no_tls else "YES"
    for _ in range(20):  # another program may take the port between the look and the bind
        port = free_port()
        config = os.path.join(args.dir, "vsftpd.conf")
        with open(config, "w") as f:
            f.write(f"""listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port={port}
background=NO
anonymous_enable=YES
local_enable=NO
anon_root={args.root}
secure_email_list_enable=YES
email_password_file={passwords}
write_enable=YES
anon_upload_enable=NO
anon_mkdir_write_enable=NO
anon_other_write_enable=YES
ssl_enable={tls}
allow_anon_ssl=YES
force_anon_logins_ssl=YES
force_anon_data_ssl=YES
rsa_cert_file={args.cert}
rsa_private_key_file={args.key}
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
xferlog_enable=NO
syslog_enable=NO
hide_ids=YES
ftpd_banner=test server ready
""")
        server = subprocess.Popen([VSFTPD, config], preexec_fn=die_with_parent)
        deadline = time.time() + 5
        while server.poll() is None and not greets(port) and time.time() < deadline:
            time.sleep(0.02)
        if server.poll() is None and greets(port):
            print("PORT", port, flush=True)
            signal.signal(signal.SIGTERM, lambda *_: server.terminate())
            server.wait()
            return 0
        server.kill()
    return 1


if __name__ == "__main__":
    sys.exit(main())
