#!/usr/bin/env python3
"""Renames 1,000 files in three applies in the real program, quits, starts it again and undoes the
second apply from the Rename History: exactly its files must be back under their old names, and the
program must list the disk's names; then the undo itself is undone from the history.
Usage: history-undo-test.py PROGRAM"""
import json
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from program_run import click_editor, editor_lines, prepare_work, start_program, wait_for, window, xdotool  # noqa: E402

PROGRAM = os.path.realpath(sys.argv[1])
NAMES = [f"dächer {i:04d}.jpg" for i in range(1000)]
# Each apply puts a letter in front of a run of lines; the lines stay sorted, so the renamed ones
# move up: first "a" on the first 333, then "b" on the next 333, then "c" on the last 334.
FIRST, SECOND, THIRD = NAMES[:333], NAMES[333:666], NAMES[666:]

work, folder, state = prepare_work()




def files():
    return sorted(os.listdir(folder))








def shows_disk(frame):
    return wait_for(lambda: sorted(editor_lines(frame)) == files(), "the program to list the names on disk")


def keys(key, count):
    if count:
        xdotool("key", "--delay", "1", "--repeat", str(count), key)


def apply(frame, down, lines, prefix, expected):
    """Selects `lines` lines from line `down` on, puts `prefix` in front of them and applies."""
    shows_disk(frame)
    click_editor(frame)
    keys("Up", len(NAMES))  # to the first line (Ctrl+Home moves within the line here)
    xdotool("key", "Home")
    keys("Down", down)
    keys("shift+Down", lines - 1)
    xdotool("type", prefix)
    xdotool("key", "alt+f", "Return")
    dialog = window("Apply Changes to the current folder")
    xdotool("windowfocus", "--sync", dialog)
    xdotool("key", "Return")
    wait_for(lambda: files() == sorted(expected), f"the apply of '{prefix}'")


def check(condition, what):
    if not condition:
        raise SystemExit(f"FAILED: {what}")


try:
    os.makedirs(folder)
    for name in NAMES:
        open(os.path.join(folder, name), "w").close()
    program, frame = start_program(PROGRAM, folder)
    after_first = ["a" + n for n in FIRST] + SECOND + THIRD
    after_second = ["a" + n for n in FIRST] + ["b" + n for n in SECOND] + THIRD
    after_third = ["a" + n for n in FIRST] + ["b" + n for n in SECOND] + ["c" + n for n in THIRD]
    apply(frame, 0, 333, "a", after_first)
    apply(frame, 333, 333, "b", after_second)
    apply(frame, 666, 334, "c", after_third)
    xdotool("key", "ctrl+q")
    program.wait(timeout=60)

    program, frame = start_program(PROGRAM, folder)
    shows_disk(frame)
    click_editor(frame)
    xdotool("key", "ctrl+h")
    history = window("Rename History")
    xdotool("windowfocus", "--sync", history)
    # Newest first: the second apply is the second row.
    xdotool("key", "Down", "alt+u")
    undone = ["a" + n for n in FIRST] + SECOND + ["c" + n for n in THIRD]
    wait_for(lambda: files() == sorted(undone), "the undo of the second apply")
    # The undo is the newest entry now, chosen: undoing it gives the second apply's names back.
    xdotool("windowfocus", "--sync", history)
    xdotool("key", "alt+u")
    wait_for(lambda: files() == sorted(after_third), "the undo of the undo")
    xdotool("windowfocus", "--sync", history)
    xdotool("key", "Escape")
    shows_disk(frame)
    with open(os.path.join(state, "RenameHistory.json"), encoding="utf-8") as text:
        entries = json.load(text)["entries"]
    check([e["kind"] for e in entries] == ["apply", "apply", "apply", "undo", "undo"], "the history's entries")
    check(entries[3]["undoes"] == entries[1]["id"] and entries[4]["undoes"] == entries[3]["id"],
          "the undos name the entries they undid")
    check([len(e["files"]) for e in entries] == [333, 333, 334, 333, 333], "the entries' files")
    program.terminate()
    program.wait()
    print("history: the second of three applies undone exactly after a restart, then the undo undone", flush=True)
finally:
    shutil.rmtree(work, ignore_errors=True)
