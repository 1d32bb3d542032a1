#include "io/process_signals.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

#include <iterator>
#include <vector>

namespace {

std::atomic<const char*> g_temporary{nullptr};
std::atomic<bool> g_input_mapped{false};

extern "C" void removeTemporaryAndDie(int signal_number) {
  if (const char* path = g_temporary.load()) unlink(path);
  if (signal_number == SIGBUS && g_input_mapped.load()) {
    static const char kMessage[] = "Can not read input file: it shrank while it was read\n";
    const ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)written;   // nothing more can be done from here
    _exit(1);
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

void installSignalHandlers() {
  std::signal(SIGXFSZ, SIG_IGN);
  const int fatal[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGILL,    SIGTRAP, SIGABRT, SIGBUS,
                       SIGFPE,  SIGUSR1, SIGSEGV, SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM,
                       SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO, SIGPWR, SIGSYS};
  std::vector<int> signals(std::begin(fatal), std::end(fatal));
  for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) signals.push_back(s);
  for (int s : signals) {
    struct sigaction old;
    if (sigaction(s, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action = {};
    action.sa_handler = removeTemporaryAndDie;
    sigaction(s, &action, nullptr);
  }
}

void watchTemporaryFile(const char* path) { g_temporary.store(path); }

void watchMappedInput(bool mapped) { g_input_mapped.store(mapped); }

SignalsHeld::SignalsHeld() {
  sigset_t all;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &before_);
}

SignalsHeld::~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
