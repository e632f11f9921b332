#!/usr/bin/env python3
"""Random use of the whole program under Wine, as a hurried user gives it.

Starts velmo.exe in a Wine prefix and an Xvfb display of this run's own with a
few pictures (BMP, GIF with frames, .vlx with layers, PNG) and sends a seeded
random stream of real input through xdotool: clicks, drags and wheel turns,
mostly on the canvas and the floating windows; keys with and without
modifiers (every accelerator is among them); walks through the menus of
whatever window is found at run time; Escape, Return and Tab for dialogs;
text for edit fields. Every few seconds soak_probe.exe checks that the
program lives, answers a message within 5 s, shows no crash dialog and keeps
its memory and its GDI and USER objects within bounds.

The event list is a function of the seed alone (where an event lands is
worked out from the windows' places when it is sent), so a seed replays the
same list. A failure keeps the seed, the last events, a screenshot and the
program's log in its run folder; --replay FOLDER runs that seed again up to
the event that failed.

Files: the prefix's drive Z: is the run's own folder of pictures and the
user folders are plain folders, so Save, whatever folder its dialog shows,
writes only into the run's folders. The help viewer is switched off in the
prefix: it is another program.
"""
import argparse
import collections
import fcntl
import json
import os
import random
import resource
import select
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(SOURCE, 'tests', 'e2e'))
import bmp8  # noqa: E402

DEFAULT_RATE = 5.0            # events a second
CHECK_SECONDS = 3.0           # a full check (answer, counts, memory)
WHERE_SECONDS = 1.0           # the windows' places looked up again
SETTLE_CHECKS = 2             # checks after the last event
HISTORY = 300                 # events kept for a failure report
ANSWER_MISSES = 2             # checks in a row without an answer: hung
MEMORY_LIMIT_MB = 1536        # resident memory of the program
DATA_LIMIT_MB = 2560          # what the program may commit at all (host safety)
GDI_LIMIT = 2000
USER_LIMIT = 1000
START_SECONDS = 90            # until the frame shows after a start
PROBE_SECONDS = 30            # until the probe answers a report
SLOTS = 8                     # runs at once, each with its own prefix
SCREEN = (1280, 1024)
KEY = r'HKCU\Software\Korvane\Velmo'

TARGETS = [('canvas', 45), ('window', 30), ('bar', 10), ('client', 8), ('screen', 7)]
KINDS = [('click', 27), ('drag', 17), ('wheel', 7), ('key', 16), ('menu', 8),
         ('text', 7), ('dialog', 13), ('move', 5)]
MODIFIERS = [('', 35), ('ctrl+', 40), ('shift+', 10), ('alt+', 7), ('ctrl+shift+', 8)]
KEYS = (list('abcdefghijklmnopqrstuvwxyz0123456789') +
        ['F%d' % n for n in range(1, 13)] +
        ['Delete', 'Insert', 'Home', 'End', 'Prior', 'Next', 'Left', 'Right', 'Up', 'Down',
         'Escape', 'Return', 'Tab', 'space', 'BackSpace', 'plus', 'minus'])
DIALOG_KEYS = [('Escape', 30), ('Return', 25), ('Tab', 15), ('shift+Tab', 5), ('space', 8),
               ('n', 5), ('y', 4), ('Down', 4), ('Up', 4)]
# Keys that delete or rename files in a file dialog's list: the run would
# then damage its own prefix rather than test the program.
FILE_LIST_KEYS = {'Delete', 'F2'}
PICTURES = ['still.bmp', 'walk.gif', 'layers.vlx', 'tiles.png']


def weighted(rng, table):
    total = sum(w for _, w in table)
    r = rng.random() * total
    for value, w in table:
        r -= w
        if r < 0:
            return value
    return table[-1][0]


def text(rng):
    """What a user types into a field: a number, a word or a picture name."""
    r = rng.random()
    if r < 0.4:
        return str(rng.randrange(10 ** rng.randrange(1, 5)))
    if r < 0.6:
        return rng.choice(PICTURES)
    return ''.join(rng.choice('abcdefghijklmnopqrstuvwxyz0123456789')
                   for _ in range(rng.randrange(1, 9)))


