// Everything the programs do about signals, in one place:
// - SIGXFSZ is ignored: beyond a file size limit writes fail and are
//   reported instead.
// - SIGBUS while an input is mapped (it shrank while it was read) ends the
//   process with status 1 and a message.
// - Every signal whose default action ends the process (but those the
//   process was started ignoring) first removes the named temporary file
//   that an output is being written into, if there is one.
// - An output being put in place holds every signal until it is done.
#ifndef BDF2VBT_IO_PROCESS_SIGNALS_H
#define BDF2VBT_IO_PROCESS_SIGNALS_H

#include <signal.h>

// Installs the handlers; called once, first thing in main.
void installSignalHandlers();

// Names the temporary file the handlers remove (nullptr: none). The text
// must last until it is named no more.
void watchTemporaryFile(const char* path);

// Says whether an input is mapped, so that SIGBUS means it shrank.
void watchMappedInput(bool mapped);

// Holds every signal that can be held for as long as it lives.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_;
};

#endif  // BDF2VBT_IO_PROCESS_SIGNALS_H
