#!/usr/bin/env python3
"""Starts the real program on journals left by an interrupted apply after the folder was changed from
outside: a file that got the inode number of a deleted, not yet renamed file must not be renamed, a
journal naming a file outside its folder must move nothing, and Escape or "Decide Later" on the
question must leave the journal and the files as they are, the question coming back at the next
start. Usage: recovery-outside-changes-test.py PROGRAM"""
import json
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from program_run import LIMIT, prepare_work, wait_for, xdotool  # noqa: E402

PROGRAM = os.path.realpath(sys.argv[1])

work, folder, state = prepare_work()


def visible_window(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True, timeout=LIMIT).stdout.split()
    return found[0] if found else None


def journals():
    return sorted(n for n in os.listdir(state) if n.endswith(".journal"))


def files():
    return sorted(os.listdir(folder))


def step(before, after, stat):
    return {"volume": stat.st_dev, "file": stat.st_ino, "before": before, "after": after,
            "size": stat.st_size, "modified": stat.st_mtime_ns}


def leave_journal(name, steps):
    with open(os.path.join(state, name), "w") as journal:
        json.dump({"format": "nomvarix-rename-journal", "version": 2, "folder": folder + "/", "steps": steps},
                  journal)


def answer(key):
    """Starts the program, answers the question with `key` and closes the program."""
    program = subprocess.Popen([PROGRAM, folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        question = wait_for(lambda: visible_window("Interrupted Rename"), "the question")
        xdotool("windowfocus", "--sync", question)
        xdotool("key", key)
        wait_for(lambda: visible_window("Interrupted Rename") is None, "the question to close")
        wait_for(lambda: visible_window("Nomvarix"), "the main window")
    finally:
        program.terminate()
        program.wait()


def check(condition, what):
    if not condition:
        raise SystemExit(f"FAILED: {what}; files: {files()}, journals: {journals()}")


try:
    os.makedirs(folder)
    os.makedirs(state)
    for name, content in [("Dächer 1.jpg", "one"), ("Dächer 4.jpg", "four"), ("inside.txt", "in")]:
        with open(os.path.join(folder, name), "w") as file:
            file.write(content)
    first = os.stat(os.path.join(folder, "Dächer 1.jpg"))
    fourth = os.stat(os.path.join(folder, "Dächer 4.jpg"))
    # Killed after the first rename; then Dächer 4.jpg was deleted and a new note got its number
    # (written into the journal by hand, since this file system may hand out other numbers).
    os.rename(os.path.join(folder, "Dächer 1.jpg"), os.path.join(folder, "Strand 1.jpg"))
    os.remove(os.path.join(folder, "Dächer 4.jpg"))
    with open(os.path.join(folder, "Neue Notiz 2.txt"), "w") as note:
        note.write("a note")
    note = os.stat(os.path.join(folder, "Neue Notiz 2.txt"))
    reused = dict(step("Dächer 4.jpg", "Strand 4.jpg", fourth), file=note.st_ino)
    leave_journal("rename-0000000000000001.journal", [step("Dächer 1.jpg", "Strand 1.jpg", first), reused])
    inside = os.stat(os.path.join(folder, "inside.txt"))
    leave_journal("rename-0000000000000002.journal", [step("../escaped.txt", "inside.txt", inside)])

    # Escape and "Decide Later" leave everything where it is, and the question comes back.
    for key in ["Escape", "alt+d"]:
        answer(key)
        check(files() == ["Neue Notiz 2.txt", "Strand 1.jpg", "inside.txt"], f"{key} changed the files")
        check(len(journals()) == 2, f"{key} dropped a journal")
    answer("Return")  # Undo the Renames
    check(files() == ["Dächer 1.jpg", "Neue Notiz 2.txt", "inside.txt"], "undo renamed another file")
    check(not os.path.exists(os.path.join(work, "escaped.txt")), "a file was moved out of its folder")
    check(journals() == ["rename-0000000000000002.journal"], "the refused journal is not left as it is")
    print("recovery with outside changes: no wrong file moved; the question stays until answered", flush=True)
finally:
    shutil.rmtree(work, ignore_errors=True)
