#!/usr/bin/env python3
"""Kills the real program with SIGKILL at many moments of a 10,000-file apply, starts it again and
answers its question about the interrupted rename: undoing must bring every file back to its old
name; keeping must leave every file under its old or its new name, and the program must then list
exactly the names on disk. Usage: apply-kill-recovery-test.py PROGRAM UNDO_KILLS KEEP_KILLS

With --chains HELPER KILLS it kills instead an apply whose renames depend on each other, done by
HELPER (the program's apply without its window): a shift by one of 10,000 numbered files (each
takes the next one's name) and 5,000 swaps (each through a temporary name); the program started
again settles each, answered alternately Undo and Keep, and every file must then be under its old
or its new name (its old one after Undo), none under a temporary name, none lost."""
import os
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from program_run import editor_lines, prepare_work, start_program, visible_window, wait_for, window, xdotool  # noqa: E402

PROGRAM = os.path.realpath(sys.argv[1])
CHAINS = sys.argv[2] == "--chains"
if CHAINS:
    HELPER, CHAIN_KILLS = os.path.realpath(sys.argv[3]), int(sys.argv[4])
else:
    UNDO_KILLS, KEEP_KILLS = int(sys.argv[2]), int(sys.argv[3])
FILES = 10_000
NAMES = [f"file {i:05d}.txt" for i in range(FILES)]
PREFIX = "n"  # what the test types in front of every name

work, folder, state = prepare_work()




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








def shown_lines(frame):
    """The program's lines once it shows the whole folder."""
    count = len(os.listdir(folder))
    return sorted(wait_for(lambda: len(found := editor_lines(frame)) == count and found, "the folder to be shown"))


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
        program, frame = start_program(PROGRAM, folder)
        shown_lines(frame)




def question_or_none():
    """The question about the interrupted rename; None when the program removed the journal without
    one, as it does when nothing had been renamed."""
    found = wait_for(lambda: visible_window("Interrupted Rename") or (not journals() and "none"),
                     "the question or the journal's removal")
    return None if found == "none" else found


def recover(answer):
    program, frame = start_program(PROGRAM, folder)
    question = question_or_none()
    if question:
        xdotool("windowfocus", "--sync", question)
        xdotool("key", answer)
    wait_for(lambda: not journals(), "the journal to be closed")
    return program, frame


def decide_later():
    """Escape leaves the journal where it is, and the question comes back at the next start."""
    program, frame = start_program(PROGRAM, folder)
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
    program, frame = start_program(PROGRAM, folder)
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
            program, frame = start_program(PROGRAM, folder)
            shown_lines(frame)
    program.terminate()
    program.wait()
    verb = "undone" if answer == "Return" else "kept"
    print(f"{verb}: {kills} kill points, {lost} files lost, {wrong} wrongly named "
          f"({len(points)} different kill points, from {min(points)} to {max(points)} files renamed)", flush=True)
    return lost == 0 and wrong == 0


def chain_names(mode):
    """Each file's old and new name."""
    if mode == "shift":
        return {f"s_{i:05d}.txt": f"s_{i + 1:05d}.txt" for i in range(1, FILES + 1)}
    pairs = {}
    for i in range(FILES // 2):
        pairs[f"a_{i:05d}.txt"] = f"b_{i:05d}.txt"
        pairs[f"b_{i:05d}.txt"] = f"a_{i:05d}.txt"
    return pairs


def chain_folder(renames):
    """The folder with its files under their old names; each file's inode and names."""
    shutil.rmtree(folder, ignore_errors=True)
    os.mkdir(folder)
    files = {}
    for old, new in renames.items():
        path = os.path.join(folder, old)
        open(path, "w").close()
        files[os.stat(path).st_ino] = (old, new)
    return files


def chain_progress(files):
    return sum(1 for entry in os.scandir(folder) if files.get(entry.inode(), ("", ""))[1] == entry.name)


def put_back(files):
    """Every file under its old name again, through names no file has."""
    for entry in list(os.scandir(folder)):
        os.rename(entry.path, os.path.join(folder, f"parked-{entry.inode()}"))
    for entry in list(os.scandir(folder)):
        os.rename(entry.path, os.path.join(folder, files[entry.inode()][0]))


def chain_run(mode, kills):
    files = chain_folder(chain_names(mode))
    faults, points, finished = [], set(), 0
    k = 0
    while k < kills and finished < 3 * kills:
        target = k * len(files) // kills
        helper = subprocess.Popen([HELPER, folder, state, mode], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: journals() and chain_progress(files) >= target or helper.poll() is not None, "renames")
        helper.send_signal(signal.SIGKILL)
        helper.wait()
        if not journals():
            finished += 1  # the apply was over before the kill: once more
            put_back(files)
            continue
        points.add(chain_progress(files))
        answer = "Return" if k % 2 == 0 else "alt+k"
        program, _ = recover(answer)
        program.terminate()
        program.wait()
        seen = set()
        for entry in os.scandir(folder):
            old, new = files.get(entry.inode(), (None, None))
            allowed = {old} if answer == "Return" else {old, new}
            if entry.name not in allowed:
                faults.append(f"after a kill at {max(points)}: {entry.name} ({old})")
            seen.add(entry.inode())
        if seen != set(files):
            faults.append(f"{len(set(files) - seen)} files lost after a kill")
        put_back(files)
        k += 1
    print(f"{mode}: {k} kill points ({len(points)} different, from {min(points, default=0)} to "
          f"{max(points, default=0)} files renamed), {len(faults)} faults", flush=True)
    for fault in faults[:20]:
        print(fault, flush=True)
    return not faults and k == kills


try:
    started = time.monotonic()
    if CHAINS:
        ok = chain_run("shift", CHAIN_KILLS)
        ok = chain_run("swap", CHAIN_KILLS) and ok
    else:
        make_folder()
        ok = run("Return", UNDO_KILLS)
        ok = run("alt+k", KEEP_KILLS) and ok
    print(f"{time.monotonic() - started:.0f} s", flush=True)
finally:
    shutil.rmtree(work, ignore_errors=True)
sys.exit(0 if ok else 1)
