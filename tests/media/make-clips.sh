#!/usr/bin/env bash
# Generates the test clips once per build folder. Every clip is tiny and cheap to encode.
# Usage: make-clips.sh <output folder>
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"
stamp="$out/.stamp"
self_hash=$(sha1sum "$0" | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$self_hash" ]; then
  exit 0
fi

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# A moving test pattern with a tone: the ordinary 5-second clip in every container.
video5=(-f lavfi -i "testsrc=size=176x144:rate=25:duration=5")
audio5=(-f lavfi -i "sine=frequency=440:sample_rate=44100:duration=5")

ff "${video5[@]}" "${audio5[@]}" -c:v mpeg4 -q:v 8 -c:a pcm_s16le "$out/clip.avi"
ff "${video5[@]}" "${audio5[@]}" -c:v mpeg1video -q:v 8 -c:a mp2 -b:a 64k -f mpeg "$out/clip.mpg"
cp "$out/clip.mpg" "$out/clip.mpeg"
ff "${video5[@]}" "${audio5[@]}" -c:v mpeg1video -q:v 8 -c:a mp2 -b:a 64k -f vcd "$out/clip.dat"
ff "${video5[@]}" "${audio5[@]}" -c:v wmv2 -q:v 8 -c:a wmav2 -b:a 32k -f asf "$out/clip.asf"
ff "${video5[@]}" "${audio5[@]}" -c:v wmv2 -q:v 8 -c:a wmav2 -b:a 32k -f asf "$out/clip.wmv"
ff "${video5[@]}" "${audio5[@]}" -c:v mpeg4 -q:v 8 -c:a aac -b:a 32k -f mov "$out/clip.mov"
# RealMedia: rv10 video with ac3 audio, and an audio-only .ra.
ff "${video5[@]}" "${audio5[@]}" -c:v rv10 -q:v 8 -c:a ac3 -b:a 64k -f rm "$out/clip.rm"
ff "${video5[@]}" "${audio5[@]}" -c:v rv20 -q:v 8 -c:a ac3 -b:a 64k -f rm "$out/clip.rmvb"
cp "$out/clip.rm" "$out/upper.RM"
ff "${audio5[@]}" -c:a ac3 -b:a 64k -f rm "$out/clip.ra"
# Audio only, in a container the program plays.
ff "${audio5[@]}" -c:a mp2 -b:a 64k -f mpeg "$out/audio.mpg"
# Three seconds, for the end-of-file handling.
ff -f lavfi -i "testsrc=size=176x144:rate=25:duration=3" -f lavfi -i "sine=frequency=440:duration=3" \
  -c:v mpeg4 -q:v 8 -c:a pcm_s16le "$out/short3.avi"
ff -f lavfi -i "testsrc=size=176x144:rate=25:duration=3" -f lavfi -i "sine=frequency=440:duration=3" \
  -c:v rv10 -q:v 8 -c:a ac3 -b:a 64k -f rm "$out/short3.rm"
# Longer than 327.67 s, the longest duration that fits 16 bits in hundredths. Its colour
# turns by 7 degrees of hue a second, so every second's frame is told apart (key frames
# every 12 s).
ff -f lavfi -i "color=c=navy:size=32x32:rate=1:duration=330,hue=h=t*7" -c:v mpeg4 -q:v 20 "$out/long.avi"
# Test pattern for screenshots: left half pure magenta, right half pure green.
ff -filter_complex "color=c=0xFF00FF:size=176x144:rate=25:duration=20[a];color=c=0x00FF00:size=176x144:rate=25:duration=20[b];[a][b]hstack" \
  -c:v mpeg4 -q:v 2 "$out/pattern.avi"
# Pure green for 30 s, then pure magenta for 30 s: a preview of the second half is told apart
# from the picture of the first half playing.
ff -filter_complex "color=c=0x00FF00:size=176x144:rate=5:duration=30[a];color=c=0xFF00FF:size=176x144:rate=5:duration=30[b];[a][b]concat=n=2:v=1:a=0" \
  -c:v mpeg4 -q:v 2 "$out/greenmagenta.avi"
# Today's containers: H.264 in mp4, VP9 in webm, H.264 in mkv; two seconds each.
video2=(-f lavfi -i "testsrc=size=176x144:rate=25:duration=2")
audio2=(-f lavfi -i "sine=frequency=440:sample_rate=48000:duration=2")
ff "${video2[@]}" "${audio2[@]}" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 32k "$out/modern.mp4"
ff "${video2[@]}" "${audio2[@]}" -c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 100k -c:a libopus -b:a 32k "$out/modern.webm"
ff "${video2[@]}" "${audio2[@]}" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 32k "$out/modern.mkv"
# H.264 with B-frames (some that no other frame refers to) and a key frame every 2 s, ten
# seconds: frames decoded on from the last one and frames skipped give the same pictures.
ff -f lavfi -i "testsrc=size=176x144:rate=25:duration=10" -c:v libx264 -preset veryfast -g 50 -x264-params b-adapt=0:bframes=3 -pix_fmt yuv420p \
  "$out/bframes.mp4"
# A first second of its own colour (red), then blue: the first frame is told apart.
ff -filter_complex "color=c=red:size=176x144:rate=25:duration=1[a];color=c=blue:size=176x144:rate=25:duration=2[b];[a][b]concat=n=2:v=1:a=0" \
  -c:v mpeg4 -q:v 2 -g 25 "$out/firstred.avi"
# One key frame only: red for two seconds, then blue. A grab at 3 s must decode past the key
# frame (no scene-cut key frame at the change).
ff -filter_complex "color=c=red:size=64x48:rate=25:duration=2[a];color=c=blue:size=64x48:rate=25:duration=2[b];[a][b]concat=n=2:v=1:a=0" \
  -c:v mpeg4 -q:v 2 -g 1000 -sc_threshold 1000000000 "$out/onekey.avi"
# An MPEG program stream, whose timestamps begin near 0.5 s: red for 0.88 s, then blue. Key
# frames every 0.48 s and small packets, so a seek to 0.8 s lands on a frame that is not a
# key frame and the next key frame (0.96 s, blue) is already past the position.
ff -filter_complex "color=c=red:size=64x48:rate=25:duration=0.88[a];color=c=blue:size=64x48:rate=25:duration=2.12[b];[a][b]concat=n=2:v=1:a=0" \
  -c:v mpeg1video -q:v 2 -g 12 -sc_threshold 1000000000 -packetsize 256 -f mpeg "$out/redblue.mpg"
# A red photo too large to decode whole within the image reader's default allocation limit.
ff -f lavfi -i "color=c=red:size=9000x8000" -frames:v 1 -pix_fmt yuvj420p -q:v 31 "$out/huge.jpg"
# Not a video at all.
head -c 65536 /dev/urandom > "$out/broken.avi"

echo "$self_hash" > "$stamp"
