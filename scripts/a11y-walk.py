#!/usr/bin/python3
"""Walks every window of Tavora through the desktop's accessibility bus (AT-SPI), as a screen
reader sees them, and lists every control that takes input or shows a result but has no name. It
starts Tavora itself and drives it window by window, as an operator would: AT-SPI actions for
buttons, radio buttons and menu items, the keyboard and the mouse (xdotool) for typing and for
picking grid cells. It also plays what others do to Tavora: a program holding the boards' status
port at start, a second copy started, another workstation holding and changing the input table.

Run by scripts/a11y-check.sh, which starts the X server, the buses and the boards, and names
Tavora (A11Y_TAVORA), a folder for its output (A11Y_WORK), a data folder without a System
Definition Table (TAVORA_DATA_DIR) and a configuration (TAVORA_CONFIG) whose board 2 never
answers and whose first file listing fails. Exit status 0 when no control lacks a name.
"""

import fcntl
import json
import os
import socket
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

# Roles of what an operator works with or reads a result from. Statics name themselves by the
# text they show; containers, scroll bars, separators and pictures are not read as controls.
CONTROL_ROLES = {
    "push button", "toggle button", "radio button", "check box", "combo box", "text", "entry",
    "password text", "spin button", "slider", "list", "list box", "list item", "table",
    "table cell", "table column header", "table row header", "column header", "row header",
    "menu", "menu item", "check menu item", "radio menu item", "page tab",
}
# A window itself is read by its title. ("frame" inside a window is a drawn border.)
WINDOW_ROLES = {"dialog", "frame", "alert", "window"}


def role_of(acc):
    try:
        return acc.getRoleName()
    except GLib.Error:
        return "?"


def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except GLib.Error:
        return []


class Walk:
    def __init__(self):
        self.windows = 0
        self.controls = 0
        self.blank_cells = 0
        self.unnamed = []

    def window(self, win, step):
        """Lists the window's controls without a name."""
        self.windows += 1
        before = len(self.unnamed)
        counted = 1
        self.controls += 1
        if role_of(win) not in WINDOW_ROLES or not (win.name or "").strip():
            self.unnamed.append(f"{role_of(win)} '{win.name}' (the window)")
        for child in children(win):
            counted += self._walk(child, [f"{role_of(win)} '{win.name}'",
                                          f"{role_of(child)} '{child.name}'"])
        missing = len(self.unnamed) - before
        print(f"{step}: {role_of(win)} '{win.name}': {counted} controls"
              + (f", {missing} WITHOUT A NAME" if missing else ", every one named"))
        for path in self.unnamed[before:]:
            print(f"    no name: {path}")

    def _walk(self, acc, path):
        counted = 0
        role = role_of(acc)
        if role in CONTROL_ROLES:
            counted += 1
            self.controls += 1
            if not (acc.name or "").strip() and not self._blank_cell_of_named_column(acc, role):
                self.unnamed.append(" > ".join(path))
        for child in children(acc):
            counted += self._walk(child, path + [f"{role_of(child)} '{child.name}'"])
        return counted

    def _blank_cell_of_named_column(self, acc, role):
        # An empty cell is read as its column's header and "blank"; it needs no name of its own
        # when every column of its table has a named header.
        if role != "table cell":
            return False
        table = acc.parent
        headers = [c for c in children(table) if role_of(c) == "table column header"]
        if headers and all((h.name or "").strip() for h in headers):
            self.blank_cells += 1
            return True
        return False


