/* LD_PRELOAD library for tests under Wine over a pseudo-terminal.
 *
 * Wine asks a serial device for its modem lines (TIOCMGET) before an
 * overlapped WaitCommEvent and for its interrupt counters (TIOCGICOUNT); a
 * Linux pseudo-terminal refuses both, and Wine then fails the wait at once
 * with error 995. This library answers the modem-line requests for
 * pseudo-terminal slaves as a plain three-wire line would: CTS, DSR and DCD
 * on, DTR and RTS as last set. Every change of DTR or RTS is appended to the
 * file named by VANTOR_PTY_SHIM_LOG ("DTR=1 RTS=0" per line), so that a test
 * can check what the program did to the lines. Everything else goes to the
 * real ioctl. With VANTOR_PTY_SHIM_DEBUG set, requests on a pseudo-terminal
 * that the real ioctl refuses are reported on standard error.
 *
 * Built for both word sizes (64-bit and 32-bit Wine); LD_PRELOAD names it
 * with $LIB, so each process loads its own. 32-bit Wine is built with a
 * 64-bit time_t and calls glibc's __ioctl_time64, which is answered too. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);
int __ioctl_time64(int fd, unsigned long request, ...);

static pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
static int g_lines = TIOCM_CTS | TIOCM_DSR | TIOCM_CAR;

static ioctl_fn next_ioctl(const char* name) {
  ioctl_fn fn = (ioctl_fn)dlsym(RTLD_NEXT, name);
  return fn != NULL ? fn : (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
}

/* UNIX98 pseudo-terminal slaves have majors 136 to 143. */
static int is_pty_slave(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return 0;
  return major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

static void record(int lines) {
  const char* path = getenv("VANTOR_PTY_SHIM_LOG");
  if (path == NULL || *path == '\0') return;
  int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return;
  char text[32];
  int n = snprintf(text, sizeof text, "DTR=%d RTS=%d\n", (lines & TIOCM_DTR) != 0, (lines & TIOCM_RTS) != 0);
  if (n > 0) {
    ssize_t w = write(fd, text, (size_t)n);
    (void)w;
  }
  close(fd);
}

/* Applies a change of the output lines; records it when DTR or RTS moved. */
static void set_lines(int lines) {
  const int outputs = TIOCM_DTR | TIOCM_RTS;
  pthread_mutex_lock(&g_lock);
  int before = g_lines;
  g_lines = (g_lines & ~outputs) | (lines & outputs);
  int after = g_lines;
  pthread_mutex_unlock(&g_lock);
  if ((before ^ after) & outputs) record(after);
}

static int answer(unsigned long request, void* arg) {
  switch (request) {
    case TIOCMGET:
      pthread_mutex_lock(&g_lock);
      *(int*)arg = g_lines;
      pthread_mutex_unlock(&g_lock);
      return 1;
    case TIOCMSET: set_lines(*(int*)arg); return 1;
    case TIOCMBIS: set_lines(g_lines | *(int*)arg); return 1;
    case TIOCMBIC: set_lines(g_lines & ~*(int*)arg); return 1;
    case TIOCGICOUNT: memset(arg, 0, sizeof(struct serial_icounter_struct)); return 1;
    default: return 0;
  }
}

static int shim_ioctl(ioctl_fn real, int fd, unsigned long request, void* arg) {
  int is_modem = request == TIOCMGET || request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC ||
                 request == TIOCGICOUNT;
  if (is_modem && arg != NULL && is_pty_slave(fd) && answer(request, arg)) return 0;
  int rc = real(fd, request, arg);
  if (rc != 0 && getenv("VANTOR_PTY_SHIM_DEBUG") != NULL && is_pty_slave(fd)) {
    int saved = errno;
    fprintf(stderr, "pty-shim: ioctl 0x%lx refused: %s\n", request, strerror(saved));
    errno = saved;
  }
  return rc;
}

int ioctl(int fd, unsigned long request, ...) {
  static ioctl_fn real;
  if (real == NULL) real = next_ioctl("ioctl");
  va_list ap;
  va_start(ap, request);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  return shim_ioctl(real, fd, request, arg);
}

int __ioctl_time64(int fd, unsigned long request, ...) {
  static ioctl_fn real;
  if (real == NULL) real = next_ioctl("__ioctl_time64");
  va_list ap;
  va_start(ap, request);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  return shim_ioctl(real, fd, request, arg);
}
