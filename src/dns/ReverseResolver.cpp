#include "dns/ReverseResolver.h"

#include <ares.h>
#include <arpa/inet.h>
#include <arpa/nameser.h>
#include <netdb.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace kestrum::dns {

namespace {

struct LibraryInit {
  int status = ares_library_init(ARES_LIB_INIT_ALL);
  ~LibraryInit() {
    if (status == ARES_SUCCESS)
      ares_library_cleanup();
  }
};

struct Batch {
  const ReverseResolver::Done *done = nullptr;
  size_t pending = 0;
  size_t replies = 0;    // look-ups the name server answered (any answer)
  size_t unanswered = 0; // look-ups that got no answer at all
};

struct Lookup {
  Batch *batch;
  size_t index;
};

bool answered(int status) {
  return status != ARES_ETIMEOUT && status != ARES_ECONNREFUSED && status != ARES_EDESTRUCTION &&
         status != ARES_ECANCELLED;
}

// The PTR question for an address: "4.3.2.1.in-addr.arpa" or the 32
// nibbles of an IPv6 address under "ip6.arpa"; empty for anything else.
std::string reverseName(const std::string &address) {
  std::array<unsigned char, 16> raw{};
  std::string name;
  if (inet_pton(AF_INET, address.c_str(), raw.data()) == 1) {
    for (int i = 3; i >= 0; --i)
      name += std::to_string(raw[i]) + '.';
    return name + "in-addr.arpa";
  }
  if (inet_pton(AF_INET6, address.c_str(), raw.data()) == 1) {
    static const char hex[] = "0123456789abcdef";
    for (int i = 15; i >= 0; --i) {
      name += hex[raw[i] & 0xf];
      name += '.';
      name += hex[raw[i] >> 4];
      name += '.';
    }
    return name + "ip6.arpa";
  }
  return {};
}

void finished(void *arg, int status, int /*timeouts*/, unsigned char *answer, int length) {
  std::unique_ptr<Lookup> lookup(static_cast<Lookup *>(arg));
  Batch &batch = *lookup->batch;
  --batch.pending;
  if (status == ARES_EDESTRUCTION)
    return;
  if (answered(status))
    ++batch.replies;
  else
    ++batch.unanswered;
  std::string name;
  hostent *host = nullptr;
  // The parser copies an address into the host entry; only the name is used.
  static const unsigned char anyAddress[4] = {};
  if (status == ARES_SUCCESS && ares_parse_ptr_reply(answer, length, anyAddress, sizeof anyAddress,
                                                     AF_INET, &host) == ARES_SUCCESS) {
    if (host->h_name)
      name = host->h_name;
    ares_free_hostent(host);
  }
  (*batch.done)(lookup->index, name);
}

} // namespace

bool ReverseResolver::run(const std::vector<std::string> &addresses, const Done &done,
                          const Tick &tick, int tickMs, QString &error) {
  LibraryInit init;
  if (init.status != ARES_SUCCESS) {
    error = QStringLiteral("c-ares: %1").arg(QString::fromUtf8(ares_strerror(init.status)));
    return false;
  }
  Batch batch; // outlives the channel, whose end still calls back
  batch.done = &done;
  ares_options options{};
  int mask = ARES_OPT_TIMEOUTMS | ARES_OPT_TRIES;
  options.timeout = options_.timeoutMs;
  options.tries = options_.tries;
  ares_channel channel = nullptr;
  int status = ares_init_options(&channel, &options, mask);
  if (status != ARES_SUCCESS) {
    error = QStringLiteral("cannot set up the resolver: %1")
                .arg(QString::fromUtf8(ares_strerror(status)));
    return false;
  }
  std::unique_ptr<std::remove_pointer_t<ares_channel>, void (*)(ares_channel)> owner(channel,
                                                                                     ares_destroy);
  if (!options_.server.isEmpty()) {
    status = ares_set_servers_ports_csv(channel, options_.server.toUtf8().constData());
    if (status != ARES_SUCCESS) {
      error = QStringLiteral("bad name server \"%1\": %2")
                  .arg(options_.server, QString::fromUtf8(ares_strerror(status)));
      return false;
    }
  }

  const size_t limit = static_cast<size_t>(std::max(1, options_.inFlight));
  // The server counts as unreachable when this many look-ups went
  // unanswered before any answer came.
  const size_t unreachableAfter = std::min(addresses.size(), std::max<size_t>(limit, 8));
  const auto unreachable = [&] {
    if (batch.replies > 0 || unreachableAfter == 0 || batch.unanswered < unreachableAfter)
      return false;
    error = options_.server.isEmpty()
                ? QStringLiteral("no name server answered")
                : QStringLiteral("the name server %1 does not answer").arg(options_.server);
    return true;
  };
  size_t next = 0;
  while (next < addresses.size() || batch.pending > 0) {
    while (next < addresses.size() && batch.pending < limit) {
      const std::string question = reverseName(addresses[next]);
      auto *lookup = new Lookup{&batch, next++};
      ++batch.pending;
      if (question.empty())
        finished(lookup, ARES_ENOTFOUND, 0, nullptr, 0);
      else
        ares_query(channel, question.c_str(), ns_c_in, ns_t_ptr, finished, lookup);
    }
    if (unreachable())
      return false; // owner's ares_destroy ends the rest with ARES_EDESTRUCTION
    if (batch.pending == 0)
      continue;

    ares_socket_t sockets[ARES_GETSOCK_MAXNUM];
    const int bits = ares_getsock(channel, sockets, ARES_GETSOCK_MAXNUM);
    std::array<pollfd, ARES_GETSOCK_MAXNUM> fds{};
    nfds_t count = 0;
    for (int i = 0; i < ARES_GETSOCK_MAXNUM; ++i) {
      const bool readable = ARES_GETSOCK_READABLE(bits, i);
      const bool writable = ARES_GETSOCK_WRITABLE(bits, i);
      if (!readable && !writable)
        continue;
      fds[count].fd = sockets[i];
      fds[count].events = static_cast<short>((readable ? POLLIN : 0) | (writable ? POLLOUT : 0));
      ++count;
    }
    timeval wait{tickMs / 1000, (tickMs % 1000) * 1000};
    timeval limitWait = wait;
    const timeval *left = ares_timeout(channel, &limitWait, &wait);
    const int waitMs = static_cast<int>(left->tv_sec * 1000 + (left->tv_usec + 999) / 1000);
    const int ready = poll(fds.data(), count, waitMs);
    if (ready <= 0) {
      ares_process_fd(channel, ARES_SOCKET_BAD, ARES_SOCKET_BAD); // time-outs
    } else {
      for (nfds_t i = 0; i < count; ++i) {
        const short got = fds[i].revents;
        ares_process_fd(channel, (got & (POLLIN | POLLERR | POLLHUP)) ? fds[i].fd : ARES_SOCKET_BAD,
                        (got & POLLOUT) ? fds[i].fd : ARES_SOCKET_BAD);
      }
    }
    tick();
  }
  return !unreachable();
}

} // namespace kestrum::dns