class Tavora:
    """A Tavora the walk started, reached through the accessibility bus by its process."""

    started = []

    def __init__(self, run, timeout=20):
        log = open(os.path.join(os.environ["A11Y_WORK"], f"tavora-{run}.log"), "w")
        self.process = subprocess.Popen([os.environ["A11Y_TAVORA"]], stdout=log,
                                        stderr=subprocess.STDOUT)
        Tavora.started.append(self.process)
        desktop = pyatspi.Registry.getDesktop(0)
        deadline = time.time() + timeout
        self.app = None
        while self.app is None:
            for app in children(desktop):
                try:
                    if app is not None and app.get_process_id() == self.process.pid:
                        self.app = app
                except GLib.Error:
                    pass
            if self.app is None:
                if time.time() > deadline or self.process.poll() is not None:
                    raise SystemExit(f"a11y-walk: Tavora ({run}) is not on the accessibility bus")
                time.sleep(0.2)

    def wait_end(self, timeout=10):
        """The exit status once the program has ended by itself."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise SystemExit("a11y-walk: Tavora is still running") from None

    @classmethod
    def end_all(cls):
        for process in cls.started:
            if process.poll() is None:
                process.kill()
                process.wait()

    def windows(self):
        shown = []
        for win in children(self.app):
            try:
                if win.getState().contains(pyatspi.STATE_SHOWING):
                    shown.append(win)
            except GLib.Error:
                pass
        return shown

    def wait_window(self, name, timeout=40):
        deadline = time.time() + timeout
        while time.time() < deadline:
            for win in self.windows():
                if win.name == name:
                    time.sleep(0.3)  # let it finish filling
                    return win
            time.sleep(0.1)
        raise SystemExit(f"a11y-walk: the window '{name}' did not appear; shown: "
                         + ", ".join(f"'{w.name}'" for w in self.windows()))

    def wait_gone(self, win, timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if all(w.name != win.name for w in self.windows()):
                return
            time.sleep(0.1)

    @staticmethod
    def find(acc, role, name=None):
        if role_of(acc) == role and (name is None or acc.name == name):
            return acc
        for child in children(acc):
            found = Tavora.find(child, role, name)
            if found is not None:
                return found
        return None

    def get(self, win, role, name=None):
        found = self.find(win, role, name)
        if found is None:
            raise SystemExit(f"a11y-walk: no {role} '{name}' in '{win.name}'")
        return found

    @staticmethod
    def act(acc, action=None):
        """Runs the control's action (its first, or the one named). An action that opens a
        modal window answers only when that window closes, so the answer is not waited for."""
        actions = acc.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        index = names.index(action) if action else 0
        Atspi.set_timeout(800, -1)
        try:
            actions.doAction(index)
        except GLib.Error:
            pass
        finally:
            Atspi.set_timeout(25000, -1)
        time.sleep(0.3)

    def press(self, win, role, name):
        self.act(self.get(win, role, name))

    def menu(self, *path):
        main = [w for w in self.windows() if w.name.startswith("Tavora")][0]
        item = self.get(self.get(main, "menu bar"), "menu item", path[0])
        for name in path[1:]:
            item = self.get(item, "menu item", name)
        self.act(item)

    @staticmethod
    def click(acc):
        box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                        str(box.y + box.height // 2), "click", "1"], check=True)
        time.sleep(0.3)

    @staticmethod
    def focus(acc):
        acc.queryComponent().grabFocus()
        time.sleep(0.2)

    @staticmethod
    def keys(*keys):
        subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True)
        time.sleep(0.3)

    @staticmethod
    def type(text):
        subprocess.run(["xdotool", "type", "--delay", "50", text], check=True)
        time.sleep(0.3)

    def focused(self, acc):
        try:
            if acc.getState().contains(pyatspi.STATE_FOCUSED):
                return acc
        except GLib.Error:
            return None
        for child in children(acc):
            found = self.focused(child)
            if found is not None:
                return found
        return None

    def tab_order(self, win, stops):
        """What a reader says at each Tab from the control that has the focus."""
        said = []
        for _ in range(stops):
            now = self.focused(win)
            said.append(f"{role_of(now)} '{now.name}'" if now is not None else "(nothing)")
            self.keys("Tab")
        return said

    def cell(self, win, row, col):
        table = self.get(win, "table")
        return table.queryTable().getAccessibleAt(row, col)

    def type_cell(self, win, row, col, text):
        self.click(self.cell(win, row, col))
        self.type(text)
        self.keys("Return")


def lock_offset(name):
    """The byte of the data folder's lock file that stands for a file name: FNV-1a over the name
    in capitals, as platform/control/README.md says."""
    value = 2166136261
    for byte in name.upper().encode():
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return 1 + value % (1 << 30)


class OtherWorkstation:
    """Another workstation on the data folder: holds a file's lock and writes the file."""

    def __init__(self):
        self.folder = os.environ["TAVORA_DATA_DIR"]
        self.lock_file = None

    def lock(self, name):
        self.lock_file = open(os.path.join(self.folder, ".tavora.lock"), "a+b")
        fcntl.lockf(self.lock_file, fcntl.LOCK_EX | fcntl.LOCK_NB, 1, lock_offset(name))

    def unlock(self):
        self.lock_file.close()
        self.lock_file = None

    def append(self, name, line):
        with open(os.path.join(self.folder, name), "ab") as table:
            table.write(line)


