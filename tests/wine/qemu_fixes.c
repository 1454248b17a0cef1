/*
 * Preloaded into 32-bit Wine running under qemu-i386-static (qemu 7.2), where
 * the kernel cannot execute 32-bit programs itself. It makes up for three
 * places where qemu's emulated kernel behaves differently from the real one
 * in ways Wine depends on:
 *
 *  - MAP_FIXED_NOREPLACE is taken as a mere hint;
 *  - the trap number in a signal's context is left at -1;
 *  - there is one GDT for all threads, so per-thread TLS slots are shared.
 *
 * Build: gcc -m32 -shared -fPIC -O2 -Wall -Wextra -Werror qemu_fixes.c -ldl
 */
#define _GNU_SOURCE
#include <asm/ldt.h>
#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <semaphore.h>
#include <signal.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

static void *(*real_mmap)(void *, size_t, int, int, int, off_t);
static void *(*real_mmap64)(void *, size_t, int, int, int, off64_t);
static int (*real_sigaction)(int, const struct sigaction *, struct sigaction *);
static long (*real_syscall)(long, ...);
static int (*real_pthread_create)(pthread_t *, const pthread_attr_t *, void *(*)(void *), void *);

/* Also called by each wrapper: code of another library may call one before
 * this library's constructor has run. */
static void resolve(void)
{
  if (real_pthread_create) return;
  real_mmap = dlsym(RTLD_NEXT, "mmap");
  real_mmap64 = dlsym(RTLD_NEXT, "mmap64");
  real_sigaction = dlsym(RTLD_NEXT, "sigaction");
  real_syscall = dlsym(RTLD_NEXT, "syscall");
  real_pthread_create = dlsym(RTLD_NEXT, "pthread_create");
}

/* ---- MAP_FIXED_NOREPLACE ------------------------------------------------
 * Wine reserves its address space with MAP_FIXED_NOREPLACE and halves a
 * range each time the kernel refuses it. qemu maps such a request wherever
 * it finds room when the range is taken, and Wine keeps the misplaced
 * mappings above 2 GiB as reserved: the reservation then goes down to 64 KiB
 * pieces, some 58,000 mmap calls and over a minute per process. qemu does
 * return the address asked for when the whole range is free, so the kernel's
 * meaning is: that address, or EEXIST and nothing mapped. */
static void *no_replace(void *addr, size_t len, void *got)
{
  if (got == MAP_FAILED || got == addr) return got;
  munmap(got, len);
  errno = EEXIST;
  return MAP_FAILED;
}

static int as_hint(int flags)
{
  return (flags & MAP_FIXED_NOREPLACE) && !(flags & MAP_FIXED);
}

void *mmap(void *addr, size_t len, int prot, int flags, int fd, off_t offset)
{
  resolve();
  if (!as_hint(flags)) return real_mmap(addr, len, prot, flags, fd, offset);
  return no_replace(addr, len,
                    real_mmap(addr, len, prot, flags & ~MAP_FIXED_NOREPLACE, fd, offset));
}

void *mmap64(void *addr, size_t len, int prot, int flags, int fd, off64_t offset)
{
  resolve();
  if (!as_hint(flags)) return real_mmap64(addr, len, prot, flags, fd, offset);
  return no_replace(addr, len,
                    real_mmap64(addr, len, prot, flags & ~MAP_FIXED_NOREPLACE, fd, offset));
}

/* ---- Trap numbers --------------------------------------------------------
 * Wine's fault handlers tell a page fault (a guard page, a write watch, an
 * access violation) from a protection fault, a breakpoint or a division by
 * zero by the trap number in the signal context. qemu leaves it at -1: Wine
 * logs "Got unexpected trap -1" and the program sees an illegal instruction
 * (or an invalid float operation) instead of the exception it can handle.
 * The signal and its si_code say which trap it was; a context that carries
 * a trap number is passed on untouched. */
typedef void fault_handler(int, siginfo_t *, void *);
static fault_handler *volatile wine_handler[NSIG];

static int is_fault(int sig)
{
  return sig == SIGSEGV || sig == SIGBUS || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP;
}

