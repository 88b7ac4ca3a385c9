#!/usr/bin/env python3
"""Side-by-side benchmark: this tool and CuteCom (a Qt serial terminal from
Debian), each under Xvfb on its own pseudo-terminal, fed the same streams.

For each stream and program it prints the CPU time the program used per MB
received (from /proc, not wall time), its memory growth per received byte,
how fast its window answers (X _NET_WM_PING round trips every 100 ms while
the stream runs: Qt answers them on the window thread), and how long it took
to take in all of the stream after the feeder stopped. Run it through
bench/peer_bench.sh, which installs what it needs and builds the tool.

CuteCom runs as the user nobody with its own HOME, so the only serial device
it can open is its pseudo-terminal (handed to nobody); its session names the
terminal, 8N1, no flow control, plain output, and its Open button is pressed
with xdotool. Before a figure is trusted, the script checks that the program
has the terminal open and that the terminal's input queue drains.
"""
import argparse, ctypes, fcntl, os, pwd, select, signal, struct, subprocess, sys, tempfile, termios, time, tty

TOOL = None
CLK_TCK = os.sysconf('SC_CLK_TCK')
PAGE = os.sysconf('SC_PAGE_SIZE')


# ---- X: find a window, ping it ----

class XPing:
    """_NET_WM_PING round trips to one top-level window, through libxcb."""

    def __init__(self, display):
        self.xcb = ctypes.CDLL('libxcb.so.1')
        self.libc = ctypes.CDLL(None)
        x = self.xcb
        x.xcb_connect.restype = ctypes.c_void_p
        x.xcb_connect.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
        x.xcb_intern_atom.restype = ctypes.c_uint
        x.xcb_intern_atom.argtypes = [ctypes.c_void_p, ctypes.c_uint8, ctypes.c_uint16, ctypes.c_char_p]
        x.xcb_intern_atom_reply.restype = ctypes.POINTER(ctypes.c_uint32)
        x.xcb_intern_atom_reply.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_void_p]
        x.xcb_get_setup.restype = ctypes.c_void_p
        x.xcb_get_setup.argtypes = [ctypes.c_void_p]

        class Iter(ctypes.Structure):
            _fields_ = [('data', ctypes.POINTER(ctypes.c_uint32)), ('rem', ctypes.c_int), ('index', ctypes.c_int)]
        x.xcb_setup_roots_iterator.restype = Iter
        x.xcb_setup_roots_iterator.argtypes = [ctypes.c_void_p]
        x.xcb_change_window_attributes.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint32,
                                                   ctypes.POINTER(ctypes.c_uint32)]
        x.xcb_send_event.argtypes = [ctypes.c_void_p, ctypes.c_uint8, ctypes.c_uint32, ctypes.c_uint32, ctypes.c_char_p]
        x.xcb_flush.argtypes = [ctypes.c_void_p]
        x.xcb_poll_for_event.restype = ctypes.POINTER(ctypes.c_uint8 * 32)
        x.xcb_poll_for_event.argtypes = [ctypes.c_void_p]
        x.xcb_get_file_descriptor.argtypes = [ctypes.c_void_p]
        self.libc.free.argtypes = [ctypes.c_void_p]
        self.conn = x.xcb_connect(display.encode(), None)
        self.root = x.xcb_setup_roots_iterator(x.xcb_get_setup(self.conn)).data[0]
        self.protocols = self.atom(b'WM_PROTOCOLS')
        self.ping = self.atom(b'_NET_WM_PING')
        mask = ctypes.c_uint32(1 << 17)  # StructureNotify on the root: where Qt sends its replies
        x.xcb_change_window_attributes(self.conn, self.root, 1 << 11, ctypes.byref(mask))
        x.xcb_flush(self.conn)
        self.fd = x.xcb_get_file_descriptor(self.conn)
        self.serial = 0

    def atom(self, name):
        cookie = self.xcb.xcb_intern_atom(self.conn, 0, len(name), name)
        reply = self.xcb.xcb_intern_atom_reply(self.conn, cookie, None)
        value = reply[2]
        self.libc.free(reply)
        return value

    def round_trip(self, window, timeout):
        """Seconds until the window answers, or None after `timeout`."""
        self.serial += 1
        event = struct.pack('<BBHII5I', 33, 32, 0, window, self.protocols, self.ping, self.serial, window, 0, 0)
        start = time.monotonic()
        self.xcb.xcb_send_event(self.conn, 0, window, 0, event)
        self.xcb.xcb_flush(self.conn)
        while True:
            left = timeout - (time.monotonic() - start)
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)
            while True:
                e = self.xcb.xcb_poll_for_event(self.conn)
                if not e:
                    break
                raw = bytes(e.contents)
                self.libc.free(e)
                kind, _, _, _, _, d0, d1 = struct.unpack('<BBHIIII', raw[:20])
                if kind & 0x7F == 33 and d0 == self.ping and d1 == self.serial:
                    return time.monotonic() - start


