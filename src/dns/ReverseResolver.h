#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace kestrum::dns {

struct ResolverOptions {
  int inFlight = 20;    // look-ups waiting for an answer at a time (1-1000)
  QString server;       // "HOST[:PORT]"; empty: the system's name servers
  int timeoutMs = 2000; // first wait for an answer; c-ares doubles it per try
  int tries = 2;
};

// Reverse (PTR) look-ups of many addresses with c-ares, `inFlight` at a time.
class ReverseResolver {
public:
  // Called once per address with its index and its name (empty when it has
  // none: no such name, no answer, a failed look-up).
  using Done = std::function<void(size_t index, const std::string &name)>;
  // Called at least every `tickMs` while look-ups run.
  using Tick = std::function<void()>;

  explicit ReverseResolver(ResolverOptions options) : options_(std::move(options)) {}

  // Resolves every address. Fails (with `error`) when the resolver cannot
  // be set up or when the name server cannot be reached at all: no answer
  // came while every look-up of a whole round failed for want of one. After
  // such a failure the results already passed to `done` must be dropped.
  bool run(const std::vector<std::string> &addresses, const Done &done, const Tick &tick,
           int tickMs, QString &error);

private:
  ResolverOptions options_;
};

} // namespace kestrum::dns