static int trap_number(int sig, int code)
{
  switch (sig) {
  case SIGSEGV: return code == SI_KERNEL ? 13 : 14;  /* general protection / page fault */
  case SIGBUS: return code == SI_KERNEL ? 11 : code == BUS_ADRALN ? 17 : 14;
  case SIGILL: return 6;                             /* invalid opcode */
  case SIGFPE: return code == FPE_INTDIV || code == FPE_INTOVF ? 0 : 16;
  default: return code == SI_KERNEL ? 3 : 1;         /* int3 / single step */
  }
}

/* Runs before Wine's handler, on whatever %gs the faulting code had: it
 * touches no thread-local data. */
__attribute__((no_stack_protector)) static void fill_in_trap(int sig, siginfo_t *info, void *context)
{
  ucontext_t *uc = context;
  /* Only faults the CPU raised (si_code > 0), not signals sent by kill(). */
  if (uc->uc_mcontext.gregs[REG_TRAPNO] == -1 && info->si_code > 0)
    uc->uc_mcontext.gregs[REG_TRAPNO] = trap_number(sig, info->si_code);
  wine_handler[sig](sig, info, context);
}

int sigaction(int sig, const struct sigaction *act, struct sigaction *old)
{
  resolve();
  if (!is_fault(sig)) return real_sigaction(sig, act, old);
  fault_handler *previous = wine_handler[sig];
  struct sigaction wrapped;
  int wrap = act && (act->sa_flags & SA_SIGINFO);
  if (wrap) {
    wrapped = *act;
    wrapped.sa_sigaction = fill_in_trap;
    wine_handler[sig] = act->sa_sigaction;  /* before the wrapper can run */
  }
  int ret = real_sigaction(sig, wrap ? &wrapped : act, old);
  if (ret != 0 && wrap) wine_handler[sig] = previous;
  if (ret == 0 && old && (old->sa_flags & SA_SIGINFO) && old->sa_sigaction == fill_in_trap)
    old->sa_sigaction = previous;
  return ret;
}

/* ---- One TLS segment per thread -------------------------------------------
 * qemu keeps a single GDT for all threads. Wine points %fs at each thread's
 * TEB through a GDT slot from set_thread_area, and glibc's %gs (its TLS)
 * uses another, set again by every new thread: under qemu each thread's
 * setting overwrites the others', and a thread reloading the selector (every
 * return from a signal handler does) ends up with another thread's TEB or
 * TLS, and crashes (a program's first exception already does).
 * The LDT is per process on both, and a selector per thread keeps them apart:
 * - set_thread_area fails, and Wine then gives each thread's %fs an LDT
 *   entry of its own;
 * - every thread's %gs moves to an LDT entry of its own. Wine sees the LDT
 *   %gs and leaves entries below 512 to the C library, so ours come from
 *   there. */
#define GS_ENTRIES 512

static unsigned short gdt_gs;  /* glibc's own %gs selector, 0 when not moved */
static unsigned char entry_used[GS_ENTRIES];
static unsigned next_entry = 1;
static pthread_mutex_t entry_lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_mutex_t create_lock = PTHREAD_MUTEX_INITIALIZER;
static pthread_key_t entry_key;

static unsigned short get_gs(void)
{
  unsigned short sel;
  __asm__ volatile("movw %%gs, %0" : "=r"(sel));
  return sel;
}

static void set_gs(unsigned short sel)
{
  __asm__ volatile("movw %0, %%gs" : : "r"(sel) : "memory");
}

/* glibc's thread control block starts with a pointer to itself. */
static void *thread_pointer(void)
{
  void *tcb;
  __asm__ volatile("movl %%gs:0, %0" : "=r"(tcb));
  return tcb;
}

static struct user_desc tls_segment(unsigned entry, void *base)
{
  struct user_desc desc = {0};
  desc.entry_number = entry;
  desc.base_addr = (unsigned long)base;
  desc.limit = 0xfffff;
  desc.seg_32bit = 1;
  desc.limit_in_pages = 1;
  desc.useable = 1;
  return desc;
}

