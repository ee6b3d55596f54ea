#!/usr/bin/python3
"""Preview heard for real through a private PulseAudio's null sink, whose
monitor parec records. Through the engine: a 440 Hz file sounds as 440 Hz, a
second PlayAudioFile replaces it, a burn made meanwhile equals one made in
silence, AudioFileStop silences the sink. Through the program: Play is heard,
Stop silences, Erase opens the engine's dialog, which closes cleanly.
    preview-sound.py <build folder>"""
import os, shutil, subprocess, sys, threading, time
import numpy as np

build = os.path.abspath(sys.argv[1])
run, bin_dir, work = f"{build}/wine-run.sh", f"{build}/bin", f"{build}/engine-preview"
runtime = f"{work}/pulse-runtime"
env = dict(os.environ, XDG_RUNTIME_DIR=runtime, PULSE_RUNTIME_PATH=f"{runtime}/pulse")
env.pop("PULSE_SERVER", None)
blocks = []  # (arrival time, bytes) from the sink's monitor


def fail(why):
    print("FAIL:", why)
    sys.exit(1)


def winpath(path):
    return "Z:" + path.replace("/", "\\")


def record(parec):
    while data := parec.stdout.read1(8192):
        blocks.append((time.monotonic(), data))


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
    band = lambda f: power[abs(freqs - f) < 10].sum()
    peak, rms = freqs[power.argmax()], np.sqrt((mono ** 2).mean())
    print(f"{what}: peak {peak:.1f} Hz, rms {rms:.3f}")
    if abs(peak - tone) > 3 or rms < 0.02:
        fail(f"{what}: expected {tone} Hz, heard {peak:.1f} Hz at rms {rms:.4f}")
    if gone and band(gone) > 0.01 * band(tone):
        fail(f"{what}: the {gone} Hz tone still sounds")


def through_the_engine():
    driver = subprocess.Popen([run, f"{bin_dir}/EngineDriver.exe"], env=env, cwd=bin_dir, text=True,
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def say(command, answer):
        driver.stdin.write(command + "\n")
        driver.stdin.flush()
        reply = driver.stdout.readline().strip()
        return reply == answer and time.monotonic() or fail(f"'{command}' answered '{reply}'")

    burn = lambda folder: say(f"burn {winpath(f'{work}/{folder}')} {winpath(f'{work}/burn.wav')}",
                              "burned ok")
    played = say(f"play {winpath(f'{work}/tone-440.wav')}", "played 0")
    time.sleep(2.5)
    replaced = say(f"play {winpath(f'{work}/tone-660.mp3')}", "played 0")
    time.sleep(2.5)
    burn("during")
    stopped = say("stop", "stopped 0")
    time.sleep(1.5)
    burn("quiet")
    driver.communicate("quit\n", timeout=60)
    expect(played, played + 2.3, "first preview", 440)
    expect(replaced, replaced + 2.3, "second preview", 660, gone=440)
    expect(stopped - 0.2, stopped + 1.3, "after AudioFileStop")
    during, quiet = (open(f"{work}/{f}/PREVIEW.bin", "rb").read() for f in ("during", "quiet"))
    if not during or during != quiet:
        fail("the burn made during the preview differs from the one made in silence")


def through_the_program():
    def probe(what, *args):
        done = subprocess.run([run, f"{bin_dir}/{args[0]}", *args[1:]], env=env, cwd=bin_dir,
                              capture_output=True, text=True)
        return done.stdout.strip() if done.returncode == 0 else fail(what)

    window = lambda what, verb, *args: probe(what, "WindowProbe.exe", verb, *args)
    program = subprocess.Popen([run, f"{bin_dir}/Quillotune.exe"], env=env, cwd=bin_dir,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window("no Quillotune window", "wait", "Quillotune", "60")
        probe("no update question", "LookProbe.exe", "question", "30")
        window("no Add", "click", "Quillotune", "1011")
        window("no Open dialog", "choose", "60", winpath(work), "tone-440.wav")
        window("no row for the file", "rows", "Quillotune", "1", "60")
        window("no Play", "click", "Quillotune", "1024")
        played = time.monotonic()
        time.sleep(3)
        window("no Stop", "click", "Quillotune", "1027")
        stopped = time.monotonic()
        time.sleep(2)
        expect(played + 0.5, played + 2.8, "Play in the program", 440)
        expect(stopped + 0.2, stopped + 1.9, "Stop in the program")
        window("no Erase", "click", "Quillotune", "1015")
        window("the erase dialog did not open", "wait", "Erase", "30")
        note = window("no note in the erase dialog", "text", "Erase", "3008")
        "nothing to erase" in note or fail(f"the erase dialog says '{note}'")
        window("no Close", "click", "Erase", "2")
        window("the erase dialog did not close", "gone", "Erase", "30")
        window("no Exit", "click", "Quillotune", "1017")
        program.wait(60)
    finally:
        program.kill()


shutil.rmtree(work, ignore_errors=True)
for folder in (runtime, f"{work}/during", f"{work}/quiet"):
    os.makedirs(folder, mode=0o700)
for name, source in (("tone-440.wav", "sine=frequency=440:duration=15,aformat=channel_layouts=stereo"),
                     ("tone-660.mp3", "sine=frequency=660:duration=15:sample_rate=48000"),
                     ("burn.wav", "aevalsrc=0.3*sin(2*PI*330*t)+0.1*(random(0)-0.5)|0.2*sin(2*PI*550*t):s=44100:d=3")):
    subprocess.run(["ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i", source, f"{work}/{name}"],
                   check=True)
subprocess.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "-n",
                "--load=module-null-sink sink_name=test", "--load=module-native-protocol-unix"],
               env=env, check=True, capture_output=True)
parec = subprocess.Popen(["parec", "-d", "test.monitor", "--format=s16le", "--rate=44100",
                          "--channels=2", "--latency-msec=20"], stdout=subprocess.PIPE, env=env)
try:
    threading.Thread(target=record, args=(parec,), daemon=True).start()
    time.sleep(1)
    through_the_engine()
    through_the_program()
finally:
    parec.kill()
    subprocess.run(["pulseaudio", "--kill"], env=env, capture_output=True)
print("PASS")
