#!/usr/bin/env python3
"""A small threaded DNS server on 127.0.0.1 for the resolver's tests and
benchmark. Answers PTR queries for the addresses it is given, NXDOMAIN for
all others, and never answers the "silent" ones; each answer after a chosen
delay. Prints "PORT n" once listening and appends every query name it
receives to --queries (one line each)."""

import argparse
import ipaddress
import socketserver
import sys
import threading
import time

from dnslib import PTR, QTYPE, RCODE, RR, DNSRecord


def ptr_name(address):
    return ipaddress.ip_address(address).reverse_pointer + "."


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--answer", action="append", default=[],
                        help="ADDRESS=NAME, answered with a PTR record")
    parser.add_argument("--answer-file", help="lines of ADDRESS NAME")
    parser.add_argument("--silent", action="append", default=[],
                        help="ADDRESS that never gets an answer")
    parser.add_argument("--delay-ms", type=float, default=0)
    parser.add_argument("--queries", help="file that gets every query name")
    args = parser.parse_args()

    names = {}
    for pair in args.answer:
        address, name = pair.split("=", 1)
        names[ptr_name(address)] = name
    if args.answer_file:
        with open(args.answer_file) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 2:
                    names[ptr_name(parts[0])] = parts[1]
    silent = {ptr_name(a) for a in args.silent}
    log = open(args.queries, "a", buffering=1) if args.queries else None
    log_lock = threading.Lock()

    class Handler(socketserver.BaseRequestHandler):
        def handle(self):
            data, sock = self.request
            try:
                request = DNSRecord.parse(data)
            except Exception:
                return
            qname = str(request.q.qname).lower()
            if log:
                with log_lock:
                    log.write(qname + "\n")
            if qname in silent:
                return
            if args.delay_ms:
                time.sleep(args.delay_ms / 1000.0)
            reply = request.reply()
            if request.q.qtype == QTYPE.PTR and qname in names:
                reply.add_answer(RR(request.q.qname, QTYPE.PTR, rdata=PTR(names[qname]), ttl=60))
            else:
                reply.header.rcode = RCODE.NXDOMAIN
            sock.sendto(reply.pack(), self.client_address)

    class Server(socketserver.ThreadingUDPServer):
        daemon_threads = True
        allow_reuse_address = True

    server = Server(("127.0.0.1", args.port), Handler)
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    sys.exit(0)


if __name__ == "__main__":
    main()
