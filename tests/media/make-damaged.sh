#!/usr/bin/env bash
# Makes 200 damaged media files from the generated clips (make-clips.sh), the same files at
# every run (a fixed seed):
#   trunc-*   50 clips cut at 0.5 to 95 % of their length
#   random-*  50 files of random bytes (1 KiB to 1 MiB) under the accepted extensions
#   wrong-*   50 files under a wrong extension: containers swapped, a PNG and a text file
#             as .avi and .mp4
#   empty-*   25 empty files
#   head-*    25 clips with their first 4 KiB overwritten by random bytes
# Usage: make-damaged.sh <clip folder> <output folder>
set -euo pipefail
clips=${1:?clip folder}
out=${2:?output folder}
stamp="$out/.stamp"
# Made again when this script or the clips change.
self_hash=$(cat "$0" "$clips/.stamp" 2>/dev/null | sha1sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$self_hash" ]; then
  exit 0
fi
rm -rf "$out"
mkdir -p "$out"

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

RANDOM=2025
# R: a random number from 0 to n - 1 (up to 2^30). Set in this shell, never in a subshell:
# bash seeds a subshell's RANDOM anew.
rnd() { R=$(( (RANDOM * 32768 + RANDOM) % $1 )); }

# The random bytes: white noise as unsigned 8-bit samples, 2 MiB from a fixed seed.
pool="$out/.pool"
pool_size=$((2 * 1024 * 1024))
ff -f lavfi -i "anoisesrc=r=$pool_size:a=1:c=white:s=2025:d=1" -f u8 -c:a pcm_u8 "$pool"
# pool_bytes <offset> <count>: that many random bytes from the pool.
pool_bytes() { dd if="$pool" iflag=skip_bytes,count_bytes skip="$1" count="$2" bs=65536 status=none; }

# The extensions the program accepts, and the clips to damage with their container.
extensions=(mpg avi mpeg asf wmv mov rm ram ra dat mp4 m4v mkv webm ogv ogm flv ts m2ts mts 3gp vob mpe m2v divx f4v)
sources=(clip.avi clip.mpg clip.dat clip.asf clip.wmv clip.mov clip.rm modern.mp4 modern.webm modern.mkv
  short3.avi short3.rm firstred.avi onekey.avi redblue.mpg)
# The container family of an extension: a swapped file gets one of another family.
family() {
  case "$1" in
    mpg|mpeg|dat|vob|mpe|m2v) echo ps ;;
    asf|wmv) echo asf ;;
    mov|mp4|m4v|3gp|f4v) echo iso ;;
    mkv|webm) echo mkv ;;
    rm|ra|ram) echo rm ;;
    avi|divx) echo avi ;;
    ts|m2ts|mts) echo ts ;;
    ogv|ogm) echo ogg ;;
    flv) echo flv ;;
  esac
}

for s in "${sources[@]}"; do
  [ -s "$clips/$s" ] || { echo "make-damaged: missing clip $clips/$s" >&2; exit 1; }
done

# 50 truncated clips.
for i in $(seq 0 49); do
  src=${sources[i % ${#sources[@]}]}
  size=$(stat -c %s "$clips/$src")
  rnd 946
  per_mille=$((5 + R))  # 0.5 % to 95.0 %
  head -c $((size * per_mille / 1000)) "$clips/$src" > "$out/trunc-$(printf %02d "$i")-${per_mille}pm-${src%.*}.${src##*.}"
done

# 50 files of random bytes.
for i in $(seq 0 49); do
  ext=${extensions[i % ${#extensions[@]}]}
  rnd $((1024 * 1024 - 1024 + 1))
  count=$((1024 + R))
  rnd $((pool_size - count + 1))
  pool_bytes "$R" "$count" > "$out/random-$(printf %02d "$i").$ext"
done

# 50 under a wrong extension: a PNG and a text file as .avi and .mp4, then swapped containers.
ff -f lavfi -i "testsrc=size=64x48" -frames:v 1 "$out/.picture.png"
mv "$out/.picture.png" "$out/wrong-00-png.avi"
cp "$out/wrong-00-png.avi" "$out/wrong-01-png.mp4"
printf '%s\r\n' "これは動画ではありません" "#EXTM3U" "/no/such/file.avi" "file:///no/such/other.mp4" \
  "http://127.0.0.1:9/stream.avi" > "$out/wrong-02-text.avi"
cp "$out/wrong-02-text.avi" "$out/wrong-03-text.mp4"
n=4
k=0
while [ "$n" -lt 50 ]; do
  src=${sources[k % ${#sources[@]}]}
  ext=${extensions[(k * 7 + 3) % ${#extensions[@]}]}
  k=$((k + 1))
  [ "$(family "$ext")" = "$(family "${src##*.}")" ] && continue
  cp "$clips/$src" "$out/wrong-$(printf %02d "$n")-${src%.*}-${src##*.}.$ext"
  n=$((n + 1))
done

# 25 empty files.
for i in $(seq 0 24); do
  : > "$out/empty-$(printf %02d "$i").${extensions[i]}"
done

# 25 clips with their first 4 KiB overwritten.
for i in $(seq 0 24); do
  src=${sources[i % ${#sources[@]}]}
  f="$out/head-$(printf %02d "$i")-${src%.*}.${src##*.}"
  cp "$clips/$src" "$f"
  rnd $((pool_size - 4096 + 1))
  pool_bytes "$R" 4096 | dd of="$f" conv=notrunc bs=4096 status=none
done

rm -f "$pool"
count=$(find "$out" -maxdepth 1 -type f ! -name '.*' | wc -l)
if [ "$count" -ne 200 ]; then
  echo "make-damaged: made $count files, not 200" >&2
  exit 1
fi
echo "$self_hash" > "$stamp"