def start_with_status_port_taken(walk):
    """Another program holds the port the boards report to: Tavora says so and does not start."""
    with open(os.environ["TAVORA_CONFIG"]) as config:
        port = json.load(config)["statusPort"]
    squatter = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    squatter.bind(("127.0.0.1", port))
    try:
        t = Tavora("port-taken")
        box = t.wait_window("tavora")
        walk.window(box, "status port taken")
        t.press(box, "push button", "OK")
        if t.wait_end() != 1:
            raise SystemExit("a11y-walk: Tavora did not end when the status port was taken")
    finally:
        squatter.close()


def second_copy(walk):
    """A second copy started while Tavora runs: it says so and ends."""
    t = Tavora("second-copy")
    box = t.wait_window("tavora")
    walk.window(box, "second copy")
    t.press(box, "push button", "OK")
    t.wait_end()


def items(acc):
    return [c.name for c in children(acc) if role_of(c) == "list item"]


def main():
    walk = Walk()
    try:
        start_with_status_port_taken(walk)
        walk_tavora(walk)
    finally:
        Tavora.end_all()
    print(f"a11y walk: {walk.windows} windows walked, {walk.controls} controls, "
          f"{len(walk.unnamed)} without a name"
          + (f" ({walk.blank_cells} blank grid cells read by their column's header)"
             if walk.blank_cells else ""))
    return 1 if walk.unnamed else 0


