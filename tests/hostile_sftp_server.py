#!/usr/bin/python3
"""The SFTP subsystem of a lying server: runs OpenSSH's sftp-server and
passes everything through, except that in directory listings a file named
"dotdot-NAME" is listed as "../NAME". Used by sftp_test_server.py --hostile."""
import struct
import subprocess
import sys

SSH_FXP_NAME = 104


def read_exactly(stream, n):
    data = b""
    while len(data) < n:
        chunk = stream.read(n - len(data))
        if not chunk:
            return None
        data += chunk
    return data


def rewrite_names(body):
    out = bytearray(body[:9])  # type, id, count
    count = struct.unpack(">I", body[5:9])[0]
    pos = 9
    for _ in range(count):
        n = struct.unpack(">I", body[pos:pos + 4])[0]
        name = body[pos + 4:pos + 4 + n]
        pos += 4 + n
        if name.startswith(b"dotdot-"):
            name = b"../" + name[len(b"dotdot-"):]
        out += struct.pack(">I", len(name)) + name
        start = pos
        n = struct.unpack(">I", body[pos:pos + 4])[0]  # long name
        pos += 4 + n
        flags = struct.unpack(">I", body[pos:pos + 4])[0]
        pos += 4
        pos += 8 if flags & 1 else 0
        pos += 8 if flags & 2 else 0
        pos += 4 if flags & 4 else 0
        pos += 8 if flags & 8 else 0
        if flags & 0x80000000:
            extended = struct.unpack(">I", body[pos:pos + 4])[0]
            pos += 4
            for _ in range(2 * extended):
                pos += 4 + struct.unpack(">I", body[pos:pos + 4])[0]
        out += body[start:pos]
    return bytes(out + body[pos:])


def main():
    server = subprocess.Popen(["/usr/lib/openssh/sftp-server"], stdout=subprocess.PIPE)
    source, sink = server.stdout, sys.stdout.buffer
    while True:
        header = read_exactly(source, 4)
        if header is None:
            break
        body = read_exactly(source, struct.unpack(">I", header)[0])
        if body is None:
            break
        if body[0] == SSH_FXP_NAME:
            body = rewrite_names(body)
        sink.write(struct.pack(">I", len(body)) + body)
        sink.flush()
    return server.wait()


if __name__ == "__main__":
    sys.exit(main())