/* An entry is taken round the table, so one freed by an exiting thread (that
 * still runs on it for a moment) is not handed out again soon. */
static unsigned take_entry(void)
{
  unsigned entry = 0;
  pthread_mutex_lock(&entry_lock);
  for (unsigned tries = 1; tries < GS_ENTRIES; tries++) {
    unsigned candidate = next_entry;
    next_entry = next_entry + 1 < GS_ENTRIES ? next_entry + 1 : 1;
    if (!entry_used[candidate]) {
      entry_used[candidate] = 1;
      entry = candidate;
      break;
    }
  }
  pthread_mutex_unlock(&entry_lock);
  return entry;
}

static void release_entry(void *entry)
{
  pthread_mutex_lock(&entry_lock);
  entry_used[(uintptr_t)entry] = 0;
  pthread_mutex_unlock(&entry_lock);
}

static int move_gs_to_ldt(void)
{
  unsigned entry = take_entry();
  if (!entry) return -1;
  struct user_desc desc = tls_segment(entry, thread_pointer());
  if (real_syscall(SYS_modify_ldt, 1, &desc, sizeof desc) != 0) {
    release_entry((void *)(uintptr_t)entry);
    return -1;
  }
  set_gs((entry << 3) | 7);  /* LDT, privilege 3 */
  pthread_setspecific(entry_key, (void *)(uintptr_t)entry);
  return 0;
}

long syscall(long number, ...)
{
  va_list ap;
  long a[6];
  resolve();
  va_start(ap, number);
  for (int i = 0; i < 6; i++) a[i] = va_arg(ap, long);
  va_end(ap);
  if (number == SYS_set_thread_area) {
    errno = ENOSYS;
    return -1;
  }
  return real_syscall(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}

struct start {
  void *(*routine)(void *);
  void *arg;
  sigset_t mask;
  sem_t moved;
};

static void *start_thread(void *p)
{
  struct start *start = p;
  void *(*routine)(void *) = start->routine;
  void *arg = start->arg;
  sigset_t mask = start->mask;
  move_gs_to_ldt();
  sem_post(&start->moved);  /* the creator's frame is gone after this */
  pthread_sigmask(SIG_SETMASK, &mask, NULL);
  return routine(arg);
}

/* glibc's clone gives the new thread's TLS the GDT slot named by the
 * creator's %gs, so the creator goes back to that slot (pointed at its own
 * TLS again) for the call. Signals stay blocked until the new thread has its
 * own entry, and one thread is created at a time: nobody but the thread
 * being started uses the GDT slot. */
int pthread_create(pthread_t *thread, const pthread_attr_t *attr, void *(*routine)(void *),
                   void *arg)
{
  resolve();
  if (!gdt_gs) return real_pthread_create(thread, attr, routine, arg);
  struct start start = {routine, arg, {{0}}, {{0}}};
  sigset_t all;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &start.mask);
  sem_init(&start.moved, 0, 0);
  pthread_mutex_lock(&create_lock);
  struct user_desc desc = tls_segment(gdt_gs >> 3, thread_pointer());
  unsigned short own = get_gs();
  int ret = EAGAIN;
  if (real_syscall(SYS_set_thread_area, &desc) == 0) {
    set_gs(gdt_gs);
    ret = real_pthread_create(thread, attr, start_thread, &start);
    set_gs(own);
    if (ret == 0)
      while (sem_wait(&start.moved) != 0) continue;
  }
  pthread_mutex_unlock(&create_lock);
  sem_destroy(&start.moved);
  pthread_sigmask(SIG_SETMASK, &start.mask, NULL);
  return ret;
}

__attribute__((constructor)) static void init(void)
{
  resolve();
  /* The 64-bit Wine processes started from here cannot load this library. */
  unsetenv("LD_PRELOAD");
  unsigned short gs = get_gs();
  if (gs & 4) return;  /* %gs in the LDT already */
  if (pthread_key_create(&entry_key, release_entry) != 0) return;
  if (move_gs_to_ldt() == 0) gdt_gs = gs;
}
