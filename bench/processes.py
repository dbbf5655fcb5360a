"""Running lorvex-sim and lorvex for a measurement: bounded in time, cleaned up always."""

import ctypes
import os
import select
import shutil
import signal
import socket
import subprocess
import threading
import time
from dataclasses import dataclass

PR_SET_CHILD_SUBREAPER = 36


class BenchError(Exception):
    pass


class Simulator:
    """A lorvex-sim serving COM1 in `workdir`; a context manager that always stops it."""

    def __init__(self, binary, workdir, args, ready_timeout=10.0, niceness=0):
        self.binary = binary
        self.niceness = niceness
        self.workdir = workdir
        self.args = list(args)
        self.ready_timeout = ready_timeout
        self.process = None
        self.rusage = None
        self.complaints = ""

    def __enter__(self):
        self.process = subprocess.Popen(
            [self.binary] + self.args, cwd=self.workdir, stdout=subprocess.PIPE,
            stderr=subprocess.PIPE, start_new_session=True,
            preexec_fn=_at_niceness(self.niceness))
        deadline = time.monotonic() + self.ready_timeout
        seen = b""
        while b"serving" not in seen:
            left = deadline - time.monotonic()
            if left <= 0 or self.process.poll() is not None:
                self.stop()
                raise BenchError("lorvex-sim did not start: %r" % seen)
            ready, _, _ = select.select([self.process.stdout], [], [], left)
            if ready:
                chunk = os.read(self.process.stdout.fileno(), 4096)
                if not chunk:
                    continue
                seen += chunk
        # "lorvex-sim: serving COM1 -> /dev/pts/N": the pty, for ser2net.
        self.device = seen.split(b"-> ")[-1].split(b"\n")[0].decode()
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def stop(self, timeout=10.0):
        """SIGTERM, then SIGKILL if it does not end; reaps it and keeps its resource use."""
        if self.process is None or self.rusage is not None:
            return
        pid = self.process.pid
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        deadline = time.monotonic() + timeout
        while True:
            done, status, usage = os.wait4(pid, os.WNOHANG)
            if done == pid:
                self.rusage = usage
                self.process.returncode = os.waitstatus_to_exitcode(status)
                break
            if time.monotonic() > deadline:
                os.kill(pid, signal.SIGKILL)
                _, status, usage = os.wait4(pid, 0)
                self.rusage = usage
                break
            time.sleep(0.02)
        # What the simulator complained of (a failing pty, a sanitizer report) is kept.
        if self.process.stderr is not None:
            self.complaints = self.process.stderr.read().decode("utf-8", "replace").strip()
        for stream in (self.process.stdout, self.process.stderr):
            if stream is not None:
                stream.close()


@dataclass
class Measured:
    exit_code: int
    wall_s: float
    cpu_s: float
    max_rss_kib: int
    stdout: bytes


def _become_subreaper():
    """Orphaned descendants are handed to this process, so it can wait for a grandchild."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        raise BenchError("prctl(PR_SET_CHILD_SUBREAPER) failed: errno %d" % ctypes.get_errno())


def _at_niceness(niceness):
    """What a child runs before its program: the scheduling priority asked for."""
    def apply():
        os.setpriority(os.PRIO_PROCESS, 0, niceness)
    return apply


def run_measured(argv, workdir, time_limit_s, niceness=0):
    """Runs one program to its end and measures it; killed (and an error) past the limit.

    The peak memory the kernel reports for a process includes that of the process it was forked
    from, and this interpreter is larger than lorvex. So the program is started from a small
    shell that forks it and leaves; this process, a child subreaper, inherits it and waits.
    """
    _become_subreaper()
    out_path = os.path.join(workdir, "lorvex.out")
    launcher = '"$@" >"$0" 2>&1 </dev/null & echo $!'
    start = time.monotonic()
    shell = subprocess.Popen(["/bin/sh", "-c", launcher, out_path] + argv, cwd=workdir,
                             stdout=subprocess.PIPE, start_new_session=True,
                             preexec_fn=_at_niceness(niceness))
    pid_text = shell.stdout.read().strip()
    shell.stdout.close()
    shell.wait()
    if not pid_text.isdigit():
        raise BenchError("could not start %s" % argv[0])
    pid = int(pid_text)
    killed = []

    def kill():
        killed.append(True)
        os.killpg(shell.pid, signal.SIGKILL)

    timer = threading.Timer(time_limit_s, kill)
    timer.start()
    try:
        _, status, usage = os.wait4(pid, 0)
    finally:
        timer.cancel()
    wall = time.monotonic() - start
    if killed:
        raise BenchError("%s took longer than %d s" % (argv[0], time_limit_s))
    with open(out_path, "rb") as out:
        printed = out.read()
    return Measured(
        exit_code=os.waitstatus_to_exitcode(status),
        wall_s=wall,
        cpu_s=usage.ru_utime + usage.ru_stime,
        max_rss_kib=usage.ru_maxrss,
        stdout=printed,
    )


class Ser2net:
    """ser2net in the foreground serving `device` on 127.0.0.1: raw TCP on one port, RFC 2217 on
    the next; a context manager that always stops it."""

    def __init__(self, workdir, device, niceness=0):
        self.workdir = workdir
        self.device = device
        self.niceness = niceness
        self.process = None
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.raw = probe.getsockname()[1]
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.rfc2217 = probe.getsockname()[1]

    def _listening(self):
        wanted = {":%04X " % self.raw, ":%04X " % self.rfc2217}
        with open("/proc/net/tcp") as table:
            found = {w for line in table for w in wanted if w in line and " 0A " in line}
        return found == wanted

    def __enter__(self):
        program = shutil.which("ser2net") or "/usr/sbin/ser2net"
        config = os.path.join(self.workdir, "ser2net.yaml")
        # The register's one-byte answers go on at once, not after ser2net's wait for more.
        connector = ("  connector: serialdev,%s,9600n81,local\n  options:\n    chardelay: false\n"
                     % self.device)
        with open(config, "w") as handle:
            handle.write("connection: &raw\n  accepter: tcp,127.0.0.1,%d\n%s"
                         "connection: &rfc\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%d\n%s"
                         % (self.raw, connector, self.rfc2217, connector))
        self.process = subprocess.Popen(
            [program, "-n", "-u", "-c", config, "-P", os.path.join(self.workdir, "ser2net.pid")],
            cwd=self.workdir, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True, preexec_fn=_at_niceness(self.niceness))
        deadline = time.monotonic() + 10.0
        while not self._listening():
            if time.monotonic() > deadline or self.process.poll() is not None:
                self.__exit__()
                raise BenchError("ser2net did not start")
            time.sleep(0.05)
        return self

    def __exit__(self, *exc):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        return False