def make_event(rng):
    """One event of the seeded list; where it lands is decided when sent."""
    kind = weighted(rng, KINDS)
    e = {'kind': kind, 'target': weighted(rng, TARGETS), 'pick': rng.random(),
         'x': rng.random(), 'y': rng.random()}
    if kind == 'click':
        e.update(button=1 if rng.random() < 0.85 else 3, count=2 if rng.random() < 0.1 else 1,
                 mod=weighted(rng, [('', 85), ('ctrl+', 8), ('shift+', 7)]))
    elif kind == 'drag':
        e.update(button=1 if rng.random() < 0.85 else 3,
                 path=[(rng.uniform(-0.5, 0.5), rng.uniform(-0.5, 0.5))
                       for _ in range(rng.randrange(1, 6))],
                 off=rng.random() < 0.2, ox=rng.random(), oy=rng.random())
    elif kind == 'wheel':
        e.update(button=rng.choice([4, 5]), count=rng.randrange(1, 6),
                 mod='ctrl+' if rng.random() < 0.3 else '')
    elif kind == 'key':
        e.update(key=weighted(rng, MODIFIERS) + rng.choice(KEYS))
    elif kind == 'menu':
        e.update(frame=rng.random() < 0.7, rights=rng.randrange(16), downs=rng.randrange(24),
                 subs=rng.randrange(16) if rng.random() < 0.3 else -1,
                 end='Return' if rng.random() < 0.85 else 'Escape')
    elif kind == 'text':
        e.update(text=text(rng))
    elif kind == 'dialog':
        e.update(key=weighted(rng, DIALOG_KEYS))
    elif kind == 'move':
        e.update(ox=rng.random(), oy=rng.random())
    return e


class State:
    """One report of soak_probe.exe."""

    def __init__(self, lines):
        self.answer = None          # milliseconds, or None
        self.answered = False
        self.gdi = self.user = None
        self.frame = None           # (iconic, rect)
        self.client = None
        self.bars, self.canvases, self.windows, self.crashes = [], [], [], []
        for line in lines:
            word, _, rest = line.partition(' ')
            f = rest.split()
            if word == 'answer' and f[0] != 'none':
                self.answered = True
                self.answer = int(f[0])
                if len(f) >= 5:
                    self.gdi, self.user = int(f[2]), int(f[4])
            elif word == 'frame':
                self.frame = (f[0] == '1', tuple(map(int, f[1:5])))
            elif word == 'client':
                self.client = tuple(map(int, f[:4]))
            elif word == 'bar':
                self.bars.append(tuple(map(int, f[:4])))
            elif word == 'canvas':
                self.canvases.append(tuple(map(int, f[:4])))
            elif word == 'window':
                self.windows.append({'enabled': f[0] == '1', 'files': f[1] == '1',
                                     'rect': tuple(map(int, f[2:6])),
                                     'client': tuple(map(int, f[6:10])), 'class': ' '.join(f[10:])})
            elif word == 'crash':
                self.crashes.append(rest)

    def file_dialog(self):
        return any(w['files'] for w in self.windows)


def clip(rect):
    x, y, w, h = rect
    left, top = max(x, 0), max(y, 0)
    right, bottom = min(x + w, SCREEN[0]), min(y + h, SCREEN[1])
    if right - left < 2 or bottom - top < 2:
        return None
    return (left, top, right - left, bottom - top)


def point_in(rect, fx, fy):
    x, y, w, h = rect
    return (x + min(int(fx * w), w - 1), y + min(int(fy * h), h - 1))


