"""Makes the pictures of the clerk's guide (docs/user-guide.md) from the real
vantik-worklist: drives it through its accessibility tree, as the acceptance
checks do, and captures one window at a time from the virtual display.

Started by scripts/screenshots.sh, which provides the display, the buses, a fresh
demo database in WORK/demo-db and the packages. Every input is fixed (the demo
database's seed, the dates typed, the program's clock), so a run over unchanged
windows gives the same pictures.

Usage: screenshots.py --worklist EXE --work DIR --out DIR [--faketime-lib LIB]
"""

import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "acceptance"))

import pyatspi  # noqa: E402

from clerk import Failure, Program, find, find_all, must_find, name, press, role, set_text, wait_for  # noqa: E402

# The program's clock: the morning after the demo data's last day, stopped, so that
# the times a window fills in and the user log's time stamps never change.
CLOCK = "2026-12-01 09:00:00"
MONTH = ("11/01/2026", "11/30/2026")
ONE_DAY = ("11/30/2026", "11/30/2026")
YEAR = ("01/01/2026", "11/30/2026")
# A spot of the screen that no window covers: the pointer waits there, so that no
# button is drawn hovered and no tooltip opens.
POINTER_REST = (1279, 0)
# Repainting after a change is asynchronous; this is ample on a loaded machine.
SETTLE = 0.8


class Camera:
    """Captures windows of the virtual display into PNG files."""

    def __init__(self, out, work):
        self.out = out
        self.work = work
        self.taken = []

    def shoot(self, window, filename, part=None, box=None):
        """The window (raised first), or the part of it that an accessible object
        or a box (x, y, width, height in screen coordinates) covers."""
        raise_window(name(window))
        pyatspi.Registry.generateMouseEvent(POINTER_REST[0], POINTER_REST[1], "abs")
        # No window keeps the keyboard: a blinking text cursor, or a window drawn
        # active in one run and inactive in the next, would make the pictures differ.
        # A window just shown takes the keyboard a moment later: let it, then take it.
        time.sleep(SETTLE)
        root = root_window()
        subprocess.run(["xdotool", "windowfocus", root], check=True)
        wait_for(lambda: subprocess.run(["xdotool", "getwindowfocus"], capture_output=True,
                                        text=True).stdout.strip() == root, 10, "the keyboard to leave the windows")
        time.sleep(SETTLE)
        if box is None:
            box = extents(part if part is not None else window)
        x, y, width, height = box
        if width <= 0 or height <= 0:
            raise Failure("%s: nothing to capture (%r)" % (filename, box))
        # ImageMagick's own format: nothing lost, nothing to compress.
        screen = os.path.join(self.work, "screen.miff")
        subprocess.run(["import", "-window", "root", screen], check=True)
        target = os.path.join(self.out, filename)
        # -strip leaves out the time stamps and profile, which differ between runs; a
        # window holds few colours, and 256 of them look the same at half the size.
        subprocess.run(["convert", screen, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", "-strip",
                        "-dither", "None", "-colors", "256", "-define", "png:compression-level=9",
                        "PNG8:" + target], check=True)
        self.taken.append(filename)
        print("  " + filename, flush=True)


def extents(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def x_window(title):
    """The window system's identifier of the shown window of that title."""
    listed = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], capture_output=True, text=True)
    for window_id in listed.stdout.split():
        shown = subprocess.run(["xdotool", "getwindowname", window_id], capture_output=True, text=True).stdout
        shown = shown.rstrip("\n")
        # The window system's title adds the program's name after a dash.
        if shown == title or shown.startswith(title + " \u2014 "):
            return window_id
    raise Failure("no window titled %r on the display" % title)


def root_window():
    return subprocess.run(["xdotool", "search", "--maxdepth", "0", "--name", ""], capture_output=True, text=True,
                          check=True).stdout.split()[0]


def raise_window(title):
    """Puts the window on top. There is no window manager: windows stack where
    they were made, and raising one is up to us."""
    subprocess.run(["xdotool", "windowraise", x_window(title)], check=True)


def press_escape(title):
    """Esc in that window. Without a window manager the keyboard stays with the
    window that last took it, not the one on top: the window is given it first."""
    window_id = x_window(title)
    subprocess.run(["xdotool", "windowraise", window_id], check=True)
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True)
    subprocess.run(["xdotool", "key", "Escape"], check=True)