def walk_tavora(walk):
    t = Tavora("walked")

    # The first start: the question, with the please-wait window still up behind it.
    question = t.wait_window("Load System Definition Table")
    for win in t.windows():
        if win.name == "Tavora" and role_of(win) == "dialog":
            walk.window(win, "start")
    walk.window(question, "start")
    t.press(question, "push button", "Yes")

    # The System Definition Table from scratch: board ranges, a row, its idle inputs.
    sysdef = t.wait_window("System Definition")
    walk.window(sysdef, "new table")
    t.type_cell(sysdef, 0, 4, "16")
    t.type_cell(sysdef, 0, 5, "16")
    t.click(t.cell(sysdef, 0, 0))
    walk.window(sysdef, "ranges typed, row selected")
    t.press(sysdef, "push button", "Idle Inputs")
    idle = t.wait_window("Idle Inputs - MAIN - VIDEO")
    t.type_cell(idle, 0, 0, "112")
    t.type_cell(idle, 0, 1, "16")
    walk.window(idle, "idle inputs")
    t.press(idle, "push button", "OK")
    t.wait_gone(idle)
    t.press(sysdef, "push button", "Idle Outputs")
    idle = t.wait_window("Idle Outputs - MAIN - VIDEO")
    walk.window(idle, "idle outputs")
    t.press(idle, "push button", "Cancel")
    t.wait_gone(idle)
    t.press(sysdef, "push button", "OK")

    main_win = t.wait_window("Tavora")
    walk.window(main_win, "main window")
    second_copy(walk)

    # A remap: input 5 of MAIN VIDEO to the idle 112; board 2 never answers.
    t.press(main_win, "radio button", "INPUT")
    main_win = t.wait_window("Tavora - TAV.IXT")
    t.press(main_win, "radio button", "Single Input")
    t.click(t.get(main_win, "radio button", "INPUT"))
    print("tab order, main window: " + " > ".join(t.tab_order(main_win, 11)))
    # Tab from the number to the spare ports' list, as an operator goes; Down picks the first.
    t.focus(t.get(main_win, "text", "Original Input"))
    t.type("5")
    t.keys("Tab", "Down", "Tab")
    t.type("card 1")
    walk.window(main_win, "remap filled in")
    t.press(main_win, "push button", "Remap")
    confirm = t.wait_window("Tavora - REMAP")
    walk.window(confirm, "remap question")
    t.press(confirm, "push button", "Proceed")
    progress = t.wait_window("Send Remap Data...")
    walk.window(progress, "boards being told")
    warning = t.wait_window("Warning", timeout=45)
    walk.window(warning, "a board did not answer")
    t.press(warning, "push button", "Show Details...")
    walk.window(warning, "a board did not answer, details shown")
    details = t.get(warning, "text", "Details").queryText()
    print("    details: " + " / ".join(details.getText(0, -1).splitlines()))
    t.press(warning, "push button", "OK")
    t.wait_gone(warning)
    walk.window(progress, "boards' answers")
    sent = t.get(progress, "list", "Send Notification to Board:")
    print("    sent list: " + ", ".join(f"'{name}'" for name in items(sent)))
    t.press(progress, "push button", "OK")
    t.wait_gone(progress)

    # The same remap again, while another workstation holds the input table and adds a remap of
    # its own: the wait, the table read again, then the question about a remap in force.
    other = OtherWorkstation()
    other.lock("TAV.IXT")
    t.focus(t.get(main_win, "text", "Original Input"))
    t.type("5")
    t.keys("Tab", "Down")
    t.press(main_win, "push button", "Remap")
    waiting = t.wait_window("Tavora")
    walk.window(waiting, "another workstation changing the table")
    other.append("TAV.IXT", b"02:14:05,March 03 2026,MAIN,VIDEO,0,7,7,113,113,other\r\n")
    other.unlock()
    read_again = t.wait_window("tavora")
    walk.window(read_again, "table read again")
    t.press(read_again, "push button", "OK")
    t.wait_gone(read_again)
    confirm = t.wait_window("Tavora - REMAP")
    t.press(confirm, "push button", "Proceed")
    conflict = t.wait_window("tavora")
    walk.window(conflict, "conflict question")
    t.press(conflict, "push button", "No")
    t.wait_gone(conflict)

    # A port the level does not have.
    t.focus(t.get(main_win, "text", "Original Input"))
    t.keys("ctrl+a")
    t.type("500")
    invalid = t.wait_window("tavora")
    walk.window(invalid, "invalid port")
    t.press(invalid, "push button", "OK")
    t.wait_gone(invalid)
    t.focus(t.get(main_win, "text", "Original Input"))
    t.keys("ctrl+a", "BackSpace")

    # The input remap table: a row picked, the question before Restore (not carried out).
    t.menu("View", "Input Remap Table...")
    view = t.wait_window("Input Remap Table - TAV.IXT")
    walk.window(view, "input remap table")
    t.click(t.cell(view, 0, 0))
    t.press(view, "push button", "Restore")
    restore = t.wait_window("Tavora - RESTORE")
    walk.window(restore, "restore question")
    t.press(restore, "push button", "Cancel")
    t.wait_gone(restore)
    t.press(view, "push button", "Close")
    t.wait_gone(view)
    t.menu("View", "Output Remap Table...")
    view = t.wait_window("Output Remap Table - TAV.OXT")
    walk.window(view, "output remap table (empty)")
    t.press(view, "push button", "Close")
    t.wait_gone(view)

    # The file dialog in both modes; the first listing fails, which shows the error window.
    t.menu("File", "Save Remap Table As...")
    save = t.wait_window("Save As")
    walk.window(save, "save as")
    t.press(save, "radio button", "Input")
    error = t.wait_window("Error")
    walk.window(error, "error")
    t.press(error, "push button", "DETAIL")
    walk.window(error, "error with its detail")
    t.press(error, "push button", "OK")
    t.wait_gone(error)
    walk.window(save, "save as, input chosen")
    t.press(save, "push button", "Cancel")
    t.wait_gone(save)
    t.menu("File", "Select Remap Table")
    select = t.wait_window("Select Remap Table")
    t.press(select, "radio button", "Input")
    walk.window(select, "select, input chosen")
    t.press(select, "push button", "Cancel")
    t.wait_gone(select)

    t.menu("File", "Print Remap Table...\tCtrl+P")
    chooser = t.wait_window("Print Remap Table")
    walk.window(chooser, "print chooser")
    t.press(chooser, "push button", "Cancel")
    t.wait_gone(chooser)

    t.menu("Help", "About Tavora...")
    about = t.wait_window("About TAV")
    walk.window(about, "about")
    t.press(about, "push button", "OK")
    t.wait_gone(about)

    t.menu("View", "System Definition...")
    sysdef = t.wait_window("System Definition")
    walk.window(sysdef, "system definition (saved table)")
    t.press(sysdef, "push button", "Cancel")
    t.wait_gone(sysdef)

    t.press(main_win, "push button", "Close")
    t.wait_end()


if __name__ == "__main__":
    sys.exit(main())