class Run:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build)
        self.rng = random.Random(args.seed)
        self.history = collections.deque(maxlen=HISTORY)
        self.sent = 0
        self.skipped = 0
        self.exits = 0
        self.starts = 0
        self.misses = 0
        self.checks = []
        self.fault = None
        self.faults = []            # (what, folder) of every fault seen
        self.velmo = None
        self.probe = None
        self.state = State([])
        self.frame_seen = 0.0
        stamp = time.strftime('%Y%m%d-%H%M%S')
        self.dir = os.path.abspath(os.path.join(args.out, 'seed%d-%s' % (args.seed, stamp)))
        self.files = os.path.join(self.dir, 'files')
        os.makedirs(self.files)
        self.log = open(os.path.join(self.dir, 'velmo.log'), 'ab')
        self.check_log = open(os.path.join(self.dir, 'checks.log'), 'w')

    # -- the Wine session of this run -------------------------------------

    def take_slot(self):
        """A prefix no other run uses now, held by a lock for the whole run."""
        soak = os.path.join(self.build, 'soak')
        os.makedirs(soak, exist_ok=True)
        for slot in range(1, SLOTS + 1):
            lock = open(os.path.join(soak, 'slot%d.lock' % slot), 'w')
            try:
                fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            except OSError:
                lock.close()
                continue
            self.slot_lock = lock
            return os.path.join(soak, 'prefix%d' % slot)
        sys.exit('soak: all %d prefixes are in use' % SLOTS)

    def wine_env(self):
        env = dict(os.environ)
        env.pop('DISPLAY', None)
        env.update(VELMO_BUILD_DIR=self.build, VELMO_WINEPREFIX=self.prefix,
                   WINEDEBUG=os.environ.get('WINEDEBUG', '-all,err+all'))
        return env

    def wine(self, *argv, **kw):
        return subprocess.run([os.path.join(SOURCE, 'scripts', 'wine-run')] + list(argv),
                              env=self.env, stdout=kw.get('stdout', subprocess.DEVNULL),
                              stderr=subprocess.DEVNULL, timeout=kw.get('timeout', 300))

    def start_session(self):
        self.prefix = self.take_slot()
        self.env = self.wine_env()
        subprocess.run([os.path.join(SOURCE, 'scripts', 'wine-session'), 'start', self.build],
                       env=self.env, check=True, stdout=subprocess.DEVNULL, timeout=900)
        for line in open(self.prefix + '.session.env'):
            if line.startswith('export DISPLAY='):
                self.env['DISPLAY'] = line.split('=', 1)[1].strip()
        self.confine_files()
        self.wine('reg', 'add', r'HKCU\Software\Wine\DllOverrides', '/v', 'winhlp32.exe',
                  '/d', '', '/f')
        self.wine('reg', 'delete', KEY, '/f')
        self.bin = os.path.join(self.prefix, 'drive_c', 'velmo')
        shutil.rmtree(self.bin, ignore_errors=True)
        os.makedirs(self.bin)
        for name in os.listdir(os.path.join(self.build, 'bin')):
            if name.endswith(('.exe', '.dll')):
                shutil.copy2(os.path.join(self.build, 'bin', name), self.bin)

    def confine_files(self):
        """Drive Z: becomes the run's folder of pictures; the user folders,
        links to the home folder in a new prefix, become plain folders."""
        z = os.path.join(self.prefix, 'dosdevices', 'z:')
        if os.path.lexists(z):
            os.remove(z)
        os.symlink(self.files, z)
        users = os.path.join(self.prefix, 'drive_c', 'users')
        for root, dirs, _ in os.walk(users):
            for d in dirs:
                path = os.path.join(root, d)
                if os.path.islink(path):
                    os.remove(path)
                    os.makedirs(path)

    def stop_session(self):
        for proc in (self.probe, self.velmo):
            if proc and proc.poll() is None:
                proc.kill()
        subprocess.run([os.path.join(SOURCE, 'scripts', 'wine-session'), 'stop', self.build],
                       env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # -- pictures ---------------------------------------------------------

    def make_pictures(self):
        palette = [((i * 37) % 256, (i * 91) % 256, (i * 53) % 256) for i in range(256)]
        rows = [[(x // 4 + y // 4) % 16 for x in range(64)] for y in range(48)]
        bmp8.write(os.path.join(self.files, 'still.bmp'), rows, palette)
        frames = []
        for n in range(3):
            path = os.path.join(self.dir, 'frame%d.bmp' % n)
            bmp8.write(path, [[(x + y + 5 * n) % 8 + 1 for x in range(32)] for y in range(32)],
                       palette)
            frames.append(path)
        subprocess.run(['convert', '-delay', '20'] + frames +
                       [os.path.join(self.files, 'walk.gif')], check=True)
        subprocess.run(['convert', os.path.join(self.files, 'still.bmp'), '-resize', '40x30!',
                        'png8:' + os.path.join(self.files, 'tiles.png')], check=True)
        self.wine(os.path.join(self.bin, 'velmo-cli.exe'), 'convert', r'Z:\walk.gif',
                  r'Z:\layers.vlx')
        missing = [p for p in PICTURES if not os.path.exists(os.path.join(self.files, p))]
        if missing:
            sys.exit('soak: could not make %s' % ', '.join(missing))

    # -- the program and the probe ----------------------------------------

    def start_velmo(self):
        limit = DATA_LIMIT_MB << 20

        def limit_data():
            os.setpgrp()
            resource.setrlimit(resource.RLIMIT_DATA, (limit, limit))

        self.velmo = subprocess.Popen(
            [os.path.join(SOURCE, 'scripts', 'wine-run'), os.path.join(self.bin, 'velmo.exe')] +
            ['Z:\\' + p for p in PICTURES], env=self.env, cwd=self.files, stdout=self.log,
            stderr=self.log, preexec_fn=limit_data)
        self.started = time.time()
        self.frame_seen = 0.0
        self.starts += 1

    def velmo_pid(self):
        """The Wine process of velmo.exe: the child of wine-run's shell."""
        parent = str(self.velmo.pid)
        for name in os.listdir('/proc'):
            if not name.isdigit():
                continue
            try:
                fields = open('/proc/%s/stat' % name).read().rsplit(')', 1)[1].split()
            except OSError:
                continue
            if fields[1] == parent:
                return name
        return None

    def memory_mb(self):
        pid = self.velmo_pid()
        if not pid:
            return None
        try:
            for line in open('/proc/%s/status' % pid):
                if line.startswith('VmRSS:'):
                    return int(line.split()[1]) // 1024
        except OSError:
            return None
        return None

    def start_probe(self):
        self.probe = subprocess.Popen(
            [os.path.join(SOURCE, 'scripts', 'wine-run'), os.path.join(self.bin, 'soak_probe.exe')],
            env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, cwd=self.files)

    def ask_probe(self):
        """A report, or None when the probe does not answer in time."""
        if self.probe is None or self.probe.poll() is not None:
            self.start_probe()
        try:
            self.probe.stdin.write(b'state\n')
            self.probe.stdin.flush()
        except OSError:
            self.probe = None
            return None
        lines, buf = [], b''
        deadline = time.time() + PROBE_SECONDS
        fd = self.probe.stdout.fileno()
        while time.time() < deadline:
            ready, _, _ = select.select([fd], [], [], deadline - time.time())
            if not ready:
                break
            chunk = os.read(fd, 65536)
            if not chunk:
                break
            buf += chunk
            while b'\n' in buf:
                line, buf = buf.split(b'\n', 1)
                line = line.decode('utf-8', 'replace').strip()
                if line == 'end':
                    return State(lines)
                lines.append(line)
        self.probe.kill()
        self.probe = None
        return None

    # -- checks -----------------------------------------------------------

    def check(self, full):
        """Looks at the program; sets self.fault when something is wrong."""
        rc = self.velmo.poll()
        if rc is not None:
            if rc != 0:
                self.fault = 'velmo.exe ended with exit code %d' % rc
                return
            # The user chose Exit (or closed the frame) and answered its
            # questions: a new start, as the user would make.
            self.exits += 1
            self.record('start', 'again after exit %d' % self.exits)
            self.start_velmo()
            return
        state = self.ask_probe()
        if state is None:
            self.fault = 'soak_probe.exe gave no report within %d s' % PROBE_SECONDS
            return
        self.state = state
        if state.crashes:
            self.fault = 'crash dialog: %s' % state.crashes[0]
            return
        now = time.time()
        if state.frame:
            self.frame_seen = now
        elif now - max(self.started, self.frame_seen) > START_SECONDS:
            self.fault = 'velmo.exe runs without a frame window for %d s' % START_SECONDS
            return
        if not full or not state.frame:
            return
        self.misses = 0 if state.answered else self.misses + 1
        if self.misses >= ANSWER_MISSES:
            self.fault = 'the frame did not answer within 5 s, %d checks in a row' % self.misses
            return
        memory = self.memory_mb()
        entry = {'time': round(now - self.begin, 1), 'events': self.sent, 'start': self.starts,
                 'memory_mb': memory, 'gdi': state.gdi, 'user': state.user,
                 'answer_ms': state.answer, 'canvases': len(state.canvases),
                 'windows': len(state.windows)}
        self.checks.append(entry)
        self.check_log.write(json.dumps(entry) + '\n')
        self.check_log.flush()
        if memory is not None and memory > MEMORY_LIMIT_MB:
            self.fault = 'memory %d MB over the bound of %d MB' % (memory, MEMORY_LIMIT_MB)
        elif state.gdi is not None and state.gdi > GDI_LIMIT:
            self.fault = '%d GDI objects, over the bound of %d' % (state.gdi, GDI_LIMIT)
        elif state.user is not None and state.user > USER_LIMIT:
            self.fault = '%d USER objects, over the bound of %d' % (state.user, USER_LIMIT)

    # -- input ------------------------------------------------------------

    def xdo(self, *argv):
        subprocess.run(['xdotool'] + [str(a) for a in argv], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def rects(self, target, pick):
        s = self.state
        frame = [s.frame[1]] if s.frame else []
        windows = [w for w in s.windows if w['enabled']]
        choices = {
            'canvas': s.canvases or ([s.client] if s.client else frame),
            'window': [w['client'] if pick < 0.85 else w['rect'] for w in windows] or frame,
            'bar': s.bars or frame,
            'client': [s.client] if s.client else frame,
            'screen': [],
        }[target]
        choices = [c for c in map(clip, choices) if c]
        if not choices:
            return (0, 0) + SCREEN
        return choices[int(pick * 997) % len(choices)]

    def caption(self, e):
        """A point on the caption of the frame or of another window."""
        s = self.state
        windows = [w for w in s.windows if w['enabled']]
        if (e.get('frame', False) or not windows) and s.frame:
            x, y, w, _ = s.frame[1]
        elif windows:
            x, y, w, _ = windows[int(e['pick'] * 997) % len(windows)]['rect']
        else:
            return None
        return (x + int(w * (0.1 + 0.5 * e['x'])), max(y + 8, 0))

    def send(self, e):
        """Sends one event; returns what it did, for the log."""
        kind = e['kind']
        if kind in ('click', 'drag', 'wheel'):
            rect = self.rects(e['target'], e['pick'])
            x, y = point_in(rect, e['x'], e['y'])
        if kind == 'click':
            argv = ['mousemove', x, y]
            mod = e['mod'].rstrip('+')
            if mod:
                argv += ['keydown', mod]
            argv += ['click', '--repeat', e['count'], e['button']]
            if mod:
                argv += ['keyup', mod]
            self.xdo(*argv)
            return 'click %d x%d at %d,%d %s' % (e['button'], e['count'], x, y, e['mod'])
        if kind == 'drag':
            argv = ['mousemove', x, y, 'mousedown', e['button']]
            px, py = x, y
            for dx, dy in e['path']:
                px = min(max(px + int(dx * rect[2]), 0), SCREEN[0] - 1)
                py = min(max(py + int(dy * rect[3]), 0), SCREEN[1] - 1)
                argv += ['sleep', '0.03', 'mousemove', px, py]
            if e['off']:
                px, py = int(e['ox'] * SCREEN[0]), int(e['oy'] * SCREEN[1])
                argv += ['sleep', '0.03', 'mousemove', px, py]
            argv += ['mouseup', e['button']]
            self.xdo(*argv)
            return 'drag %d from %d,%d to %d,%d' % (e['button'], x, y, px, py)
        if kind == 'wheel':
            mod = e['mod'].rstrip('+')
            argv = ['mousemove', x, y] + (['keydown', mod] if mod else [])
            argv += ['click', '--repeat', e['count'], e['button']]
            argv += ['keyup', mod] if mod else []
            self.xdo(*argv)
            return 'wheel %s x%d at %d,%d %s' % ('up' if e['button'] == 4 else 'down',
                                                 e['count'], x, y, e['mod'])
        if kind in ('key', 'dialog'):
            if self.state.file_dialog() and e['key'].split('+')[-1] in FILE_LIST_KEYS:
                self.skipped += 1
                return 'skipped %s (a file dialog is open)' % e['key']
            self.xdo('key', '--clearmodifiers', e['key'])
            return 'key %s' % e['key']
        if kind == 'text':
            self.xdo('type', '--delay', '20', '--', e['text'])
            return 'type %r' % e['text']
        if kind == 'menu':
            at = self.caption(e)
            if not at:
                return 'menu: no window'
            argv = ['mousemove', at[0], at[1], 'click', 1, 'key', 'F10']
            argv += ['key', 'Right'] * e['rights'] + ['key', 'Down']
            argv += ['key', 'Down'] * e['downs']
            if e['subs'] >= 0:
                argv += ['key', 'Right'] + ['key', 'Down'] * e['subs']
            argv += ['key', e['end']]
            self.xdo(*argv)
            return 'menu at %d,%d: right %d, down %d, sub %d, %s' % (
                at[0], at[1], e['rights'], e['downs'], e['subs'], e['end'])
        if kind == 'move':
            at = self.caption(e)
            if not at:
                return 'move: no window'
            to = (int(e['ox'] * SCREEN[0]), max(int(e['oy'] * SCREEN[1]), 8))
            self.xdo('mousemove', at[0], at[1], 'mousedown', 1, 'sleep', '0.05',
                     'mousemove', (at[0] + to[0]) // 2, (at[1] + to[1]) // 2, 'sleep', '0.05',
                     'mousemove', to[0], to[1], 'mouseup', 1)
            return 'move caption %d,%d to %d,%d' % (at[0], at[1], to[0], to[1])
        return kind

    def record(self, what, detail):
        self.history.append('%8.1f %6d %-6s %s' % (time.time() - self.begin, self.sent, what,
                                                    detail))

    # -- the run ----------------------------------------------------------

    def run(self):
        self.begin = time.time()
        self.start_session()
        try:
            self.make_pictures()
            self.start_velmo()
            self.loop()
        finally:
            if self.fault:
                self.keep_failure()
            self.stop_session()
        return self.report()

    def go_on(self):
        """With --keep-going: keeps the fault, ends every program of the
        prefix (the crash dialog with the rest) and starts velmo.exe again."""
        if not (self.fault and self.args.keep_going):
            return False
        self.keep_failure()
        subprocess.run(['wineserver', '-k'], env=dict(self.env, WINEPREFIX=self.prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        for proc in (self.probe, self.velmo):
            if proc:
                proc.kill()
                proc.wait()
        self.probe = None
        self.fault = None
        self.misses = 0
        self.state = State([])
        self.start_velmo()
        return True

    def loop(self):
        args = self.args
        interval = 1.0 / args.rate
        # Input starts once the first frame shows; the minutes count from then.
        while not self.fault and not self.frame_seen:
            self.check(full=False)
            time.sleep(0.5)
        self.check(full=True)
        end = time.time() + args.minutes * 60 if args.minutes else None
        next_event = next_check = next_where = time.time()
        while not self.fault or self.go_on():
            now = time.time()
            if (end and now >= end) or (args.events and self.sent >= args.events):
                break
            if now >= next_check:
                self.check(full=True)
                next_check = time.time() + CHECK_SECONDS
                next_where = time.time() + WHERE_SECONDS
                continue
            if now >= next_where:
                self.check(full=False)
                next_where = time.time() + WHERE_SECONDS
                continue
            if now < next_event:
                time.sleep(min(next_event, next_check, next_where) - now)
                continue
            e = make_event(self.rng)
            self.sent += 1
            self.record(e['kind'], json.dumps(e, sort_keys=True) + ' -> ' + self.send(e))
            # Behind by more than a second (a slow moment of the program or
            # of the machine): no burst to catch up.
            next_event = max(next_event + interval, time.time() - 1.0)
        # A fault the last events cause may take a moment to show.
        for _ in range(SETTLE_CHECKS):
            if self.fault:
                break
            time.sleep(CHECK_SECONDS)
            self.check(full=True)

    def keep_failure(self):
        folder = os.path.join(self.dir, 'failure%d' % (len(self.faults) + 1))
        os.makedirs(folder)
        self.faults.append((self.fault, folder))
        subprocess.run(['import', '-window', 'root', os.path.join(folder, 'screenshot.png')],
                       env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=60)
        with open(os.path.join(folder, 'events.log'), 'w') as f:
            f.write('\n'.join(self.history) + '\n')
        self.log.flush()
        shutil.copy(self.log.name, folder)
        with open(os.path.join(folder, 'failure.json'), 'w') as f:
            json.dump({'seed': self.args.seed, 'events': self.sent, 'rate': self.args.rate,
                       'fault': self.fault}, f)

    def report(self):
        first = self.checks[0] if self.checks else {}
        last = self.checks[-1] if self.checks else {}
        summary = {'seed': self.args.seed, 'minutes': round((time.time() - self.begin) / 60, 1),
                   'events': self.sent, 'skipped': self.skipped, 'starts': self.starts,
                   'exits': self.exits, 'faults': self.faults, 'first': first, 'last': last,
                   'folder': self.dir}
        with open(os.path.join(self.dir, 'summary.json'), 'w') as f:
            json.dump(summary, f, indent=1)
        print('soak: seed %d, %d events in %.1f min, %d starts (%d after Exit)' % (
            self.args.seed, self.sent, summary['minutes'], self.starts, self.exits))
        for name, c in (('first check', first), ('last check', last)):
            if c:
                print('soak: %s: %s MB, %s GDI, %s USER objects (start %d)' % (
                    name, c['memory_mb'], c['gdi'], c['user'], c['start']))
        for what, folder in self.faults:
            print('soak: FAULT: %s' % what)
            print('soak: kept in %s; replay: scripts/soak --replay %s' % (folder, folder))
        if self.faults:
            return 1
        print('soak: no fault; run folder %s' % self.dir)
        return 0


def main():
    p = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    p.add_argument('minutes', nargs='?', type=float, default=60)
    p.add_argument('seed', nargs='?', type=int)
    p.add_argument('--rate', type=float, default=DEFAULT_RATE, help='events a second')
    p.add_argument('--events', type=int, default=0, help='stop after this many events')
    p.add_argument('--replay', metavar='FOLDER',
                   help='run the seed of a failure folder again up to its last event')
    p.add_argument('--keep-going', action='store_true',
                   help='after a fault, keep it and start the program again')
    p.add_argument('--build', default=os.environ.get('VELMO_BUILD_DIR'))
    p.add_argument('--out', help='where run folders go (default BUILD/soak-runs)')
    args = p.parse_args()
    if not args.build:
        p.error('no build folder: --build or VELMO_BUILD_DIR')
    if args.replay:
        failure = json.load(open(os.path.join(args.replay, 'failure.json')))
        args.seed, args.events, args.rate = failure['seed'], failure['events'], failure['rate']
        args.minutes = 0
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1 << 31)
    args.out = args.out or os.path.join(args.build, 'soak-runs')
    # Stopped from outside (ctest's timeout, a kill), the run still ends its
    # display and Wine processes.
    for number in (signal.SIGTERM, signal.SIGINT):
        signal.signal(number, lambda *_: sys.exit('soak: stopped'))
    sys.exit(Run(args).run())


if __name__ == '__main__':
    main()