def find_window(display, pid, name, timeout=15):
    """The program's top-level window: of the windows by that name, the one
    that answers a ping (Qt also names a few helper windows)."""
    pings = XPing(display)
    end = time.time() + timeout
    while time.time() < end:
        out = subprocess.run(['xdotool', 'search', '--pid', str(pid), '--name', name],
                             env=dict(os.environ, DISPLAY=display), capture_output=True, text=True).stdout.split()
        for window in map(int, out):
            if pings.round_trip(window, 0.5) is not None:
                return window
        time.sleep(0.2)
    raise RuntimeError(f'no window "{name}" of pid {pid}')


# ---- processes ----

def cpu_seconds(pid):
    fields = open(f'/proc/{pid}/stat').read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK  # utime + stime


def rss_bytes(pid):
    return int(open(f'/proc/{pid}/statm').read().split()[1]) * PAGE


def holds(pid, path):
    real = os.path.realpath(path)
    try:
        return any(os.path.realpath(f'/proc/{pid}/fd/{fd}') == real for fd in os.listdir(f'/proc/{pid}/fd'))
    except OSError:
        return False


def input_queue(fd):
    return struct.unpack('i', fcntl.ioctl(fd, termios.FIONREAD, b'\0\0\0\0'))[0]


class Terminal:
    """A pseudo-terminal: we write the master; the program reads the slave.
    We keep a slave descriptor open ourselves (raw, never read) to look at
    its input queue."""

    def __init__(self, owner=None):
        self.master, self.keeper = os.openpty()
        tty.setraw(self.keeper)
        self.path = os.ttyname(self.keeper)
        if owner is not None:
            os.chown(self.path, owner.pw_uid, owner.pw_gid)
        os.set_blocking(self.master, True)

    def close(self):
        os.close(self.master)
        os.close(self.keeper)


