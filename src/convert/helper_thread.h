// Threads that help the one running a conversion (the metrics pass reads
// stretches on them): each starts on a core other than its creator's, with
// every signal held but those a fault raises.
#ifndef BDF2VBT_CONVERT_HELPER_THREAD_H
#define BDF2VBT_CONVERT_HELPER_THREAD_H

#include <pthread.h>

// The cores this process may run on (at least 1).
int usableCores();

// Starts run(argument) on a new thread; false when the system gives none.
// Left to itself, the system was seen to keep a new thread waiting on its
// creator's core for milliseconds while another core idled, so the thread
// may use every core this process may use but the creator's. It holds
// every signal, so that signals reach the creator, as the rest of the
// program expects, but those a fault of its own raises (SIGBUS when the
// mapped input shrinks, among them): the thread takes those itself.
bool startHelperThread(pthread_t* thread, void* (*run)(void*), void* argument);

#endif  // BDF2VBT_CONVERT_HELPER_THREAD_H
