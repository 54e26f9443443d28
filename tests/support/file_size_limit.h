// Runs a write with files limited to a number of bytes: a longer write fails part-way, as on a full
// disk, while shorter files are written as usual.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace psalmora::testing {

template <class Write>
auto WithFileSizeLimit(rlim_t limit, Write write) {
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = limit;
  setrlimit(RLIMIT_FSIZE, &small);
  auto result = write();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);
  return result;
}

}  // namespace psalmora::testing
