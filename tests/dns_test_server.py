#!/usr/bin/env python3
"""A small DNS server on 127.0.0.1 for the resolver's tests and
benchmark. Answers PTR queries for the addresses it is given, NXDOMAIN for
all others, and never answers the "silent" ones; each answer after a chosen
delay. Prints "PORT n" once listening and appends every query name it
receives to --queries (one line each)."""

import argparse
import ipaddress
import heapq
import socket
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

    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1 << 22)
    sock.bind(("127.0.0.1", args.port))
    print("PORT %d" % sock.getsockname()[1], flush=True)

    # Replies wait in a heap until their time; one thread sends them, so a
    # delay costs no thread per query.
    due = []
    ready = threading.Condition()

    def sender():
        while True:
            with ready:
                while not due or due[0][0] > time.monotonic():
                    ready.wait(None if not due else due[0][0] - time.monotonic())
                _, _, packet, client = heapq.heappop(due)
            sock.sendto(packet, client)

    threading.Thread(target=sender, daemon=True).start()
    count = 0
    while True:
        data, client = sock.recvfrom(4096)
        try:
            request = DNSRecord.parse(data)
        except Exception:
            continue
        qname = str(request.q.qname).lower()
        if log:
            log.write(qname + "\n")
        if qname in silent:
            continue
        reply = request.reply()
        if request.q.qtype == QTYPE.PTR and qname in names:
            reply.add_answer(RR(request.q.qname, QTYPE.PTR, rdata=PTR(names[qname]), ttl=60))
        else:
            reply.header.rcode = RCODE.NXDOMAIN
        count += 1
        with ready:
            heapq.heappush(due, (time.monotonic() + args.delay_ms / 1000.0, count, reply.pack(),
                                 client))
            ready.notify()


if __name__ == "__main__":
    main()
