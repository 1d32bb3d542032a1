#include "convert/helper_thread.h"

#include <algorithm>
#include <sched.h>

#include "io/process_signals.h"

namespace {

// Attributes that keep a thread off the calling thread's core, when the
// process may use another.
void keepOffThisCore(pthread_attr_t* attributes) {
  cpu_set_t cores;
  const int here = sched_getcpu();
  if (sched_getaffinity(0, sizeof cores, &cores) != 0 || here < 0 || !CPU_ISSET(here, &cores)) return;
  if (CPU_COUNT(&cores) < 2) return;
  CPU_CLR(here, &cores);
  pthread_attr_setaffinity_np(attributes, sizeof cores, &cores);
}

}  // namespace

int usableCores() {
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) != 0) return 1;
  return std::max(CPU_COUNT(&cores), 1);
}

bool startHelperThread(pthread_t* thread, void* (*run)(void*), void* argument) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  keepOffThisCore(&attributes);
  // The new thread inherits the signal mask in force when it is created.
  const bool started = [&] {
    const SignalsHeld held(SignalsHeld::kButFaults);
    return pthread_create(thread, &attributes, run, argument) == 0;
  }();
  pthread_attr_destroy(&attributes);
  return started;
}
