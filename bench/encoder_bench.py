#!/usr/bin/env python3
"""Times libq7z against the ffmpeg program doing the same conversion.

Generates a 60 s H.264 source in the output's shape (1200x576 at 29.97 fps with stereo sound, so
neither output needs bars), then alternates runs of libq7z and of ffmpeg with equivalent options
(same x264 preset, bitrate, VBV, size, rate, references, B-frames and AAC settings; ffmpeg scales with
its default bicubic, libq7z with zimg's lanczos) and prints the median wall time and its ratio, cpu/wall,
frames per second, peak memory and the SSIM of each output against the source scaled with lanczos, and,
for comparison, against the source scaled with bicubic. Also times the thumbnail and the reaction to
"quit".

With --baseline, a second libq7z build (an earlier version, say) takes part in every round as well,
so that two versions are compared under the same conditions.

Usage: bench/encoder_bench.py [--rounds N] [--work FOLDER] [--encoder build/bin/libq7z] [--baseline OTHER]
Build first: cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build
"""
import argparse
import os
import re
import select
import statistics
import subprocess
import sys
import time

SOURCE_SECONDS = 60
PRESET = "medium"  # must match kX264Preset in encoder/EncoderSetup.h
SIZE = (400, 192)
RATE = "30000/1001"


def make_file(path, arguments):
    """Makes a file with the ffmpeg program once: `arguments` are its inputs and options."""
    if not os.path.exists(path):
        print(f"Making {path} ...", flush=True)
        root, extension = os.path.splitext(path)
        part = root + ".part" + extension
        subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-y", *arguments, part], check=True)
        os.rename(part, path)
    return path


def make_source(path):
    picture = f"testsrc2=size=1200x576:rate={RATE}:duration={SOURCE_SECONDS},noise=alls=12:allf=t+u"
    return make_file(path, [
        "-f", "lavfi", "-i", picture,
        "-f", "lavfi", "-i", f"sine=frequency=440:sample_rate=48000:duration={SOURCE_SECONDS}",
        "-f", "lavfi", "-i", f"sine=frequency=660:sample_rate=48000:duration={SOURCE_SECONDS}",
        "-filter_complex", "[1:a][2:a]amerge=inputs=2[a]", "-map", "0:v", "-map", "[a]",
        "-c:v", "libx264", "-preset", "veryfast", "-b:v", "4000k", "-pix_fmt", "yuv420p",
        "-c:a", "aac", "-b:a", "160k"])


def timed(command, stdin=subprocess.DEVNULL):
    """Runs a command; returns wall seconds, cpu seconds, peak memory in MiB and its stderr."""
    start = time.monotonic()
    process = subprocess.Popen(command, stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    error = process.stderr.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit(f"{command[0]} failed: {error.decode(errors='replace')[-2000:]}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024, error


def libq7z_command(encoder, source, output):
    return [encoder, "-i", source, "-f", "mp4", "-b", "1000k", "-r", "29.97", "-s", f"{SIZE[0]}x{SIZE[1]}",
            "-ar", "44100", "-ab", "128", "-ac", "2", "-y", output]


def ffmpeg_command(source, output):
    # The same job as libq7z: the PSP's H.264 limits, the same bitrate and VBV, ffmpeg's default scaler.
    return ["ffmpeg", "-nostdin", "-v", "error", "-y", "-i", source,
            "-vf", f"scale={SIZE[0]}:{SIZE[1]}:flags=bicubic,setsar=1", "-r", RATE,
            "-c:v", "libx264", "-preset", PRESET, "-profile:v", "main", "-level", "2.1", "-refs", "2", "-bf", "1",
            "-b:v", "1000k", "-maxrate", "2000k", "-bufsize", "2000k", "-x264-params", "sliced-threads=0:slices=1",
            "-c:a", "aac", "-b:a", "128k", "-ar", "44100", "-ac", "2", "-f", "psp", output]


def frames_of(path):
    text = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v", "-show_entries", "stream=nb_frames",
                           "-of", "csv=p=0", path], capture_output=True, text=True, check=True).stdout
    return int(text.strip())


def ssim_of(output, source, kernel):
    reference = f"[1:v]scale={SIZE[0]}:{SIZE[1]}:flags={kernel},fps={RATE}[ref]"
    log = subprocess.run(["ffmpeg", "-nostdin", "-i", output, "-i", source, "-lavfi", f"{reference};[0:v][ref]ssim",
                          "-f", "null", "-"], capture_output=True, text=True, check=True).stderr
    return float(re.search(r"All:([0-9.]+)", log).group(1))


