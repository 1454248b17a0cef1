/*
 * no_i386 COMMAND [ARGUMENT...]
 *
 * Runs COMMAND in a process where any system call made through the i386 ABI
 * (int 0x80 from a natively executed 32-bit program) kills the process
 * ("Bad system call"). It stands in for a machine whose kernel cannot run
 * 32-bit programs, so that 32-bit Wine under qemu-i386-static can be proven
 * there: qemu makes only x86-64 system calls. The filter is inherited by
 * every child and survives exec.
 *
 * Build: gcc -O2 -Wall -Wextra -Werror no_i386.c -o no_i386
 */
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <stddef.h>
#include <stdio.h>
#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char **argv)
{
  if (argc < 2) {
    fprintf(stderr, "usage: no_i386 COMMAND [ARGUMENT...]\n");
    return 2;
  }
  struct sock_filter filter[] = {
    BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_I386, 0, 1),
    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  struct sock_fprog program = {sizeof filter / sizeof filter[0], filter};
  /* Without root's CAP_SYS_ADMIN, installing a filter requires giving up
   * set-user-id gains for good. */
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
    perror("no_i386: PR_SET_NO_NEW_PRIVS");
    return 126;
  }
  if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
    perror("no_i386: PR_SET_SECCOMP");
    return 126;
  }
  execvp(argv[1], argv + 1);
  perror(argv[1]);
  return 127;
}
