#!/bin/bash
# Writes the seed inputs of photo_metadata_fuzz and audio_metadata_fuzz: the test and
# proof-of-concept files of exiv2 (test/data), TagLib (tests/data) and ExifTool (t/images) from
# their Debian source packages, fetched by tests/metadata/fetch-samples.sh, and the sounds of
# tests/metadata/make-audio-samples.sh.
#
#   bash tests/metadata/fetch-samples.sh /tmp/samples
#   bash tests/metadata/make-audio-samples.sh /tmp/samples/audio
#   bash fuzz/metadata-seeds.sh /tmp/samples /tmp/seeds
#   build/fuzz/fuzz/photo_metadata_fuzz -max_total_time=600 -max_len=200000 /tmp/seeds/photo-corpus /tmp/seeds/photo
#   build/fuzz/fuzz/audio_metadata_fuzz -max_total_time=600 -max_len=200000 /tmp/seeds/audio-corpus /tmp/seeds/audio
#
# An audio seed starts with the byte by which audio_metadata_fuzz picks the file's name: the one of
# the seed's own extension.
set -euo pipefail
samples=${1:?usage: metadata-seeds.sh SAMPLES SEEDS}
out=${2:?usage: metadata-seeds.sh SAMPLES SEEDS}
mkdir -p "$out/photo" "$out/audio" "$out/photo-corpus" "$out/audio-corpus"
for f in "$samples"/src/exiv2-*/test/data/* "$samples"/src/libimage-exiftool-perl-*/t/images/*; do
  [ -f "$f" ] && cp "$f" "$out/photo/"
done
python3 - "$out/audio" "$samples"/src/taglib-*/tests/data/* "$samples"/src/libimage-exiftool-perl-*/t/images/* \
  "$samples"/audio/* <<'PY'
import os, sys
# The order of the names in AudioMetadataFuzz.cpp.
index = {"mp3": 0, "flac": 1, "ogg": 2, "oga": 2, "spx": 2, "opus": 3, "m4a": 4, "mp4": 4, "m4v": 4,
         "m4b": 4, "3g2": 4, "mov": 5, "wma": 6, "asf": 6, "wmv": 6, "wav": 7, "aif": 8, "aiff": 8,
         "aifc": 8, "ape": 9}
out, files = sys.argv[1], sys.argv[2:]
for n, path in enumerate(files):
    if not os.path.isfile(path):
        continue
    ext = path.rsplit(".", 1)[-1].lower() if "." in os.path.basename(path) else ""
    with open(path, "rb") as f, open(f"{out}/{n:04}-{os.path.basename(path)}", "wb") as g:
        g.write(bytes([index.get(ext, 10)]) + f.read())
PY
echo "$(ls "$out/photo" | wc -l) photo seeds, $(ls "$out/audio" | wc -l) audio seeds in $out"