def start_tool(display, term, scratch):
    folder = tempfile.mkdtemp(dir=scratch)
    with open(os.path.join(folder, 'set.ini'), 'wb') as f:
        f.write(b'[comset]\r\n\xb4\xae\xbf\xda=' + term.path.encode() + b'\r\n\xb2\xa8\xcc\xd8\xc2\xca=115200\r\nauto=1\r\n')
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM='xcb')
    proc = subprocess.Popen([TOOL], cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return proc, find_window(display, proc.pid, 'ROVI')


def start_cutecom(display, term, scratch):
    nobody = pwd.getpwnam('nobody')
    home = tempfile.mkdtemp(dir=scratch)
    os.makedirs(os.path.join(home, '.config', 'CuteCom'))
    with open(os.path.join(home, '.config', 'CuteCom', 'CuteCom5.conf'), 'w') as f:
        f.write('[sessions]\n1\\BaudRate=115200\n1\\DataBits=8\n1\\Device=%s\n1\\FlowControl=0\n'
                '1\\OpenMode=3\n1\\Parity=0\n1\\StopBits=1\n1\\autoReconnect=false\n1\\name=Default\n'
                '1\\showCtrlCharacters=false\n1\\showTimestamp=false\nsize=1\n' % term.path)
    for root, dirs, files in os.walk(home):
        for n in dirs + files + ['.']:
            os.chown(os.path.join(root, n), nobody.pw_uid, nobody.pw_gid)
    env = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=os.path.join(home, '.config'),
               XDG_RUNTIME_DIR=home, QT_QPA_PLATFORM='xcb')
    proc = subprocess.Popen(['setpriv', '--reuid=nobody', '--regid=nogroup', '--clear-groups', 'cutecom'],
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = find_window(display, proc.pid, 'CuteCom')
    # Its Open button, top left of the control panel.
    subprocess.run(['xdotool', 'mousemove', '--window', str(window), '38', '43', 'click', '1'],
                   env=dict(os.environ, DISPLAY=display), check=True)
    return proc, window


# ---- streams ----

CARD = b'12345678\r\n'


def feed(term, rate, seconds, pings, window, samples):
    """Writes the stream; pings the window every 100 ms meanwhile."""
    sent = 0
    start = time.monotonic()
    next_ping = start
    block = CARD * 410  # 4100 bytes
    while True:
        now = time.monotonic()
        if now - start >= seconds:
            break
        if now >= next_ping:
            samples.append(pings.round_trip(window, 2.0))
            next_ping = time.monotonic() + 0.1
        if isinstance(rate, tuple):  # whole cards, one every rate[1] seconds, as a reader sends them
            due = int((now - start) / rate[1]) + 1 - sent // len(CARD)
            if due > 0:
                os.set_blocking(term.master, True)
                sent += os.write(term.master, CARD * due)
            time.sleep(0.005)
            continue
        if rate is None:  # flat out: as much as the terminal takes
            os.set_blocking(term.master, False)
            try:
                sent += os.write(term.master, block)
            except BlockingIOError:
                time.sleep(0.001)
            continue
        due = int(rate * (now - start)) - sent
        if due > 0:
            os.set_blocking(term.master, True)
            chunk = (CARD * (due // len(CARD) + 1))[:due]
            sent += os.write(term.master, chunk)
        time.sleep(0.005)
    os.set_blocking(term.master, True)
    return sent


def run(kind, display, stream, rate, seconds, scratch, xvfb_pid):
    owner = pwd.getpwnam('nobody') if kind == 'cutecom' else None
    term = Terminal(owner)
    start = start_tool if kind == 'tool' else start_cutecom
    proc, window = start(display, term, scratch)
    try:
        for _ in range(100):
            if holds(proc.pid, term.path):
                break
            time.sleep(0.1)
        else:
            raise RuntimeError(f'{kind} did not open {term.path}')
        time.sleep(1.0)  # settle
        pings = XPing(display)
        cpu0, rss0, x0 = cpu_seconds(proc.pid), rss_bytes(proc.pid), cpu_seconds(xvfb_pid)
        samples = []
        sent = feed(term, rate, seconds, pings, window, samples)
        stopped = time.monotonic()
        # Drained: the terminal's queue empty and the window answering again.
        drained = None
        while time.monotonic() - stopped < 300:
            if input_queue(term.keeper) == 0 and pings.round_trip(window, 0.5) is not None:
                drained = time.monotonic() - stopped
                break
            time.sleep(0.1)
        time.sleep(0.5)
        cpu1, rss1, x1 = cpu_seconds(proc.pid), rss_bytes(proc.pid), cpu_seconds(xvfb_pid)
        late = sorted((s if s is not None else 2.0) for s in samples)
        p95 = late[int(0.95 * (len(late) - 1))] if late else float('nan')
        return dict(kind=kind, stream=stream, sent=sent, cpu=cpu1 - cpu0, xcpu=x1 - x0, rss=rss1 - rss0, p95=p95,
                    missed=sum(1 for s in samples if s is None), pings=len(samples), drained=drained)
    finally:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
        term.close()


def main():
    global TOOL
    parser = argparse.ArgumentParser()
    parser.add_argument('--tool', required=True)
    parser.add_argument('--seconds', type=float, default=30)
    parser.add_argument('--flat-seconds', type=float, default=20)
    parser.add_argument('--only', choices=['tool', 'cutecom'])
    parser.add_argument('--streams', default='0,1,2,3', help='which of the four streams, by index')
    args = parser.parse_args()
    TOOL = args.tool
    display = ':%d' % (90 + os.getpid() % 9)
    xvfb = subprocess.Popen(['Xvfb', display, '-screen', '0', '1280x1024x24', '-ac', '-nolisten', 'tcp'],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.5)
    scratch = tempfile.mkdtemp()
    os.chmod(scratch, 0o755)
    streams = [('a card every 300 ms', ('cards', 0.3), args.seconds),
               ('11.5 KB/s (115200 baud)', 11520, args.seconds),
               ('92 KB/s (921600 baud)', 92160, args.seconds),
               ('flat out', None, args.flat_seconds)]
    streams = [streams[int(i)] for i in args.streams.split(',')]
    kinds = [args.only] if args.only else ['tool', 'cutecom']
    results = []
    try:
        for name, rate, seconds in streams:
            for kind in kinds:
                r = run(kind, display, name, rate, seconds, scratch, xvfb.pid)
                results.append(r)
                mb = r['sent'] / 1e6
                print(f"{name:30} {kind:8} received {mb:8.4f} MB  CPU {r['cpu']:7.2f} s "
                      f"({100 * r['cpu'] / seconds:5.2f} % of a core; X server {100 * r['xcpu'] / seconds:5.2f} %) = "
                      f"{r['cpu'] / mb if mb else float('nan'):6.3f} s/MB  memory {r['rss'] / max(1, r['sent']):7.2f} B/B  "
                      f"ping p95 {1000 * r['p95']:7.1f} ms ({r['missed']}/{r['pings']} unanswered in 2 s)  "
                      f"drained {'%.1f s' % r['drained'] if r['drained'] is not None else 'not within 300 s'}",
                      flush=True)
        if len(kinds) == 2:
            print('\nratios (this tool / CuteCom):')
            for name, _, _ in streams:
                t = next(r for r in results if r['stream'] == name and r['kind'] == 'tool')
                c = next(r for r in results if r['stream'] == name and r['kind'] == 'cutecom')
                per = lambda r: r['cpu'] / (r['sent'] / 1e6) if r['sent'] else float('nan')
                print(f"  {name:30} CPU per MB {per(t) / per(c) if per(c) else float('nan'):6.2f}")
    finally:
        xvfb.terminate()


if __name__ == '__main__':
    main()