def click_at(acc):
    """A real click of the first mouse button in the middle of the object."""
    x, y, width, height = extents(acc)
    pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, "b1c")


def box_in(window, field):
    """The text box (or the text of the combo box) that a label names."""
    found = wait_for(lambda: next((a for a in find_all(window, None, field) if role(a) in ("text", "combo box")),
                                  None), what="the box %r" % field)
    return must_find(found, "text") if role(found) == "combo box" else found


def page(window, caption):
    press(must_find(window, "page tab", caption))


def label_starting(window, text, timeout=30):
    return wait_for(lambda: find(window, "label", name_starts=text), timeout, "the text %r" % text)


def missing_of(window):
    label = wait_for(lambda: find(window, "label", name_starts="Missing: ") or find(window, "label",
                                                                                    "Nothing is missing."),
                     what="the missing line")
    text = name(label)
    return set(text[len("Missing: "):].split("; ")) if text.startswith("Missing: ") else set()


class Clerk:
    """The clerk's steps in one running program."""

    def __init__(self, program, camera):
        self.program = program
        self.camera = camera
        self.main = None

    def window(self, title=None, starts=None, timeout=60):
        return self.program.window(title, starts, timeout)

    def grid(self):
        return must_find(self.main, "table", "Worklist")

    def listed(self):
        """The count label once it agrees with the grid: the refresh has ended."""
        rows = self.grid().queryTable().nRows
        counts = [name(label) for label in find_all(self.main, "label") if name(label).isdigit()]
        return (rows,) if counts and int(counts[0]) == rows else None

    def list_patients(self, dates, id_num="", hosp_num=""):
        set_text(must_find(self.main, "text", "IDNum"), id_num)
        set_text(must_find(self.main, "text", "HospNum"), hosp_num)
        set_text(must_find(self.main, "text", "Start Date"), dates[0])
        set_text(must_find(self.main, "text", "End Date"), dates[1])
        press(must_find(self.main, "push button", "Refresh"))
        return wait_for(self.listed, 60, "the list")[0]

    def column(self, index):
        table = self.grid().queryTable()
        return [table.getAccessibleAt(r, index).name for r in range(table.nRows)]

    def wait_until_idle(self, timeout=300):
        """Until a batch pass ends: the status bar shows no row and the grid is enabled."""
        def idle():
            status = name(find(self.main, "status bar"))
            return ": row " not in status and self.grid().getState().contains(pyatspi.STATE_SENSITIVE)
        wait_for(idle, timeout, "the pass to end", interval=0.2)

    def close(self, window):
        """As the clerk closes a window: its Close button, else Esc."""
        title = name(window)
        button = find(window, "push button", "Close")
        if button is not None:
            press(button)
        else:
            press_escape(title)
        wait_for(lambda: not self.program.windows(title), 30, "the window %r to close" % title)


# The pictures, in the order the clerk meets them ------------------------------


def log_in(clerk):
    program, camera = clerk.program, clerk.camera
    dialog = clerk.window("Log In")
    # A folder relative to the program's working folder: the same text on every run.
    set_text(must_find(dialog, "text", "Folder:"), "demo-db")
    set_text(must_find(dialog, "text", "User name:"), "clerk")
    set_text(must_find(must_find(dialog, "panel", "User"), "password text"), "clerk123")
    camera.shoot(dialog, "login.png")
    press(must_find(dialog, "push button", "OK"))
    clerk.main = program.main = clerk.window("VANTIK Claims Worklist")


def worklist(clerk):
    clerk.list_patients(MONTH)
    clerk.camera.shoot(clerk.main, "worklist.png")
    tabs = must_find(clerk.main, "filler", "Filters and options")
    for caption, filename in (("Other", "tab-other.png"), ("Options", "tab-options.png")):
        page(clerk.main, caption)
        clerk.camera.shoot(clerk.main, filename, part=tabs)
    page(clerk.main, "Filter")


def open_claim_form(clerk, idnum):
    clerk.list_patients(("", ""), idnum)
    press(must_find(clerk.main, "push button", "Claim Form"))
    return clerk.window("CF4 Entries - " + idnum)


