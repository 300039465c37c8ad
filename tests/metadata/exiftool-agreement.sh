#!/bin/bash
# Compares what the program's metadata readers find with what exiftool finds, over every file
# under a folder:
#
#   tests/metadata/exiftool-agreement.sh photo FOLDER [METADATA_DUMP]   date taken, make, model
#   tests/metadata/exiftool-agreement.sh audio FOLDER [METADATA_DUMP]   artist, album, title, track,
#                                                                      duration (whole seconds)
#
# METADATA_DUMP is the tests' metadata_dump program (build/release/tests/metadata_dump by
# default). Per field it counts, over the files where exiftool finds a value, those where the
# reader agrees and those where it differs, and lists each difference; files where only the reader
# finds a value are listed apart. The date taken is exiftool's DateTimeOriginal, else its
# CreateDate. Needs exiftool (Debian's libimage-exiftool-perl).
set -euo pipefail
kind=${1:?usage: exiftool-agreement.sh photo|audio FOLDER [METADATA_DUMP]}
folder=${2:?usage: exiftool-agreement.sh photo|audio FOLDER [METADATA_DUMP]}
here=$(cd "$(dirname "$0")/../.." && pwd)
dump=${3:-$here/build/release/tests/metadata_dump}
python3 - "$kind" "$folder" "$dump" <<'PY'
import json, os, re, subprocess, sys

kind, folder, dump = sys.argv[1:]
files = sorted(os.path.join(d, f) for d, _, fs in os.walk(folder) for f in fs
               if os.path.isfile(os.path.join(d, f)) and not os.path.islink(os.path.join(d, f)))
if kind == "photo":
    # Each field of ours, and the exiftool tags that stand for it, the first found winning.
    fields = {"DateTaken": ["DateTimeOriginal", "CreateDate"], "Make": ["Make"], "Model": ["Model"]}
    exif_args = ["-d", "%Y:%m:%d %H:%M:%S"]
else:
    fields = {"Artist": ["Artist", "Author"], "Album": ["Album", "AlbumTitle", "Product"],
              "Title": ["Title"], "Track": ["Track", "TrackNumber"], "Duration": ["Duration"]}
    # INFO chunks of WAV files name no character set; the writers of today use UTF-8, as the
    # reader does, where exiftool reads Latin-1 unless told.
    exif_args = ["-Duration#", "-charset", "riff=utf8"]
tags = sorted({t for ts in fields.values() for t in ts} - {"Duration"})

def batches(items, size=200):
    for i in range(0, len(items), size):
        yield items[i:i + size]

ours, theirs = {}, {}
for batch in batches(files):
    out = subprocess.run([dump, kind, *batch], capture_output=True, check=True).stdout
    ours.update((o["SourceFile"], o) for o in json.loads(out))
    run = subprocess.run(["exiftool", "-j", "-q", "-q", "-charset", "filename=utf8", *exif_args,
                          *("-" + t for t in tags), *batch], capture_output=True)
    if run.stdout.strip():
        theirs.update((o["SourceFile"], o) for o in json.loads(run.stdout))

def expected(field, record):
    for tag in fields[field]:
        value = record.get(tag)
        if value is None:
            continue
        value = str(value).strip()
        if field == "DateTaken" and not re.fullmatch(r"\d{4}:\d\d:\d\d \d\d:\d\d:\d\d", value):
            return None  # "0000:00:00 00:00:00", a date alone, text: no date taken
        if field == "Duration":
            value = str(int(float(value))) if re.fullmatch(r"[\d.]+", value) else None
        if field == "Track":
            m = re.match(r"\d+", value)
            value = str(int(m.group())) if m and int(m.group()) > 0 else None
        if value:
            return value
    return None

print(f"{len(files)} files under {folder}")
total_agree = total_seen = 0
for field in fields:
    agree, differ, only_ours = 0, [], []
    for path in files:
        want = expected(field, theirs.get(path, {}))
        got = ours.get(path, {}).get(field)
        # exiftool shows a byte that is no UTF-8 as "?", the reader's JSON as U+FFFD.
        got = None if got is None else str(got).replace("\ufffd", "?")
        if want is None:
            if got is not None:
                only_ours.append((path, got))
        elif got == want:
            agree += 1
        else:
            differ.append((path, want, got))
    seen = agree + len(differ)
    total_agree += agree
    total_seen += seen
    share = f"{100 * agree / seen:.1f} %" if seen else "-"
    print(f"{field}: {agree} agree, {len(differ)} differ of {seen} where exiftool finds a value ({share}); "
          f"{len(only_ours)} found by the reader only")
    for path, want, got in differ:
        print(f"  differ  {os.path.relpath(path, folder)}: exiftool {want!r}, reader {got!r}")
    for path, got in only_ours:
        print(f"  reader only  {os.path.relpath(path, folder)}: {got!r}")
if total_seen:
    print(f"all fields: {total_agree} agree of {total_seen} ({100 * total_agree / total_seen:.1f} %)")
PY
