/* The vector table and the reset handler: .data copied from flash, .bss
 * cleared, then main; its result ends the run through semihosting. */
#include <stdint.h>
#include <string.h>

#include "semihosting.h"

extern uint8_t data_start[], data_end[], data_load[], bss_start[], bss_end[], stack_top[];

int main(void);

void reset_handler(void);
void fault_handler(void);

void reset_handler(void) {
  memcpy(data_start, data_load, (size_t)(data_end - data_start));
  memset(bss_start, 0, (size_t)(bss_end - bss_start));
  semihosting_exit(main() == 0);
}

/* A fault ends the run as a failure instead of hanging. */
void fault_handler(void) { semihosting_exit(0); }

/* Initial stack pointer, reset, NMI, hard fault, memory, bus and usage
 * faults. */
__attribute__((section(".vectors"), used)) static const uintptr_t vectors[] = {
  (uintptr_t)stack_top, (uintptr_t)reset_handler, (uintptr_t)fault_handler, (uintptr_t)fault_handler,
  (uintptr_t)fault_handler, (uintptr_t)fault_handler, (uintptr_t)fault_handler};
