"""What the Python GUI tests share: a scratch work folder that the program takes its settings and
state from, waiting for a condition, and xdotool."""
import os
import subprocess
import tempfile
import time

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
