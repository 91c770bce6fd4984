#!/usr/bin/env python3
"""Fault runs: the command-line tools against the simulators with faults on the line, killed
at random moments, with the simulator killed under them, and against a hostile device on a
pseudo-terminal. Every run checks the invariants instead of printing them:

  - the tool ends within the time the protocol's time-outs allow;
  - exit 0 only when the operation completed (the simulator's image or the files say so);
  - a failure says something on standard error;
  - every user file is old and whole or new and whole, and an upload's folder is one project;
  - no temporary file is left beside the user's files;
  - the next run on the same port works.

Prints a table of runs and outcomes; exits 1 when an invariant failed.

    fault_runs.py BUILD [--long] [--seed N]
"""
import argparse
import filecmp
import os
import pty
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import tty
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

TOP = Path(__file__).resolve().parent.parent
SAMPLES = TOP / "samples"
STATION = "3"


class Tools:
    def __init__(self, build):
        b = Path(build).resolve()
        self.quarnctl = b / "plc_tool" / "quarnctl"
        self.skelligctl = b / "setup_tool" / "skelligctl"
        self.vantorctl = b / "protocol_tool" / "vantorctl"
        self.plcsim = b / "sim" / "plc" / "plcsim"
        self.displaysim = b / "sim" / "display" / "displaysim"


class Outcome:
    def __init__(self, name):
        self.name = name
        self.problems = []
        self.exit = None
        self.seconds = 0.0

    def check(self, condition, text):
        if not condition:
            self.problems.append(text)


