#!/usr/bin/env python3
"""Times what adapting HDR to the PSP's screen costs libq7z.

Makes, once, two 10-bit HEVC copies of the first 20 s of encoder_bench.py's source (1200x576): one in
SDR BT.709 and one in HDR10 (PQ, BT.2020, reference white at 203 nits, mastering display and MaxCLL),
encoded alike. Round after round, libq7z converts both with the desktop program's default command line
at 29.97 fps and 400x192, in alternating order. Prints the median wall and cpu time of each, the ratios
of the medians and the median of the per-round wall-time ratios. Target: at most 1.10.

Usage: bench/colour_bench.py [--rounds N] [--work FOLDER] [--encoder build/bin/libq7z]
"""
import argparse
import os
import statistics
import subprocess

from encoder_bench import libq7z_command, make_source, timed

SECONDS = 20
HDR10 = ("hdr10=1:master-display=G(8500,39850)B(6550,2300)R(35400,14600)WP(15635,16450)L(10000000,50):"
         "max-cll=1000,400")


def make_deep(source, work):
    made = {}
    for name, transfer, primaries, matrix, extra in [
            ("sdr10", "bt709", "bt709", "bt709", ""),
            ("hdr10", "smpte2084", "bt2020", "bt2020nc", ":" + HDR10)]:
        path = os.path.join(work, f"colour-{name}.mkv")
        made[name] = path
        if os.path.exists(path):
            continue
        picture = (f"zscale=tin=bt709:pin=bt709:min=bt709:t={transfer}:p={primaries}:m={matrix}:npl=203,"
                   "format=yuv420p10le")
        subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y", "-t", str(SECONDS), "-i", source, "-vf", picture,
                        "-c:v", "libx265", "-preset", "ultrafast", "-b:v", "4M", "-x265-params", "log-level=error" + extra,
                        "-color_trc", transfer, "-color_primaries", primaries, "-colorspace", matrix,
                        "-c:a", "copy", path], check=True)
    return made


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
    inputs = make_deep(source, args.work)
    print(f"load average before: {open('/proc/loadavg').read().split()[0]}", flush=True)
    walls = {name: [] for name in inputs}
    cpus = {name: [] for name in inputs}
    for round_number in range(args.rounds):
        order = list(inputs) if round_number % 2 == 0 else list(reversed(inputs))
        for name in order:
            output = os.path.join(args.work, f"colour-{name}.mp4")
            wall, cpu, _, _ = timed(libq7z_command(args.encoder, inputs[name], output))
            walls[name].append(wall)
            cpus[name].append(cpu)
            print(f"round {round_number + 1}: {name} wall {wall:6.2f} s  cpu {cpu:6.2f} s", flush=True)
    print(f"load average after: {open('/proc/loadavg').read().split()[0]}")
    for name in inputs:
        print(f"{name}: median wall {statistics.median(walls[name]):.2f} s, cpu {statistics.median(cpus[name]):.2f} s")
    print(f"ratio hdr10/sdr10 (medians): {statistics.median(walls['hdr10']) / statistics.median(walls['sdr10']):.3f}"
          " (target <= 1.10)")
    print(f"cpu ratio hdr10/sdr10 (medians): {statistics.median(cpus['hdr10']) / statistics.median(cpus['sdr10']):.3f}")
    paired = sorted(h / s for h, s in zip(walls["hdr10"], walls["sdr10"]))
    print(f"per-round ratios: median {statistics.median(paired):.3f}, range {paired[0]:.3f}..{paired[-1]:.3f}")


if __name__ == "__main__":
    main()
