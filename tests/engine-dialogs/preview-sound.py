#!/usr/bin/python3
"""The engine's preview heard for real through a private PulseAudio's null
sink, whose monitor parec records: a 440 Hz file sounds as 440 Hz, a second
PlayAudioFile replaces it, and AudioFileStop silences the sink.
    preview-sound.py <build folder>"""
import os, shutil, subprocess, sys, threading, time
import numpy as np

build = os.path.abspath(sys.argv[1])
work = f"{build}/engine-preview"
runtime = f"{work}/pulse-runtime"
env = dict(os.environ, XDG_RUNTIME_DIR=runtime, PULSE_RUNTIME_PATH=f"{runtime}/pulse")
env.pop("PULSE_SERVER", None)
blocks = []  # (arrival time, bytes) from the sink's monitor


def fail(why):
    print("FAIL:", why)
    sys.exit(1)


def expect(start, end, what, tone=None, gone=None):
    """The sink between two moments: one tone and not the other, or silence."""
    data = b"".join(d for t, d in list(blocks) if start + 0.5 <= t <= end)
    mono = np.frombuffer(data[: len(data) // 4 * 4], "<i2").reshape(-1, 2).mean(axis=1) / 32768
    if len(mono) < 22050:
        fail(f"{what}: only {len(mono)} frames were recorded")
    if tone is None:
        print(f"{what}: peak level {np.abs(mono).max():.5f}")
        return np.abs(mono).max() < 0.001 or fail(f"{what}: the sink is not silent")
    power = np.abs(np.fft.rfft(mono * np.hanning(len(mono)))) ** 2
    freqs = np.fft.rfftfreq(len(mono), 1 / 44100)
    peak, rms = freqs[power.argmax()], np.sqrt((mono ** 2).mean())
    print(f"{what}: peak {peak:.1f} Hz, rms {rms:.3f}")
    if abs(peak - tone) > 3 or rms < 0.02:
        fail(f"{what}: expected {tone} Hz, heard {peak:.1f} Hz at rms {rms:.4f}")
    if gone and power[abs(freqs - gone) < 10].sum() > 0.01 * power[abs(freqs - tone) < 10].sum():
        fail(f"{what}: the {gone} Hz tone still sounds")


shutil.rmtree(work, ignore_errors=True)
os.makedirs(runtime, mode=0o700)
for name, source in (("tone-440.wav", "sine=frequency=440:duration=15,aformat=channel_layouts=stereo"),
                     ("tone-660.mp3", "sine=frequency=660:duration=15:sample_rate=48000")):
    subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i", source, f"{work}/{name}"],
                   check=True)
subprocess.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "-n",
                "--load=module-null-sink sink_name=test", "--load=module-native-protocol-unix"],
               env=env, check=True, capture_output=True)
parec = subprocess.Popen(["parec", "-d", "test.monitor", "--format=s16le", "--rate=44100",
                          "--channels=2", "--latency-msec=20"], stdout=subprocess.PIPE, env=env)
try:
    threading.Thread(target=lambda: [blocks.append((time.monotonic(), d)) for d in iter(
        lambda: parec.stdout.read1(8192), b"")], daemon=True).start()
    time.sleep(1)
    driver = subprocess.Popen([f"{build}/wine-run.sh", f"{build}/bin/EngineDriver.exe"], env=env,
                              cwd=f"{build}/bin", text=True, stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def say(command, answer):
        driver.stdin.write(command.replace("/", "\\") + "\n")
        driver.stdin.flush()
        reply = driver.stdout.readline().strip()
        return reply == answer and time.monotonic() or fail(f"'{command}' answered '{reply}'")

    played = say(f"play Z:{work}/tone-440.wav", "played 0")
    time.sleep(2.5)
    replaced = say(f"play Z:{work}/tone-660.mp3", "played 0")
    time.sleep(2.5)
    stopped = say("stop", "stopped 0")
    time.sleep(1.5)
    driver.communicate("quit\n", timeout=60)
    expect(played, played + 2.3, "first preview", 440)
    expect(replaced, replaced + 2.3, "second preview", 660, gone=440)
    expect(stopped - 0.2, stopped + 1.3, "after AudioFileStop")
finally:
    parec.kill()
    subprocess.run(["pulseaudio", "--kill"], env=env, capture_output=True)
print("PASS")