def claim_form(clerk):
    """A listed, unverified claim form that lacks its height/weight (and at most its
    GU(IE)): refused once, then completed and verified in its entry window."""
    camera = clerk.camera
    ids, verifiers = clerk.column(1), clerk.column(12)
    chosen = None
    for idnum, verified_by in list(zip(ids, verifiers))[:60]:
        if verified_by.strip():
            continue
        window = open_claim_form(clerk, idnum)
        missing = missing_of(window)
        if "height/weight" in missing and missing <= {"height/weight", "GU(IE)"}:
            chosen = idnum
            break
        press(must_find(window, "push button", "Close"))
        wait_for(lambda: not clerk.program.windows("CF4 Entries - " + idnum), what="the entry window to close")
    if chosen is None:
        raise Failure("no listed claim form lacks just its height/weight and GU(IE)")
    camera.shoot(window, "cf4-summary.png")

    page(window, "Height/weight")
    set_text(box_in(window, "Height (cm)"), "158")
    set_text(box_in(window, "Weight (kg)"), "525")
    press(must_find(window, "push button", "Save the height and weight"))
    label_starting(window, "Weight (kg): ")
    camera.shoot(window, "cf4-refused.png")

    set_text(box_in(window, "Weight (kg)"), "52.5")
    press(must_find(window, "push button", "Save the height and weight"))
    label_starting(window, "Saved the height/weight.")
    camera.shoot(window, "cf4-saved.png")

    page(window, "Physical exam")
    camera.shoot(window, "cf4-exam.png")
    if "GU(IE)" in missing:
        set_text(box_in(window, "Finding:"), "Not Assessed")
        press(must_find(window, "push button", "Save the GU(IE) finding"))
        label_starting(window, "Saved the GU(IE)")
    mark = must_find(window, "push button", "Mark verified")
    wait_for(lambda: mark.getState().contains(pyatspi.STATE_SENSITIVE), what="Mark verified to be offered")
    camera.shoot(window, "cf4-complete.png")
    press(mark)
    label_starting(window, "Marked verified by CLERK.")
    clerk.close(window)
    clerk.list_patients(MONTH)


def days_used(clerk):
    """The patient of the year's list with the most admissions: a window with stays to count."""
    clerk.list_patients(YEAR)
    numbers = clerk.column(0)
    patient = max(numbers, key=lambda number: (numbers.count(number), -numbers.index(number)))
    clerk.list_patients(YEAR, hosp_num=patient)
    press(must_find(clerk.main, "push button", "Check Days Used"))
    window = clerk.window(starts="Days Used ")
    clerk.camera.shoot(window, "days-used.png")
    clerk.close(window)
    clerk.list_patients(MONTH)


def height_weight_colours(clerk):
    page(clerk.main, "Options")
    press(must_find(clerk.main, "push button", "Check HT/WT"))
    page(clerk.main, "Filter")
    # The coloured column and its neighbours, a screenful of rows.
    x, y, width, height = extents(clerk.grid())
    clerk.camera.shoot(clerk.main, "check-htwt.png", box=(x, y, min(width, 440), min(height, 300)))


def gu_marking(clerk):
    activity = must_find(clerk.main, "text", "Activity log")
    clerk.program.press_later("menu item", "Mark listed male patient GU to 'not applicable'")
    wait_for(lambda: activity.queryText().getText(0, -1).startswith("Marked: "), 60, "the first marking")
    clerk.wait_until_idle()
    clerk.camera.shoot(clerk.main, "gu-marking.png")


def drug_update(clerk):
    page(clerk.main, "Other")
    press(must_find(clerk.main, "push button", "Drug Batch Update"))
    page(clerk.main, "Filter")
    window = clerk.window("Batch Update")
    press(must_find(window, "push button", "List Drugs"))
    drugs = must_find(window, "table", "Drugs of the listed patients")
    wait_for(lambda: drugs.queryTable().nRows > 2, 60, "the drugs to be listed")
    raise_window("Batch Update")
    time.sleep(SETTLE)
    # The first record (the grid's first row stays empty by design).
    click_at(drugs.queryTable().getAccessibleAt(1, 1))
    drug = name(drugs.queryTable().getAccessibleAt(1, 1))
    wait_for(lambda: any(box.queryText().getText(0, -1) == drug for box in find_all(window, "text")),
             what="the clicked drug in the boxes")
    clerk.camera.shoot(window, "drug-update.png")
    # It has no Close button and the display no window manager to close it: it stays,
    # below the windows raised after it.


