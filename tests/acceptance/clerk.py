"""Drives the real vantik-worklist from outside, as a clerk or a screen reader
would: through the accessibility tree (AT-SPI), by role and accessible name."""

import os
import subprocess
import sys
import time

import pyatspi

DEFAULT_TIMEOUT = 30.0


class Failure(AssertionError):
    pass


def wait_for(condition, timeout=DEFAULT_TIMEOUT, what="a condition", interval=0.1):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = condition()
        except Exception:  # an object that went away between two calls, a text that changed
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


def role(acc):
    try:
        return acc.getRoleName()
    except Exception:
        return ""


def name(acc):
    try:
        return acc.name or ""
    except Exception:
        return ""


def children(acc):
    try:
        count = acc.childCount
    except Exception:
        return []
    found = []
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            child = None
        if child is not None:
            found.append(child)
    return found


def walk(acc, skip_tables=True):
    """Every object under acc, depth first; table cells are left out."""
    stack = [acc]
    while stack:
        node = stack.pop()
        yield node
        if skip_tables and role(node) == "table":
            continue
        stack.extend(reversed(children(node)))


def find_all(acc, role_name=None, name_is=None, name_starts=None):
    return [a for a in walk(acc)
            if (role_name is None or role(a) == role_name)
            and (name_is is None or name(a) == name_is)
            and (name_starts is None or name(a).startswith(name_starts))]


def find(acc, role_name=None, name_is=None, name_starts=None):
    for a in walk(acc):
        if ((role_name is None or role(a) == role_name)
                and (name_is is None or name(a) == name_is)
                and (name_starts is None or name(a).startswith(name_starts))):
            return a
    return None


def must_find(acc, role_name=None, name_is=None, name_starts=None, timeout=DEFAULT_TIMEOUT):
    what = "%s %r" % (role_name, name_is if name_is is not None else name_starts)
    return wait_for(lambda: find(acc, role_name, name_is, name_starts), timeout, what)


def press(acc):
    acc.queryAction().doAction(0)


def set_text(acc, text):
    acc.queryEditableText().setTextContents(text)


def text_of(acc):
    return acc.queryText().getText(0, -1)


def table_rows(table, columns):
    """The data rows of a grid (the header row is not among them), the given columns."""
    t = table.queryTable()
    return [[t.getAccessibleAt(r, c).name for c in columns] for r in range(t.nRows)]


def press_key(window, keycode):
    """A key on the keyboard, over the window (no window manager: focus follows the pointer)."""
    box = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "abs")
    time.sleep(0.2)
    pyatspi.Registry.generateKeyboardEvent(keycode, None, pyatspi.KEY_PRESSRELEASE)


KEY_ESCAPE = 9


