#!/bin/bash
# Writes short sound files (3.5 s) in every format the audio reader promises, tagged with artist,
# album, title and track beyond ASCII, into the folder given, for exiftool-agreement.sh:
#
#   tests/metadata/make-audio-samples.sh /tmp/audio
#
# Needs ffmpeg, id3v2, flac (metaflac) and vorbis-tools (vorbiscomment). ID3v1 holds Latin-1 only,
# so its tags keep to é and ß; an APE tag is written here by hand, as no Debian tool adds one to an
# MP3.
set -euo pipefail
out=${1:?usage: make-audio-samples.sh FOLDER}
mkdir -p "$out"
artist='Sigur Rós ß 😀'
album='日記 Ärger'
title='Café/Straße: Intro'
track=3
meta=(-metadata "artist=$artist" -metadata "album=$album" -metadata "title=$title" -metadata "track=$track/12")
sine=(-f lavfi -i sine=frequency=440:duration=3.5)
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# MP3: ID3v2.3, ID3v2.4, ID3v1 alone (through id3v2), APEv2 alone.
ff "${sine[@]}" -c:a libmp3lame "${meta[@]}" -id3v2_version 3 "$out/id3v23.mp3"
ff "${sine[@]}" -c:a libmp3lame "${meta[@]}" -id3v2_version 4 "$out/id3v24.mp3"
ff "${sine[@]}" -c:a libmp3lame -id3v2_version 0 -write_xing 0 "$out/bare.mp3"
cp "$out/bare.mp3" "$out/id3v1.mp3"
latin1() { printf '%s' "$1" | iconv -f UTF-8 -t LATIN1; }
id3v2 -1 -a "$(latin1 'Bjørk é ß')" -A "$(latin1 'Straße é')" -t "$(latin1 'Café ß')" -T "$track" "$out/id3v1.mp3"
python3 - "$out/bare.mp3" "$out/ape.mp3" "$artist" "$album" "$title" "$track/12" <<'PY'
import struct, sys
src, dst, artist, album, title, track = sys.argv[1:]
items = b"".join(struct.pack("<II", len(v.encode()), 0) + k.encode() + b"\0" + v.encode()
                 for k, v in (("Artist", artist), ("Album", album), ("Title", title), ("Track", track)))
footer = b"APETAGEX" + struct.pack("<IIII", 2000, len(items) + 32, 4, 0) + bytes(8)
with open(src, "rb") as f, open(dst, "wb") as g:
    g.write(f.read() + items + footer)
PY
rm "$out/bare.mp3"

# FLAC through metaflac, Ogg Vorbis through vorbiscomment, the rest through ffmpeg.
ff "${sine[@]}" -c:a flac "$out/sound.flac"
metaflac --remove-all-tags --set-tag="ARTIST=$artist" --set-tag="ALBUM=$album" --set-tag="TITLE=$title" \
  --set-tag="TRACKNUMBER=$track" --set-tag="TRACKTOTAL=12" "$out/sound.flac"
ff "${sine[@]}" -c:a libvorbis "$out/sound.ogg"
vorbiscomment -w -t "ARTIST=$artist" -t "ALBUM=$album" -t "TITLE=$title" -t "TRACKNUMBER=$track" "$out/sound.ogg"
ff "${sine[@]}" -c:a libopus "${meta[@]}" "$out/sound.opus"
ff "${sine[@]}" -c:a aac "${meta[@]}" "$out/aac.m4a"
ff "${sine[@]}" -c:a alac "${meta[@]}" "$out/alac.m4a"
ff "${sine[@]}" -c:a wmav2 "${meta[@]}" "$out/sound.wma"
ff "${sine[@]}" -c:a pcm_s16le "${meta[@]}" "$out/sound.wav"
ff "${sine[@]}" -c:a pcm_s16be "${meta[@]}" -write_id3v2 1 "$out/sound.aiff"

# Videos, for their duration and tags.
video=(-f lavfi -i testsrc=size=64x48:rate=10:duration=3.5 "${sine[@]}" -c:v libx264 -pix_fmt yuv420p -c:a aac "${meta[@]}")
ff "${video[@]}" "$out/video.mp4"
ff "${video[@]}" -f ipod "$out/video.m4v"
ff "${video[@]}" "$out/video.mov"
ls "$out"
