#!/usr/bin/env python3
"""Kills the real program with SIGKILL at many moments of an undo from the Rename History, starts it
again and answers its question about the interrupted rename: undoing must bring every file back to
its name before the undo; keeping must leave every file under one of its two names, the program must
list exactly the names on disk, and the history must record what the recovery left renamed.
Usage: history-undo-kill-test.py PROGRAM UNDO_KILLS KEEP_KILLS"""
import json
import os
import shutil
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from program_run import editor_lines, prepare_work, start_program, visible_window, wait_for, window, xdotool  # noqa: E402

PROGRAM = os.path.realpath(sys.argv[1])
UNDO_KILLS, KEEP_KILLS = int(sys.argv[2]), int(sys.argv[3])
FILES = 3000
NAMES = [f"straße {i:04d}.txt" for i in range(FILES)]
PREFIX = "n"  # the names the recorded apply gave

work, folder, state = prepare_work()
history_file = os.path.join(state, "RenameHistory.json")






def journals():
    return [n for n in os.listdir(state) if n.endswith(".journal")]


def files():
    return sorted(os.listdir(folder))


def back_count():
    return sum(1 for n in os.listdir(folder) if not n.startswith(PREFIX))


def applied_state():
    """Every file under its new name, and a history whose one entry is the apply that gave them."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    entry_files = []
    for name in NAMES:
        path = os.path.join(folder, PREFIX + name)
        open(path, "w").close()
        stat = os.stat(path)
        entry_files.append({"volume": stat.st_dev, "file": stat.st_ino, "old": name, "new": PREFIX + name})
    shutil.rmtree(state, ignore_errors=True)
    os.makedirs(state)
    with open(history_file, "w", encoding="utf-8") as history:
        json.dump({"format": "nomvarix-rename-history", "version": 1,
                   "entries": [{"id": "0123456789abcdef", "time": 1765400000, "kind": "apply",
                                "folder": folder + "/", "files": entry_files}]}, history, ensure_ascii=False)






def shows_disk(frame):
    wait_for(lambda: sorted(editor_lines(frame)) == files(), "the program to list the names on disk")


def undo_and_kill(target):
    """Undoes the history's apply in a new program and kills it once `target` files are back;
    returns how many were back then, and whether a journal was left."""
    program, frame = start_program(PROGRAM, folder)
    shows_disk(frame)
    xdotool("key", "ctrl+h")
    history = window("Rename History")
    xdotool("windowfocus", "--sync", history)
    xdotool("key", "alt+u")
    wait_for(lambda: journals() and back_count() >= target or not journals() and back_count() == FILES,
             "the undo's renames")
    program.send_signal(signal.SIGKILL)
    program.wait()
    return back_count(), bool(journals())


def recover(answer):
    program, frame = start_program(PROGRAM, folder)
    question = wait_for(lambda: visible_window("Interrupted Rename") or (not journals() and "none"),
                        "the question or the journal's removal")
    if question != "none":
        xdotool("windowfocus", "--sync", question)
        xdotool("key", answer)
    wait_for(lambda: not journals(), "the journal to be closed")
    shows_disk(frame)
    program.terminate()
    program.wait()


def run(answer, kills):
    faults = 0
    points = []
    for k in range(kills):
        target = k * FILES // kills
        while True:
            applied_state()
            killed_at, journalled = undo_and_kill(target)
            if journalled:
                break
            target = target * 9 // 10  # the undo finished first: kill earlier
        points.append(killed_at)
        recover(answer)
        on_disk = files()
        if answer == "Return":
            faults += on_disk != sorted(PREFIX + n for n in NAMES)
        else:
            allowed = set(NAMES) | {PREFIX + n for n in NAMES}
            present = set(on_disk)
            faults += len(on_disk) != FILES or any(n not in allowed for n in on_disk) or any(
                n not in present and PREFIX + n not in present for n in NAMES)
            with open(history_file, encoding="utf-8") as text:
                kinds = [e["kind"] for e in json.load(text)["entries"]]
            back = back_count()
            faults += kinds != (["apply", "recovery"] if back else ["apply"])
    verb = "undone" if answer == "Return" else "kept"
    print(f"undo from the history killed and {verb}: {kills} kill points from {min(points)} to {max(points)} "
          f"files back, {faults} faults", flush=True)
    return faults == 0


try:
    ok = run("Return", UNDO_KILLS)
    ok = run("alt+k", KEEP_KILLS) and ok
finally:
    shutil.rmtree(work, ignore_errors=True)
sys.exit(0 if ok else 1)
