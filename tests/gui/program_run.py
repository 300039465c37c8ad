"""What the Python GUI tests share: a scratch work folder that the program takes its settings and
state from, waiting for a condition, xdotool, starting the program and reading its lines."""
import os
import subprocess
import tempfile
import time
import tkinter

LIMIT = 90  # seconds: only ends a run that hangs; a slow machine gets there well before


def prepare_work():
    """A new work folder, its "files" and state folder paths; the program started from here keeps
    its settings and journals in it, with edits not kept between runs (each test is about the
    renames on disk alone)."""
    work = tempfile.mkdtemp()
    os.environ.update(NOMVARIX_SETTINGS_FILE=os.path.join(work, "settings.conf"),
                      XDG_STATE_HOME=os.path.join(work, "state"))
    with open(os.environ["NOMVARIX_SETTINGS_FILE"], "w") as settings:
        settings.write("[Settings]\nKeepEditsBetweenRuns=0\n")
    return work, os.path.join(work, "files"), os.path.join(work, "state", "Nomvarix")


def wait_for(condition, what, poll=0.005):
    """The condition's first true value, polled."""
    deadline = time.monotonic() + LIMIT
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise SystemExit(f"FAILED: timed out waiting for {what}")
        time.sleep(poll)
    return value


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True,
                          timeout=LIMIT).stdout.split()


def window(title):
    """The id of the shown window of that title, waited for."""
    return xdotool("search", "--sync", "--onlyvisible", "--name", f"^{title}$")[0]


def visible_window(title):
    """The window's id when it is shown, else None."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True, timeout=LIMIT).stdout.split()
    return found[0] if found else None


def start_program(program, folder):
    """The program started on the folder, and its main window once shown."""
    started = subprocess.Popen([program, folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return started, window("Nomvarix")


def click_editor(frame):
    xdotool("windowfocus", "--sync", frame)
    xdotool("mousemove", "--window", frame, "700", "300", "click", "1")


def editor_lines(frame):
    """The editor's lines, copied with the program's own Select All and Copy."""
    click_editor(frame)
    xdotool("key", "ctrl+a", "ctrl+c")
    root = tkinter.Tk()
    try:
        return root.clipboard_get().split("\n")
    except tkinter.TclError:
        return []
    finally:
        root.destroy()