def wait_for(path, seconds=5.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if os.path.exists(path):
            return True
        time.sleep(0.02)
    return False


class Simulator:
    """A simulator in the background on a link of its own."""

    def __init__(self, program, link, args):
        self.link = link
        self.proc = subprocess.Popen([str(program), "--link", link] + args,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(link):
            self.stop()
            raise RuntimeError(f"{program} did not start")

    def stop(self, sig=signal.SIGTERM):
        if self.proc.poll() is None:
            self.proc.send_signal(sig)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def run_tool(args, timeout, kill_after=None, kill_signal=signal.SIGINT, on_start=None):
    """Runs a tool; optionally signals it after kill_after seconds. Returns (status, out,
    err, seconds), status None when it outlived the time-out (it is then killed)."""
    start = time.monotonic()
    proc = subprocess.Popen([str(a) for a in args], stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    timer = None
    if kill_after is not None:
        def fire():
            if proc.poll() is None:
                proc.send_signal(kill_signal)
        timer = threading.Timer(kill_after, fire)
        timer.start()
    if on_start:
        on_start(proc)
    try:
        out, err = proc.communicate(timeout=timeout)
        status = proc.returncode
    except subprocess.TimeoutExpired:
        proc.kill()
        out, err = proc.communicate()
        status = None
    if timer:
        timer.cancel()
    return status, out, err, time.monotonic() - start


def leftovers(folder):
    """Files a killed or failed tool left that a user could take for data."""
    names = []
    for p in Path(folder).rglob("*"):
        n = p.name
        if ".part" in n or n.endswith(".tmp") or n.startswith(".~") or (
                n.startswith(".") and n not in (".", "..")):
            names.append(str(p.relative_to(folder)))
    return names


def same_tree(a, b):
    a, b = Path(a), Path(b)
    na = sorted(p.name for p in a.iterdir())
    nb = sorted(p.name for p in b.iterdir())
    if na != nb:
        return False
    return all(filecmp.cmp(a / n, b / n, shallow=False) for n in na)


SER2NET = "/usr/sbin/ser2net"


def free_tcp_port():
    import socket
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    wanted = f":{port:04X}"
    with open("/proc/net/tcp") as table:
        return any(f.split()[1].endswith(wanted) and f.split()[3] == "0A"
                   for f in list(table)[1:])


class Ser2net:
    """ser2net in the foreground in front of a simulator's link, RFC 2217 on loopback."""

    def __init__(self, folder, device, line="9600e81", port=None):
        self.port = port or free_tcp_port()
        self.url = f"rfc2217://127.0.0.1:{self.port}"
        config = Path(folder) / f"ser2net-{self.port}.yaml"
        config.write_text(f"connection: &device\n"
                          f"  accepter: telnet(rfc2217),tcp,127.0.0.1,{self.port}\n"
                          f"  connector: serialdev,{device},{line},local\n")
        self.proc = subprocess.Popen([SER2NET, "-n", "-u", "-c", str(config), "-P",
                                      str(Path(folder) / f"ser2net-{self.port}.pid")],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        end = time.monotonic() + 5
        while not listening(self.port):
            if time.monotonic() > end or self.proc.poll() is not None:
                self.stop()
                raise RuntimeError("ser2net did not start")
            time.sleep(0.02)

    def send_signal(self, sig):
        if self.proc.poll() is None:
            self.proc.send_signal(sig)

    def stop(self, sig=signal.SIGTERM):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGCONT)
            self.proc.send_signal(sig)
            self.proc.wait()


class Runs:
    def __init__(self, tools, work, rng, long_mode):
        self.t = tools
        self.work = Path(work)
        self.rng = rng
        self.long = long_mode
        self.outcomes = []
        self.lock = threading.Lock()
        self.counter = 0
        self.reference = {}

    def fresh(self, stem):
        with self.lock:
            self.counter += 1
            n = self.counter
        d = self.work / f"{stem}-{n}"
        d.mkdir(parents=True)
        return d

    def record(self, outcome):
        with self.lock:
            self.outcomes.append(outcome)

    # ---- reference results, made once without faults ---------------------------------
    def prepare(self):
        d = self.fresh("reference")
        image = d / "plc.img"
        sim = Simulator(self.t.plcsim, str(d / "plc"), ["--station", STATION, "--image",
                                                       str(image)])
        try:
            status, _, err, _ = run_tool([self.t.quarnctl, "--port", d / "plc", "--station",
                                          STATION, "--yes", "--log", d / "log.txt", "download",
                                          SAMPLES / "project" / "project.pr"], 120)
            if status != 0:
                raise RuntimeError("reference download failed: " + err.decode(errors="replace"))
            up = d / "up" / "project"
            up.mkdir(parents=True)
            status, _, err, _ = run_tool([self.t.quarnctl, "--port", d / "plc", "--station",
                                          STATION, "--yes", "--log", d / "log.txt", "upload",
                                          up], 120)
            if status != 0:
                raise RuntimeError("reference upload failed: " + err.decode(errors="replace"))
        finally:
            sim.stop()
        self.reference["image"] = image
        self.reference["upload"] = up
        # An older project in the same folder: the sample with the first module's bytes
        # changed, so "old" and "new" files differ.
        old = d / "old" / "project"
        shutil.copytree(up, old)
        first = sorted(old.glob("*.ob"))[0]
        data = bytearray(first.read_bytes())
        data[-1] ^= 0xFF
        first.write_bytes(bytes(data))
        self.reference["old_upload"] = old
        # The display's protocol as a retrieval writes it.
        d2 = self.fresh("reference-display")
        sim = Simulator(self.t.displaysim, str(d2 / "disp"),
                        ["--protocol", str(SAMPLES / "protocol" / "demo.pro"),
                         "--statistics", str(SAMPLES / "protocol" / "demo.sta")])
        try:
            status, _, err, _ = run_tool([self.t.vantorctl, "--port", d2 / "disp", "--yes",
                                          "get-protocol", "--new", d2 / "x.pro"], 60)
            if status != 0:
                raise RuntimeError("reference retrieval failed: " + err.decode(errors="replace"))
        finally:
            sim.stop()
        self.reference["protocol"] = d2 / "x.pro"

    # ---- the checks shared by the PLC runs --------------------------------------------
    def holds_project(self, image):
        """True when a PLC with this memory image holds the sample project (by verify:
        module dates come from the files' access times, so images of two downloads differ)."""
        d = self.fresh("holds")
        copy = d / "plc.img"
        shutil.copy(image, copy)
        sim = Simulator(self.t.plcsim, str(d / "plc"), ["--station", STATION, "--image",
                                                       str(copy)])
        try:
            status, _, _, _ = run_tool([self.t.quarnctl, "--port", d / "plc", "--station", STATION,
                                        "--log", d / "log.txt", "verify",
                                        SAMPLES / "project" / "project.pr"], 120)
        finally:
            sim.stop()
        return status == 0

    @staticmethod
    def said_something(status, err):
        """A failure must say what happened; a tool ended by SIGKILL cannot."""
        return status == -signal.SIGKILL or err.strip() != b""

    def check_download(self, o, status, err, image, bound, seconds):
        o.exit = status
        o.seconds = seconds
        o.check(status is not None and seconds <= bound, f"did not end within {bound:.0f} s")
        if status == 0:
            o.check(image.exists() and self.holds_project(image),
                    "exit 0 but the PLC does not hold the project")
        elif status is not None:
            o.check(self.said_something(status, err), "failed without a message")

    def check_upload(self, o, status, err, folder, bound, seconds):
        o.exit = status
        o.seconds = seconds
        o.check(status is not None and seconds <= bound, f"did not end within {bound:.0f} s")
        new = same_tree(folder, self.reference["upload"])
        old = same_tree(folder, self.reference["old_upload"])
        if status == 0:
            o.check(new, "exit 0 but the folder is not the uploaded project")
        else:
            if status is not None:
                o.check(self.said_something(status, err), "failed without a message")
            o.check(new or old, "the folder is neither the old project nor the new one")
        o.check(not leftovers(folder), f"left {leftovers(folder)}")

    def next_run_works(self, o, link):
        status, _, err, _ = run_tool([self.t.quarnctl, "--port", link, "--station", STATION,
                                      "identify"], 20)
        o.check(status == 0, "the next run on the same port failed: " +
                err.decode(errors="replace").strip()[:80])

    # ---- PLC faults at spread telegram positions ---------------------------------------
    def plc_fault(self, operation, fault):
        o = Outcome(f"{operation} with {fault}")
        d = self.fresh("fault")
        image = d / "plc.img"
        if operation == "upload":
            shutil.copy(self.reference["image"], image)
        sim = Simulator(self.t.plcsim, str(d / "plc"),
                        ["--station", STATION, "--image", str(image), "--fault", fault])
        try:
            base = [self.t.quarnctl, "--port", d / "plc", "--station", STATION, "--yes",
                    "--log", d / "log.txt"]
            if operation == "download":
                before = image.read_bytes() if image.exists() else None
                status, _, err, secs = run_tool(base + ["download", SAMPLES / "project" /
                                                        "project.pr"], 150)
                self.check_download(o, status, err, image, 120, secs)
                if status != 0 and before is None and image.exists():
                    pass  # a failed download may leave half a program: the PLC is not a file
            elif operation == "upload":
                folder = d / "project"
                shutil.copytree(self.reference["old_upload"], folder)
                status, _, err, secs = run_tool(base + ["upload", folder], 150)
                self.check_upload(o, status, err, folder, 120, secs)
            else:
                status, _, err, secs = run_tool(base + [operation], 60)
                o.exit, o.seconds = status, secs
                o.check(status is not None and secs <= 40, "did not end within 40 s")
                if status not in (0, None):
                    o.check(err.strip() != b"", "failed without a message")
        finally:
            sim.stop()
        self.record(o)

    # ---- the tool killed at a random moment --------------------------------------------
    def plc_kill(self, operation, sig):
        at = self.rng.uniform(0.3, 6.0 if operation == "upload" else 12.0)
        o = Outcome(f"{operation} killed ({signal.Signals(sig).name}) at {at:.1f} s")
        d = self.fresh("kill")
        image = d / "plc.img"
        shutil.copy(self.reference["image"], image)
        sim = Simulator(self.t.plcsim, str(d / "plc"),
                        ["--station", STATION, "--image", str(image)])
        try:
            base = [self.t.quarnctl, "--port", d / "plc", "--station", STATION, "--yes",
                    "--log", d / "log.txt"]
            folder = d / "project"
            shutil.copytree(self.reference["old_upload"], folder)
            if operation == "upload":
                status, _, err, secs = run_tool(base + ["upload", folder], 150, at, sig)
                self.check_upload(o, status, err, folder, 120, secs)
            else:
                status, _, err, secs = run_tool(base + ["download", SAMPLES / "project" /
                                                        "project.pr"], 150, at, sig)
                self.check_download(o, status, err, image, 120, secs)
            if status not in (0, None) and sig != signal.SIGKILL:
                want = 128 + sig
                o.check(status == want, f"exit {status} after {signal.Signals(sig).name}, "
                        f"not {want}")
            self.next_run_works(o, d / "plc")
        finally:
            sim.stop()
        self.record(o)

    def display_kill(self, sig):
        at = self.rng.uniform(0.05, 1.5)
        o = Outcome(f"get-protocol killed ({signal.Signals(sig).name}) at {at:.2f} s")
        d = self.fresh("vkill")
        target = d / "x.pro"
        old = b"an earlier protocol\r\n"
        target.write_bytes(old)
        sim = Simulator(self.t.displaysim, str(d / "disp"),
                        ["--protocol", str(SAMPLES / "protocol" / "demo.pro"), "--realtime"])
        try:
            status, _, err, secs = run_tool([self.t.vantorctl, "--port", d / "disp", "--yes",
                                             "get-protocol", "--new", target], 60, at, sig)
            o.exit, o.seconds = status, secs
            o.check(status is not None, "did not end")
            data = target.read_bytes() if target.exists() else None
            new = data == self.reference["protocol"].read_bytes()
            if status == 0:
                o.check(new, "exit 0 but the file is not the protocol")
            else:
                o.check(data == old or new, "the file is neither the old one nor the new one")
                if status is not None:
                    o.check(err.strip() != b"" or status == 128 + sig, "failed without a message")
            o.check(not leftovers(d), f"left {leftovers(d)}")
            status2, _, _, _ = run_tool([self.t.vantorctl, "--port", d / "disp", "--yes",
                                         "get-statistics", d / "y.sta"], 60)
            o.check(status2 in (0, 1), "the next run on the same port failed")
        finally:
            sim.stop()
        self.record(o)

    # ---- the simulator killed under the tool -------------------------------------------
    def sim_killed(self, operation):
        at = self.rng.uniform(0.5, 5.0)
        o = Outcome(f"{operation}, simulator killed at {at:.1f} s")
        d = self.fresh("simkill")
        image = d / "plc.img"
        if operation == "upload":
            shutil.copy(self.reference["image"], image)
        sim = Simulator(self.t.plcsim, str(d / "plc"),
                        ["--station", STATION, "--image", str(image)])
        timer = threading.Timer(at, lambda: sim.stop(signal.SIGKILL))
        timer.start()
        try:
            base = [self.t.quarnctl, "--port", d / "plc", "--station", STATION, "--yes",
                    "--log", d / "log.txt"]
            if operation == "upload":
                folder = d / "project"
                shutil.copytree(self.reference["old_upload"], folder)
                status, _, err, secs = run_tool(base + ["upload", folder], 150)
                self.check_upload(o, status, err, folder, 120, secs)
            else:
                status, _, err, secs = run_tool(base + ["download", SAMPLES / "project" /
                                                        "project.pr"], 150)
                o.exit, o.seconds = status, secs
                o.check(status is not None and secs <= 120, "did not end within 120 s")
                if status != 0:
                    o.check(err.strip() != b"", "failed without a message")
        finally:
            timer.cancel()
            sim.stop()
        self.record(o)

    def display_sim_killed(self):
        at = self.rng.uniform(0.05, 1.0)
        o = Outcome(f"get-protocol, simulator killed at {at:.2f} s")
        d = self.fresh("vsimkill")
        target = d / "x.pro"
        old = b"an earlier protocol\r\n"
        target.write_bytes(old)
        sim = Simulator(self.t.displaysim, str(d / "disp"),
                        ["--protocol", str(SAMPLES / "protocol" / "demo.pro"), "--realtime"])
        timer = threading.Timer(at, lambda: sim.stop(signal.SIGKILL))
        timer.start()
        try:
            status, _, err, secs = run_tool([self.t.vantorctl, "--port", d / "disp", "--yes",
                                             "get-protocol", "--new", target], 60)
            o.exit, o.seconds = status, secs
            o.check(status is not None and secs <= 30, "did not end within 30 s")
            data = target.read_bytes() if target.exists() else None
            if status == 0:
                o.check(data == self.reference["protocol"].read_bytes(),
                        "exit 0 but the protocol is not whole")
            else:
                o.check(err.strip() != b"", "failed without a message")
                o.check(data == old, "the earlier file was not kept")
            o.check(not leftovers(d), f"left {leftovers(d)}")
        finally:
            timer.cancel()
            sim.stop()
        self.record(o)

    # ---- a hostile device ---------------------------------------------------------------
    def hostile(self, kind, tool):
        o = Outcome(f"hostile device ({kind}) against {tool}")
        d = self.fresh("hostile")
        master, slave = pty.openpty()
        tty.setraw(slave)
        link = d / "dev"
        os.symlink(os.ttyname(slave), link)
        stop = threading.Event()
        rng = random.Random(self.rng.random())

        def talk():
            while not stop.is_set():
                try:
                    if kind == "random":
                        os.write(master, rng.randbytes(4096))
                    elif kind == "framed":
                        n = rng.randrange(0, 250)
                        body = bytes([0xFF, 0x03, 0x08, rng.randrange(256)]) + bytes(
                            rng.randrange(256) for _ in range(n))
                        le = len(body)
                        os.write(master, bytes([0x68, le & 0xFF, le & 0xFF, 0x68]) + body +
                                 bytes([sum(body) & 0xFF, 0x16]))
                        time.sleep(0.05)
                    elif kind == "endless":
                        os.write(master, b"Coming 01.01.26 10:00:00 \x1b[2J endless line\r\n")
                    elif kind == "stalling":
                        # The start of an answer, then a silence longer than any read
                        # time-out, again and again.
                        os.write(master, rng.choice([b"\x68\x20\x20\x68\xff", b"A\x41",
                                                     b"Coming 01.01.26 10:00"]))
                        time.sleep(4.0)
                except OSError:
                    time.sleep(0.01)

        def drain():
            while not stop.is_set():
                try:
                    os.read(master, 4096)
                except OSError:
                    time.sleep(0.01)

        threads = [threading.Thread(target=talk, daemon=True),
                   threading.Thread(target=drain, daemon=True)]
        for t in threads:
            t.start()
        try:
            if tool == "quarnctl":
                args = [self.t.quarnctl, "--port", link, "--station", STATION, "--yes", "--log",
                        d / "log.txt", "upload", d]
                bound = 120
            elif tool == "vantorctl":
                args = [self.t.vantorctl, "--port", link, "--yes", "get-protocol", "--new", d / "x.pro"]
                bound = 120
            else:
                args = [self.t.skelligctl, "--port", link, "send",
                        SAMPLES / "display" / "anlage.txt", "--no-clock"]
                bound = 60
            status, out, err, secs = run_tool(args, bound + 30)
            o.exit, o.seconds = status, secs
            o.check(status is not None and secs <= bound, f"did not end within {bound} s")
            o.check(status is None or status in (0, 1), f"ended with status {status}")
            if status == 1:
                o.check(err.strip() != b"", "failed without a message")
            o.check(not leftovers(d), f"left {leftovers(d)}")
        finally:
            stop.set()
            os.close(master)
            os.close(slave)
        self.record(o)

    # ---- a device server between the tool and the PLC ----------------------------------
    def server_fault(self, kind):
        """ser2net killed or stalled mid-download, a second client while the port is held,
        a refused connection, a server that refuses a line setting."""
        at = self.rng.uniform(1.0, 8.0)  # the download takes about 12 s
        o = Outcome(f"through ser2net: {kind}" + (f" at {at:.1f} s" if "mid" in kind else ""))
        d = self.fresh("server")
        image = d / "plc.img"
        sim = Simulator(self.t.plcsim, str(d / "plc"), ["--station", STATION, "--image",
                                                       str(image)])
        server = Ser2net(d, d / "plc")
        base = [self.t.quarnctl, "--port", server.url, "--station", STATION, "--yes", "--log",
                d / "log.txt"]
        download = base + ["download", SAMPLES / "project" / "project.pr"]
        listening_plc = None
        try:
            if kind in ("killed mid-download", "stalled mid-download"):
                sig = signal.SIGKILL if kind.startswith("killed") else signal.SIGSTOP
                timer = threading.Timer(at, lambda: server.send_signal(sig))
                status, _, err, secs = run_tool(download, 150, on_start=lambda p: timer.start())
                timer.cancel()
                self.check_download(o, status, err, image, 120, secs)
                if status == 0:
                    o.check(False, "the download completed though the server went")
                server.stop()
                server = Ser2net(d, d / "plc", port=server.port)
                status, _, err, _ = run_tool(download, 150)
                o.check(status == 0, "the next download through the server failed: " +
                        err.decode(errors="replace").strip()[:80])
            elif kind == "second client":
                holder = subprocess.Popen([str(a) for a in base + [
                    "watch", SAMPLES / "monitor" / "demo.ot"]], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
                time.sleep(1.5)
                status, _, err, secs = run_tool(base + ["identify"], 30)
                holder.send_signal(signal.SIGINT)
                holder.wait(20)
                o.exit, o.seconds = status, secs
                o.check(status == 1 and b"in use" in err, "a second client was not refused "
                        "as in use: " + err.decode(errors="replace").strip()[:80])
                self.next_run_works(o, server.url)
            elif kind == "refused connection":
                status, _, err, secs = run_tool(
                    [self.t.quarnctl, "--port", f"rfc2217://127.0.0.1:{free_tcp_port()}",
                     "--station", STATION, "identify"], 30)
                o.exit, o.seconds = status, secs
                o.check(status == 1 and b"refused" in err,
                        "no refusal message: " + err.decode(errors="replace").strip()[:80])
            elif kind == "refused setting":
                url = f"rfc2217://127.0.0.1:{free_tcp_port()}"
                listening_plc = subprocess.Popen(
                    [str(self.t.plcsim), "--listen", url, "--station", STATION, "--refuse",
                     "parity"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                end = time.monotonic() + 5
                while not listening(int(url.rsplit(":", 1)[1])) and time.monotonic() < end:
                    time.sleep(0.02)
                status, _, err, secs = run_tool(
                    [self.t.quarnctl, "--port", url, "--station", STATION, "identify"], 30)
                o.exit, o.seconds = status, secs
                o.check(status == 1 and b"parity" in err,
                        "the refusal does not name parity: " +
                        err.decode(errors="replace").strip()[:80])
        finally:
            if listening_plc:
                listening_plc.terminate()
                listening_plc.wait()
            server.stop()
            sim.stop()
        self.record(o)

    # ---- the plan ----------------------------------------------------------------------
    def plan(self):
        r = self.rng
        jobs = []
        positions = [1, 3, 8, 20, 40] if not self.long else list(range(1, 60, 3))
        for op in ["download", "upload"]:
            for n in r.sample(positions, 2 if not self.long else len(positions)):
                jobs.append((self.plc_fault, op, f"silent-after={n}"))
        for fault in ["noise", "damaged", "wrong-ack", "telegram-ack", "drop-answer=0x0A:2",
                      "drop-answer=0x01:3"]:
            op = r.choice(["download", "upload", "directory", "reset"])
            jobs.append((self.plc_fault, op, fault))
        kills = 2 if not self.long else 12
        for _ in range(kills):
            jobs.append((self.plc_kill, "upload", r.choice([signal.SIGINT, signal.SIGTERM])))
            jobs.append((self.plc_kill, "download", r.choice([signal.SIGINT, signal.SIGTERM])))
            jobs.append((self.display_kill, r.choice([signal.SIGINT, signal.SIGTERM])))
        jobs.append((self.plc_kill, "upload", signal.SIGKILL))
        jobs.append((self.sim_killed, "upload"))
        jobs.append((self.sim_killed, "download"))
        jobs.append((self.display_sim_killed,))
        for kind, tool in [("random", "quarnctl"), ("framed", "quarnctl"),
                           ("endless", "vantorctl"), ("stalling", "skelligctl"),
                           ("random", "vantorctl")]:
            jobs.append((self.hostile, kind, tool))
        for kind in ["killed mid-download", "stalled mid-download", "second client",
                     "refused connection", "refused setting"]:
            jobs.append((self.server_fault, kind))
        return jobs


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--long", action="store_true", help="many more runs")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--jobs", type=int, default=4)
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    tools = Tools(args.build)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="fault-runs-") as work:
        runs = Runs(tools, work, random.Random(seed), args.long)
        runs.prepare()
        jobs = runs.plan()

        def guarded(job):
            try:
                job[0](*job[1:])
            except Exception as e:  # a harness fault is a failed run, not a crash of all
                o = Outcome(f"{job[0].__name__}{job[1:]}")
                o.problems.append(f"harness: {e}")
                runs.record(o)

        with ThreadPoolExecutor(max_workers=args.jobs) as pool:
            list(pool.map(guarded, jobs))
    failed = [o for o in runs.outcomes if o.problems]
    print(f"fault runs (seed {seed}): {len(runs.outcomes)} runs, {len(failed)} failed, "
          f"{time.monotonic() - started:.0f} s")
    print(f"{'run':58} {'exit':>5} {'secs':>6}  result")
    for o in sorted(runs.outcomes, key=lambda o: o.name):
        result = "ok" if not o.problems else "; ".join(o.problems)
        print(f"{o.name:58} {str(o.exit):>5} {o.seconds:6.1f}  {result}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