class Program:
    """One running vantik-worklist, with a home folder (settings, user logs) of its own."""

    def __init__(self, executable, home, label):
        self.home = home
        self.label = label
        os.makedirs(home, exist_ok=True)
        env = dict(os.environ)
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                   QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANG="C.UTF-8")
        env.pop("QT_QPA_PLATFORM", None)
        self.output = open(os.path.join(home, "program.log"), "w")
        self.process = subprocess.Popen([executable], env=env, stdout=self.output, stderr=subprocess.STDOUT)
        self._pressers = []  # started, waiting for their press
        self._pressing = []
        self.app = wait_for(self._application, 60, "the program %s to appear" % label)

    def _application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                continue
        return None

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not end" % self.label)

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()
        for presser in self._pressers + self._pressing:
            if presser.poll() is None:
                presser.kill()
                presser.wait()
        self.output.close()

    def rss_kib(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    # Windows

    def window(self, title=None, starts=None, timeout=DEFAULT_TIMEOUT):
        return wait_for(lambda: self._window(title, starts), timeout, "window %r" % (title or starts))

    def _window(self, title, starts):
        for w in children(self.app):
            # Top-level QWidgets show as fillers, main windows as frames.
            if ((title is not None and name(w) == title) or (starts is not None and name(w).startswith(starts))):
                return w
        return None

    def windows(self, starts):
        return [w for w in children(self.app) if name(w).startswith(starts)]

    def message_box(self, timeout=DEFAULT_TIMEOUT):
        """The message box shown now: (its text, the box)."""
        def shown():
            for w in children(self.app):
                if role(w) in ("alert", "dialog") and name(w) != "Log In":
                    labels = [name(a) for a in find_all(w, "label") if name(a)]
                    if labels:
                        return max(labels, key=len), w
            return None
        return wait_for(shown, timeout, "a message box from %s" % self.label)

    def answer(self, box, button):
        press(must_find(box, "push button", button))

    # The clerk's steps

    def log_in(self, folder, user, password):
        dialog = self.window("Log In", timeout=60)
        set_text(must_find(dialog, "text", "Folder:"), folder)
        set_text(must_find(dialog, "text", "User name:"), user)
        set_text(must_find(must_find(dialog, "panel", "User"), "password text"), password)
        press(must_find(dialog, "push button", "OK"))
        self.main = self.window("VANTIK Claims Worklist", timeout=60)
        return self.main

    def control(self, role_name, control_name, window=None):
        return must_find(window or self.main, role_name, control_name)

    def type_into(self, box, text):
        set_text(self.control("text", box), text)

    def check(self, box, on):
        check = self.control("check box", box)
        if check.getState().contains(pyatspi.STATE_CHECKED) != on:
            press(check)

    def click(self, caption, window=None):
        press(self.control("push button", caption, window))

    def menu(self, caption):
        press(self.control("menu item", caption))

    def grid(self):
        return self.control("table", "Worklist")

    def status(self):
        """The status bar's message ("Status" when it shows none)."""
        return name(find(self.main, "status bar"))

    def press_later(self, role_name, control_name):
        """Presses a control from another process: a press returns only when the
        operation it starts has ended (or a question it asks is answered), and the
        check goes on meanwhile. Each press has a process of its own, started
        ahead (ready_to_press) so that it lands within milliseconds of the call."""
        if not self._pressers:
            self.ready_to_press()
        presser = self._pressers.pop(0)
        self._pressing.append(presser)
        presser.stdin.write("%s\t%s\n" % (role_name, control_name))
        presser.stdin.close()
        self.ready_to_press()

    def ready_to_press(self, count=1):
        while len(self._pressers) < count:
            # A press's own reply is lost when the program ends meanwhile: not a failure.
            self._pressers.append(subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve",
                                                    str(self.process.pid)],
                                                   stdin=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True))

    def refresh(self, expected_rows=None):
        self.click("Refresh")
        if expected_rows is not None:
            wait_for(lambda: self.grid().queryTable().nRows == expected_rows, what="the refreshed list")


def sql(vantik_sql, folder, statement):
    """Rows of a T-SQL statement run through the program's own data layer."""
    done = subprocess.run([vantik_sql, "--db", folder, statement], capture_output=True, text=True)
    if done.returncode != 0:
        raise Failure("vantik-sql failed: " + done.stderr)
    lines = done.stdout.rstrip("\n").split("\n")
    return [line.split("\t") for line in lines[1:]] if len(lines) > 1 else []


def _serve_presses(pid):
    """Reads one "role<TAB>name" line and presses that control in the program."""
    desktop = pyatspi.Registry.getDesktop(0)
    app = None
    for candidate in children(desktop):
        try:
            if candidate.get_process_id() == pid:
                app = candidate
        except Exception:
            continue
    if app is None:
        return 1
    line = sys.stdin.readline()
    if not line:
        return 0
    role_name, control_name = line.rstrip("\n").split("\t")
    for window in children(app):
        control = find(window, role_name, control_name)
        if control is not None:
            press(control)
            return 0
    return 1


if __name__ == "__main__" and len(sys.argv) == 3 and sys.argv[1] == "serve":
    sys.exit(_serve_presses(int(sys.argv[2])))
