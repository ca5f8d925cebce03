#!/usr/bin/env python3
"""Times what burning in text subtitles costs libq7z.

Makes, once, two Matroska copies of encoder_bench.py's 60 s source (1200x576 H.264 with stereo AAC):
one with a SubRip track flagged default, a two-line cue on 90 % of the time (1.8 s of every 2 s, Latin,
Chinese and Japanese in turn), and one without. Round after round, libq7z converts both with the
desktop program's default command line at 29.97 fps and 400x192, in alternating order. Prints the median
wall and cpu time of each, the ratios of the medians and the median of the per-round wall-time ratios.
Target: at most 1.05.

Usage: bench/subtitle_bench.py [--rounds N] [--work FOLDER] [--encoder build/bin/libq7z]
"""
import argparse
import os
import statistics
import subprocess

from encoder_bench import SOURCE_SECONDS, libq7z_command, make_source, timed

LINES = ["Where are we going tonight?\\NI thought you knew the way.",
         "我们今晚去哪儿？\\N我以为你认识路。",
         "今夜はどこへ行くの？\\N道を知っていると思ってた。"]


def stamp(seconds):
    return f"{int(seconds // 3600):02d}:{int(seconds % 3600 // 60):02d}:{int(seconds % 60):02d},{int(seconds * 1000 % 1000):03d}"


def make_subtitled(source, work):
    plain = os.path.join(work, "plain.mkv")
    subtitled = os.path.join(work, "subtitled.mkv")
    if os.path.exists(plain) and os.path.exists(subtitled):
        return plain, subtitled
    cues = os.path.join(work, "cues.srt")
    with open(cues, "w", encoding="utf-8") as out:
        for number, start in enumerate(range(0, SOURCE_SECONDS, 2)):
            text = LINES[number % len(LINES)].replace("\\N", "\n")
            out.write(f"{number + 1}\n{stamp(start)} --> {stamp(start + 1.8)}\n{text}\n\n")
    run = ["ffmpeg", "-nostdin", "-v", "error", "-y", "-i", source]
    subprocess.run(run + ["-map", "0", "-c", "copy", plain], check=True)
    subprocess.run(run + ["-i", cues, "-map", "0", "-map", "1", "-c", "copy", "-c:s", "srt",
                          "-disposition:s:0", "default", subtitled], check=True)
    return plain, subtitled


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--work", default="/tmp/velmora-bench")
    parser.add_argument("--encoder", default=os.path.join(root, "build", "bin", "libq7z"))
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    source = os.path.join(args.work, "source-1200x576-2997.mp4")
    make_source(source)
    inputs = dict(zip(["without", "with"], make_subtitled(source, args.work)))
    print(f"load average before: {open('/proc/loadavg').read().split()[0]}", flush=True)
    walls = {name: [] for name in inputs}
    cpus = {name: [] for name in inputs}
    for round_number in range(args.rounds):
        order = list(inputs) if round_number % 2 == 0 else list(reversed(inputs))
        for name in order:
            output = os.path.join(args.work, f"subtitles-{name}.mp4")
            wall, cpu, _, _ = timed(libq7z_command(args.encoder, inputs[name], output))
            walls[name].append(wall)
            cpus[name].append(cpu)
            print(f"round {round_number + 1}: {name:7s} wall {wall:6.2f} s  cpu {cpu:6.2f} s", flush=True)
    print(f"load average after: {open('/proc/loadavg').read().split()[0]}")
    for name in inputs:
        print(f"{name:7s} subtitles: median wall {statistics.median(walls[name]):.2f} s, "
              f"cpu {statistics.median(cpus[name]):.2f} s")
    print(f"ratio with/without (medians): {statistics.median(walls['with']) / statistics.median(walls['without']):.3f}"
          " (target <= 1.05)")
    # On a busy machine the wall times scatter; the cpu times show the work itself.
    print(f"cpu ratio with/without (medians): {statistics.median(cpus['with']) / statistics.median(cpus['without']):.3f}")
    paired = sorted(w / o for w, o in zip(walls["with"], walls["without"]))
    print(f"per-round ratios: median {statistics.median(paired):.3f}, range {paired[0]:.3f}..{paired[-1]:.3f}")


if __name__ == "__main__":
    main()
