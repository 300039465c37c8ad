#!/bin/bash
# Fetches the sample files that exiv2, ExifTool and TagLib ship in their Debian source packages
# (apt-get source; needs deb-src entries and the network) into a scratch folder, and gathers their
# images for exiftool-agreement.sh:
#
#   tests/metadata/fetch-samples.sh /tmp/samples
#
#   /tmp/samples/src             the unpacked source packages
#   /tmp/samples/photos          every image of exiv2's test/data and ExifTool's t/images
#   /tmp/samples/photos-listed   those of them in the formats the photo reader promises (JPEG,
#                                TIFF, the raw formats, HEIC/HEIF/AVIF, PNG, WebP)
set -euo pipefail
out=${1:?usage: fetch-samples.sh FOLDER}
mkdir -p "$out/src"
out=$(cd "$out" && pwd)
if ! ls -d "$out"/src/exiv2-*/ "$out"/src/libimage-exiftool-perl-*/ "$out"/src/taglib-*/ >/dev/null 2>&1; then
  (cd "$out/src" && apt-get source -q exiv2 libimage-exiftool-perl taglib >/dev/null)
fi
images='jpg|jpeg|tif|tiff|dng|cr2|cr3|crw|nef|arw|orf|rw2|raf|pef|srw|x3f|iiq|mrw|heic|heif|hif|avif|png|webp|jp2|psd|pgf|gif|bmp|jxl'
listed='jpg|jpeg|tif|tiff|dng|cr2|cr3|nef|arw|orf|rw2|raf|pef|heic|heif|hif|avif|png|webp'
gather() {  # gather FROM NAME
  mkdir -p "$out/photos/$2" "$out/photos-listed/$2"
  for f in "$1"/*; do
    [ -f "$f" ] || continue
    if echo "$f" | grep -qiE "\.($images)\$"; then cp "$f" "$out/photos/$2/"; fi
    if echo "$f" | grep -qiE "\.($listed)\$"; then cp "$f" "$out/photos-listed/$2/"; fi
  done
}
gather "$(echo "$out"/src/exiv2-*/test/data)" exiv2
gather "$(echo "$out"/src/libimage-exiftool-perl-*/t/images)" exiftool
echo "$(find "$out/photos" -type f | wc -l) images in $out/photos, $(find "$out/photos-listed" -type f | wc -l) in $out/photos-listed"
