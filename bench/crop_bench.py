#!/usr/bin/env python3
"""Times the black-bar detection of libq7z against the conversion it precedes.

Makes, once, a few 60 s sources with black bars baked in (kept in --work), then per source and round
times the thumbnail line with -crop auto and with -crop off (the difference is the detection, which
the thumbnail runs before its one picture) and the video line at 480x272 with -crop off. Prints the
medians and the detection's share of the conversion's wall time. Target: at most 5 %.

Usage: bench/crop_bench.py [--rounds N] [--work FOLDER] [--encoder build/bin/libq7z]
Build first: cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build --target libq7z
"""
import argparse
import os
import statistics

from encoder_bench import make_file, timed

SECONDS = 60
# Name, the picture's graph, codec options. The key-picture spacing is the codecs' usual: ten seconds
# for x264's default, half a second for a DVD's MPEG-2.
SOURCES = [
    ("letterboxed-640x480-h264.mkv", "testsrc2=size=640x272:rate=25,pad=640:480:0:104,noise=alls=8:allf=t",
     ["-c:v", "libx264", "-preset", "veryfast", "-b:v", "1500k"]),
    ("pillarboxed-720x576-mpeg2.mpg", "testsrc2=size=540x576:rate=25,pad=720:576:90:0,noise=alls=8:allf=t",
     ["-c:v", "mpeg2video", "-g", "12", "-b:v", "5000k", "-f", "mpeg"]),
    ("letterboxed-1920x1080-h264.mp4", "testsrc2=size=1920x816:rate=24,pad=1920:1080:0:132",
     ["-c:v", "libx264", "-preset", "ultrafast", "-b:v", "6000k"]),
]


def make_source(folder, name, graph, codec):
    return make_file(os.path.join(folder, name),
                     ["-f", "lavfi", "-i", graph, "-t", str(SECONDS), "-pix_fmt", "yuv420p", *codec])


def wall(command):
    return timed(command)[0]


def thumbnail(encoder, source, output, mode):
    return [encoder, "-i", source, "-crop", mode, "-vcodec", "mjpeg", "-vframes", "1", "-an", "-f", "image2",
            "-s", "160x120", "-y", output]


def video(encoder, source, output, mode):
    return [encoder, "-i", source, "-crop", mode, "-f", "mp4", "-b", "1000k", "-r", "25.00", "-s", "480x272",
            "-ar", "44100", "-ab", "128", "-ac", "2", "-y", output]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--work", default="/tmp/velmora-crop-bench")
    parser.add_argument("--encoder", default="build/bin/libq7z")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    print(f"load average before: {os.getloadavg()[0]:.2f}")
    worst = 0.0
    for name, graph, codec in SOURCES:
        source = make_source(args.work, name, graph, codec)
        thm = os.path.join(args.work, "out.thm")
        mp4 = os.path.join(args.work, "out.mp4")
        auto, off, conversion = [], [], []
        for _ in range(args.rounds):
            auto.append(wall(thumbnail(args.encoder, source, thm, "auto")))
            off.append(wall(thumbnail(args.encoder, source, thm, "off")))
            conversion.append(wall(video(args.encoder, source, mp4, "off")))
        detection = max(0.0, statistics.median(auto) - statistics.median(off))
        share = detection / statistics.median(conversion)
        worst = max(worst, share)
        print(f"{name}: thumbnail auto {statistics.median(auto) * 1000:.0f} ms, off "
              f"{statistics.median(off) * 1000:.0f} ms; detection {detection * 1000:.0f} ms; conversion "
              f"{statistics.median(conversion):.2f} s; detection/conversion {share * 100:.2f} %")
    print(f"load average after: {os.getloadavg()[0]:.2f}")
    print(f"largest share: {worst * 100:.2f} % (target at most 5 %)")


if __name__ == "__main__":
    main()
