#!/bin/bash
# Writes the seed inputs of the chat fuzz targets into the folder given: answers and event streams
# nested a million brackets deep, and answers of megabytes. The first two bytes of each stream seed
# are the chat_stream_fuzz's block size and status bytes.
set -euo pipefail
out=${1:?usage: make-seeds.sh <folder>}
mkdir -p "$out"
python3 - "$out" <<'PY'
import json, sys
out = sys.argv[1]
def write(name, data):
    with open(f"{out}/{name}", "wb") as f:
        f.write(data)
deep = b"[" * 500_000 + b"]" * 500_000
write("deep-brackets", deep)
write("deep-unclosed", b"{" * 1_048_000)
write("deep-pair", b"[" * 200_000 + b'{"original":"a.txt","renamed":"b.txt"}' + b"]" * 200_000)
write("deep-error-body", b"\x08\x00" + b'{"error":' + deep[:1_000_000] + b"}")
event = lambda chunk: b"data: " + json.dumps(chunk).encode() + b"\n\n"
write("deep-event", b"\x90\x01" + event({"choices": [{"delta": {"content": "a"}}]})
      + b'data: {"error":' + b"[" * 400_000 + b"]" * 400_000 + b"}\n\n")
piece = event({"choices": [{"delta": {"content": "x" * 1000}}]})
write("huge-answer", b"\x94\x01" + piece * (1_040_000 // len(piece)) + b"data: [DONE]\n\n")
pairs = ",".join(f'{{"original":"f{i}.txt","renamed":"F{i}.TXT"}}' for i in range(20_000))
write("huge-pairs", ("[" + pairs + "]").encode())
write("broken-line", b"\x05\x01" + b'data: {"choices":[{"delta":{"content":"a\n\n' + event({"error": {"message": "boom"}}) + piece)
PY
