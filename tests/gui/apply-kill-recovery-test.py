#!/usr/bin/env python3
"""Kills the real program with SIGKILL at many moments of a 10,000-file apply, starts it again and
answers its question about the interrupted rename: undoing must bring every file back to its old
name; keeping must leave every file under its old or its new name, and the program must then list
exactly the names on disk. Usage: apply-kill-recovery-test.py PROGRAM UNDO_KILLS KEEP_KILLS"""
import os
import shutil
import signal
import subprocess
import sys
import time
import tkinter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from program_run import LIMIT, prepare_work, wait_for, xdotool  # noqa: E402

PROGRAM = os.path.realpath(sys.argv[1])
UNDO_KILLS, KEEP_KILLS = int(sys.argv[2]), int(sys.argv[3])
FILES = 10_000
NAMES = [f"file {i:05d}.txt" for i in range(FILES)]
PREFIX = "n"  # what the test types in front of every name

work, folder, state = prepare_work()


def window(title):
    return xdotool("search", "--sync", "--onlyvisible", "--name", f"^{title}$")[0]


def journals():
    return [n for n in os.listdir(state) if n.endswith(".journal")] if os.path.isdir(state) else []


def renamed_count():
    return sum(1 for n in os.listdir(folder) if n.startswith(PREFIX))


def make_folder():
    os.mkdir(folder)
    for name in NAMES:
        open(os.path.join(folder, name), "w").close()


def restore_old_names():
    for name in os.listdir(folder):
        if name.startswith(PREFIX):
            os.rename(os.path.join(folder, name), os.path.join(folder, name[len(PREFIX):]))


def start():
    program = subprocess.Popen([PROGRAM, folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return program, window("Nomvarix")


def click_editor(frame):
    xdotool("windowfocus", "--sync", frame)
    xdotool("mousemove", "--window", frame, "700", "300", "click", "1")


def program_lines(frame):
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


def shown_lines(frame):
    """The program's lines once it shows the whole folder."""
    count = len(os.listdir(folder))
    return sorted(wait_for(lambda: len(found := program_lines(frame)) == count and found, "the folder to be shown"))


def apply_and_kill(program, frame, target):
    """Applies PREFIX + every name in the program showing the folder, and kills it once `target`
    files (0: none, only the journal) have their new names; returns how many had them then."""
    xdotool("key", "ctrl+a", "Home", PREFIX, "alt+f", "Return")
    dialog = window("Apply Changes to the current folder")
    xdotool("windowfocus", "--sync", dialog)
    xdotool("key", "Return")
    wait_for(lambda: journals() and renamed_count() >= target or program.poll() is not None or not journals()
             and renamed_count() == FILES, "renames")
    program.send_signal(signal.SIGKILL)
    program.wait()
    return renamed_count()


def kill_during_apply(program, frame, target):
    """Kills a program during an apply; one that finished first is started again and killed earlier."""
    while True:
        killed_at = apply_and_kill(program, frame, target)
        if journals():
            return killed_at
        if killed_at != FILES:
            raise SystemExit(f"FAILED: no journal after a kill at {killed_at} files")
        restore_old_names()
        target = target * 9 // 10
        program, frame = start()
        shown_lines(frame)


def visible_window(title):
    """The window's id when it is shown, else None."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True, timeout=LIMIT).stdout.split()
    return found[0] if found else None


def question_or_none():
    """The question about the interrupted rename; None when the program removed the journal without
    one, as it does when nothing had been renamed."""
    found = wait_for(lambda: visible_window("Interrupted Rename") or (not journals() and "none"),
                     "the question or the journal's removal")
    return None if found == "none" else found


def recover(answer):
    program, frame = start()
    question = question_or_none()
    if question:
        xdotool("windowfocus", "--sync", question)
        xdotool("key", answer)
    wait_for(lambda: not journals(), "the journal to be closed")
    return program, frame


def decide_later():
    """Escape leaves the journal where it is, and the question comes back at the next start."""
    program, frame = start()
    question = question_or_none()
    if not question:
        return
    before = sorted(os.listdir(folder))
    xdotool("windowfocus", "--sync", question)
    xdotool("key", "Escape")
    wait_for(lambda: visible_window("Interrupted Rename") is None, "the question to close")
    program.terminate()
    program.wait()
    if not journals() or sorted(os.listdir(folder)) != before:
        raise SystemExit("FAILED: Escape on the question changed the files or dropped the journal")


def run(answer, kills):
    lost = wrong = 0
    points = set()
    program, frame = start()
    shown_lines(frame)
    for k in range(kills):
        # Spread over the whole apply, from just after the journal was written.
        killed_at = kill_during_apply(program, frame, k * FILES // kills)
        points.add(killed_at)
        if k == 1:
            decide_later()
        program, frame = recover(answer)
        on_disk = sorted(os.listdir(folder))
        if shown_lines(frame) != on_disk:
            raise SystemExit(f"FAILED: after a kill at {killed_at}, the program lists other names than the disk")
        present = set(on_disk)
        for name in NAMES:
            if name not in present and (answer == "Return" or PREFIX + name not in present):
                lost += 1
        allowed = set(NAMES) if answer == "Return" else set(NAMES) | {PREFIX + n for n in NAMES}
        wrong += sum(1 for n in on_disk if n not in allowed)
        if answer != "Return":
            # The program shows some new names; it starts again on the old ones.
            program.terminate()
            program.wait()
            restore_old_names()
            program, frame = start()
            shown_lines(frame)
    program.terminate()
    program.wait()
    verb = "undone" if answer == "Return" else "kept"
    print(f"{verb}: {kills} kill points, {lost} files lost, {wrong} wrongly named "
          f"({len(points)} different kill points, from {min(points)} to {max(points)} files renamed)", flush=True)
    return lost == 0 and wrong == 0


try:
    make_folder()
    started = time.monotonic()
    ok = run("Return", UNDO_KILLS)
    ok = run("alt+k", KEEP_KILLS) and ok
    print(f"{time.monotonic() - started:.0f} s", flush=True)
finally:
    shutil.rmtree(work, ignore_errors=True)
sys.exit(0 if ok else 1)
