#include "semihosting.h"

#include <stdint.h>

enum { SYS_WRITE0 = 0x04, SYS_EXIT = 0x18 };
enum { APPLICATION_EXIT = 0x20026, RUN_TIME_ERROR = 0x20023 };

/* On M-profile cores a semihosting call is BKPT 0xAB with the operation in
 * r0 and its argument in r1. */
static void call(uint32_t operation, uintptr_t argument) {
  register uint32_t r0 __asm__("r0") = operation;
  register uintptr_t r1 __asm__("r1") = argument;
  __asm__ volatile("bkpt 0xAB" : "+r"(r0) : "r"(r1) : "memory");
}

void semihosting_write(const char *text) { call(SYS_WRITE0, (uintptr_t)text); }

void semihosting_exit(int success) {
  call(SYS_EXIT, success ? APPLICATION_EXIT : RUN_TIME_ERROR);
  for (;;) {
  }
}
