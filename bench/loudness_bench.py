#!/usr/bin/env python3
"""Times the loudness measuring pass of libq7z against the conversion it precedes.

Makes, once, a 2-hour source (a still picture over 5.1 AC-3 sound at 448 kbit/s, as a film's track) and
a 60 s source with a moving picture (kept in --work). Per round it starts the video line with
-loudness normal on the 2-hour source and times the pass, from the line before it to the loudness marker
after it, then stops the encoder with "quit"; and it converts the 60 s source with -loudness off. The
conversion's cost for two hours is the 60 s conversion's wall time times 120. Prints the medians and the
pass's share. Target: at most 5 %.

Usage: bench/loudness_bench.py [--rounds N] [--work FOLDER] [--encoder build/bin/libq7z]
Build first: cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build --target libq7z
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

from encoder_bench import make_file, timed

FILM_SECONDS = 2 * 3600
SHORT_SECONDS = 60
SOUND_51 = ("anoisesrc=c=pink:r=48000:a=0.2,aformat=channel_layouts=mono,"
            "pan=5.1|FL=c0|FR=c0|FC=c0|LFE=c0|BL=c0|BR=c0")


def video_words(source, output, loudness):
    return ["-i", source, "-loudness", loudness, "-f", "mp4", "-b", "1000k", "-r", "25.00", "-s", "400x192",
            "-ar", "44100", "-ab", "128", "-ac", "2", "-y", output]


def time_pass(encoder, source, output):
    """Seconds from the line before the pass to the loudness marker, read as they come."""
    process = subprocess.Popen([encoder, *video_words(source, output, "normal")], stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    text, start = b"", None
    while True:
        piece = os.read(process.stderr.fileno(), 4096)
        if not piece:
            sys.exit(f"the encoder ended before the loudness marker: {text[-2000:].decode(errors='replace')}")
        text += piece
        if start is None and b"H.264 Main" in text:
            start = time.monotonic()
        if b"=ffmpeg_release_loudness" in text:
            seconds = time.monotonic() - start
            break
    process.stdin.write(b"quit\n")
    process.stdin.close()
    process.stderr.read()
    process.wait()
    return seconds


def time_conversion(encoder, source, output):
    return timed([encoder, *video_words(source, output, "off")])[0]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--work", default="/tmp/velmora-bench")
    parser.add_argument("--encoder", default="build/bin/libq7z")
    options = parser.parse_args()
    os.makedirs(options.work, exist_ok=True)
    film = make_file(os.path.join(options.work, "film-2h-ac3.mkv"),
                ["-f", "lavfi", "-i", f"color=c=gray:size=640x360:rate=25:duration={FILM_SECONDS}",
                 "-f", "lavfi", "-i", SOUND_51, "-t", str(FILM_SECONDS), "-c:v", "mpeg4", "-c:a", "ac3",
                 "-b:a", "448k"])
    short = make_file(os.path.join(options.work, "film-60s-ac3.mkv"),
                 ["-f", "lavfi", "-i", "testsrc2=size=1200x576:rate=25,noise=alls=12:allf=t", "-f", "lavfi",
                  "-i", SOUND_51, "-t", str(SHORT_SECONDS), "-pix_fmt", "yuv420p", "-c:v", "libx264",
                  "-preset", "veryfast", "-b:v", "4000k", "-c:a", "ac3", "-b:a", "448k"])
    output = os.path.join(options.work, "loudness-out.mp4")
    print(f"load before: {os.getloadavg()[0]:.2f}")
    passes, conversions = [], []
    for round_number in range(options.rounds):
        passes.append(time_pass(options.encoder, film, output))
        conversions.append(time_conversion(options.encoder, short, output) * FILM_SECONDS / SHORT_SECONDS)
        print(f"round {round_number + 1}: pass {passes[-1]:.1f} s, conversion {conversions[-1]:.0f} s "
              f"(estimated for {FILM_SECONDS} s)", flush=True)
    pass_median, conversion_median = statistics.median(passes), statistics.median(conversions)
    print(f"load after: {os.getloadavg()[0]:.2f}")
    print(f"median pass over {FILM_SECONDS / 3600:.0f} h of 5.1 sound: {pass_median:.1f} s "
          f"({FILM_SECONDS / pass_median:.0f}x real time)")
    print(f"median conversion of the same length: {conversion_median:.0f} s")
    print(f"pass share: {100 * pass_median / conversion_median:.1f} % (target: at most 5 %)")


if __name__ == "__main__":
    main()
