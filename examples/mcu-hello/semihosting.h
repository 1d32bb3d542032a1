/* Output and exit through ARM semihosting, which QEMU provides with
 * -semihosting-config enable=on. */
#ifndef MCU_HELLO_SEMIHOSTING_H
#define MCU_HELLO_SEMIHOSTING_H

/* Writes the NUL-terminated `text` to the host's console. */
void semihosting_write(const char *text);

/* Ends the run: the host's QEMU exits with status 0 when `success`, else 1. */
void semihosting_exit(int success) __attribute__((noreturn));

#endif