def print_preview(clerk):
    clerk.program.press_later("push button", "Print List")
    window = clerk.window("Claims Worklist - Print Preview")
    time.sleep(2)  # the preview draws its pages after it shows
    clerk.camera.shoot(window, "print-preview.png")
    clerk.close(window)


def report(clerk):
    press(must_find(clerk.main, "menu item", "Accomplisment Report (by Attending Dr)"))
    window = clerk.window("Report")
    wait_for(lambda: must_find(window, "table", "Accomplishment report").queryTable().nRows > 1,
             what="the report's rows")
    clerk.camera.shoot(window, "report.png")
    clerk.close(window)


def chart(clerk):
    press(must_find(clerk.main, "menu item", "Chart"))
    window = clerk.window("Graph Chart")
    set_text(must_find(window, "text", "Start Date"), YEAR[0])
    set_text(must_find(window, "text", "End date"), YEAR[1])
    press(must_find(window, "push button", "Refresh"))
    wait_for(lambda: "ClaimDateReceived" in must_find(window, "text", "Chart query").queryText().getText(0, -1),
             what="the chart's refresh")
    clerk.camera.shoot(window, "chart.png")


def validation(clerk):
    rows = clerk.list_patients(ONE_DAY)
    if rows < 2:
        raise Failure("only %d rows listed on %s" % (rows, ONE_DAY[0]))
    last = "Checking " + clerk.column(1)[-1]
    log = clerk.window("User Log")
    text = must_find(log, "text", "User log")
    page(clerk.main, "Options")
    clerk.program.press_later("push button", "All  Listed: Validate Requirements")
    # The last row's two lines: "Checking <id>", then its finding.
    wait_for(lambda: text.queryText().getText(0, -1).rstrip("\n").split("\n")[-2].endswith(last), 300,
             "the validation to reach its last row", interval=0.2)
    clerk.wait_until_idle()
    page(clerk.main, "Filter")
    # The end of the log in view, as the clerk would scroll to it.
    text.queryText().setCaretOffset(text.queryText().characterCount)
    clerk.camera.shoot(log, "user-log.png")


def ecf4_check(clerk):
    clerk.list_patients(MONTH)
    activity = must_find(clerk.main, "text", "Activity log")
    page(clerk.main, "Other")
    clerk.program.press_later("push button", "All Listed: Check eCF4")
    wait_for(lambda: activity.queryText().getText(0, -1).startswith("eCF4 checked: "), 300, "the eCF4 check to end",
             interval=0.2)
    clerk.wait_until_idle()
    clerk.camera.shoot(clerk.main, "ecf4-check.png")
    page(clerk.main, "Filter")


def philhealth_codes(clerk):
    # Over the month listed by the eCF4 check before.
    clerk.program.press_later("menu item", "PhilHealth Codes\u2026")
    window = clerk.window("PhilHealth Codes")
    drugs = must_find(window, "table", "Drugs without a code (most frequent first)")
    wait_for(lambda: drugs.queryTable().nRows > 0, 120, "the uncoded drugs to be listed")
    raise_window("PhilHealth Codes")
    time.sleep(SETTLE)
    clerk.camera.shoot(window, "philhealth-codes.png")
    clerk.close(window)


STEPS = [log_in, worklist, claim_form, days_used, height_weight_colours, gu_marking, drug_update, print_preview,
         report, chart, validation, ecf4_check, philhealth_codes]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--worklist", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--faketime-lib", default="")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    clock = {}
    if args.faketime_lib:
        # The wall clock stands still; timers run on the monotonic clock, left alone.
        clock = {"LD_PRELOAD": args.faketime_lib, "FAKETIME": CLOCK, "FAKETIME_DONT_FAKE_MONOTONIC": "1"}
    program = Program(args.worklist, os.path.join(args.work, "home"), "screenshots", extra_env=clock,
                      cwd=args.work)
    clerk = Clerk(program, Camera(args.out, args.work))
    try:
        for step in STEPS:
            print(step.__name__, flush=True)
            step(clerk)
    finally:
        program.stop()
    print("%d pictures in %s" % (len(clerk.camera.taken), args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