def quit_reaction(encoder, source, output, after_seconds=3.0):
    """Seconds from the line "quit" to the encoder's exit."""
    process = subprocess.Popen(libq7z_command(encoder, source, output), stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    time.sleep(after_seconds)
    sent = time.monotonic()
    process.stdin.write(b"quit\n")
    process.stdin.flush()
    while select.select([process.stderr], [], [], 5)[0] and process.stderr.read1(65536):
        pass
    process.wait()
    return time.monotonic() - sent, process.returncode


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--work", default="/tmp/velmora-bench")
    parser.add_argument("--encoder", default=os.path.join(root, "build", "bin", "libq7z"))
    parser.add_argument("--baseline", help="another libq7z build to run in every round")
    args = parser.parse_args()
    encoders = {"libq7z": args.encoder}
    if args.baseline:
        encoders["baseline"] = args.baseline
    os.makedirs(args.work, exist_ok=True)
    source = os.path.join(args.work, "source-1200x576-2997.mp4")
    make_source(source)
    print(f"load average before: {open('/proc/loadavg').read().split()[0]}", flush=True)
    names = list(encoders) + ["ffmpeg"]
    runs = {name: [] for name in names}
    for round_number in range(args.rounds):
        # Each program takes each place in turn.
        shift = round_number % len(names)
        order = names[shift:] + names[:shift]
        for name in order:
            output = os.path.join(args.work, f"{name}-{round_number + 1}.mp4")
            command = (libq7z_command(encoders[name], source, output) if name in encoders
                       else ffmpeg_command(source, output))
            wall, cpu, memory, _ = timed(command)
            runs[name].append({"wall": wall, "cpu": cpu, "memory": memory, "output": output})
            print(f"round {round_number + 1}: {name:7s} wall {wall:6.2f} s  cpu {cpu:6.2f} s", flush=True)
    print(f"load average after: {open('/proc/loadavg').read().split()[0]}")

    # x264's threaded rate control does not repeat itself exactly, so every output's SSIM is measured.
    print("\nmeasuring SSIM ...", flush=True)
    for name in runs:
        for run in runs[name]:
            run["ssim"] = ssim_of(run["output"], source, "lanczos")
            run["ssim bicubic"] = ssim_of(run["output"], source, "bicubic")
            run["frames"] = frames_of(run["output"])
    print(f"\n{'':8s} {'wall s':>8s} {'cpu/wall':>9s} {'fps':>7s} {'peak MiB':>9s} {'SSIM mean':>10s} {'min..max':>19s}"
          f" {'bicubic ref':>12s}")
    median = {}
    mean_ssim = {}
    for name in names:
        wall = statistics.median(run["wall"] for run in runs[name])
        cpu = statistics.median(run["cpu"] for run in runs[name])
        memory = max(run["memory"] for run in runs[name])
        frames = runs[name][0]["frames"]
        ssims = [run["ssim"] for run in runs[name]]
        median[name] = wall
        mean_ssim[name] = statistics.mean(ssims)
        print(f"{name:8s} {wall:8.2f} {cpu / wall:9.2f} {frames / wall:7.1f} {memory:9.1f} {mean_ssim[name]:10.6f} "
              f"{min(ssims):.6f}..{max(ssims):.6f} {statistics.mean(run['ssim bicubic'] for run in runs[name]):12.6f}")
    print(f"\nwall-time ratio libq7z/ffmpeg (medians): {median['libq7z'] / median['ffmpeg']:.3f} (target <= 0.80)")
    # A round's two runs are neighbours in time: their ratio is less swayed by a drifting machine.
    paired = sorted(q["wall"] / f["wall"] for q, f in zip(runs["libq7z"], runs["ffmpeg"]))
    print(f"per-round ratios: median {statistics.median(paired):.3f}, range {paired[0]:.3f}..{paired[-1]:.3f}")
    print(f"SSIM libq7z - ffmpeg (means): {mean_ssim['libq7z'] - mean_ssim['ffmpeg']:+.6f} (target >= 0)")
    if "baseline" in runs:
        paired = sorted(q["wall"] / b["wall"] for q, b in zip(runs["libq7z"], runs["baseline"]))
        print(f"libq7z/baseline wall-time ratio (medians): {median['libq7z'] / median['baseline']:.3f}; "
              f"per round: median {statistics.median(paired):.3f}, range {paired[0]:.3f}..{paired[-1]:.3f}")
        print(f"SSIM libq7z - baseline (means): {mean_ssim['libq7z'] - mean_ssim['baseline']:+.6f}")

    thumbnail = os.path.join(args.work, "thumbnail.thm")
    thumbnail_times = []
    for _ in range(7):
        wall, _, _, _ = timed([args.encoder, "-i", source, "-vcodec", "mjpeg", "-vframes", "1", "-an", "-f", "image2",
                               "-s", "160x120", "-y", thumbnail])
        thumbnail_times.append(wall)
    print(f"thumbnail: median {statistics.median(thumbnail_times) * 1000:.0f} ms, "
          f"best {min(thumbnail_times) * 1000:.0f} ms (target < 100 ms)")
    reaction, code = quit_reaction(args.encoder, source, os.path.join(args.work, "stopped.mp4"))
    print(f"quit: ended {reaction * 1000:.0f} ms after the line, exit code {code} (target < 500 ms)")


if __name__ == "__main__":
    main()
