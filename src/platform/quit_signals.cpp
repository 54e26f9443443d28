// Self-pipe: the handler only writes the signal number into a socket pair (async-signal-safe); the
// notifier reads it in the event loop.
#include "platform/quit_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace psalmora {
namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int number) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(number);
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
  errno = saved;
}

void Install(void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
    qWarning("psalmora: cannot create the signal pipe; SIGTERM ends the program without saving");
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(g_pipe[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &QuitSignals::ReadPipe);
  Install(OnSignal);
}

QuitSignals::~QuitSignals() {
  if (g_pipe[0] < 0) return;
  Install(SIG_DFL);
  notifier_.reset();
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void QuitSignals::ReadPipe() {
  unsigned char byte = 0;
  if (::read(g_pipe[1], &byte, 1) == 1) emit quitRequested(byte);
}

}  // namespace psalmora
