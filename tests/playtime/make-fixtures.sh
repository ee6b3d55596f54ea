#!/usr/bin/env bash
# Makes the play-time fixtures with ffmpeg in the folder given ($1), and
# manifest.tsv beside them: name, decoded sample frames, sample rate and
# whole seconds, all as ffmpeg's own decoding of each file finds them.
# A file ffmpeg cannot decode gets 0 frames. Runs again only when this
# script changes.
set -euo pipefail
out="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
py=/usr/bin/python3
stamp="$(sha1sum "${BASH_SOURCE[0]}" "$here/patch-fixture.py" | sha1sum | cut -c1-40)"
if [ -f "$out/manifest.tsv" ] && [ "$(cat "$out/.stamp" 2>/dev/null)" = "$stamp" ]; then
    exit 0
fi
rm -rf "$out"
mkdir -p "$out"
cd "$out"

ff() { ffmpeg -nostdin -v error -y "$@"; }
# A tone of the given length, rate and channel count as ffmpeg input options.
tone() { echo "-f lavfi -i sine=frequency=440:duration=$1:sample_rate=$2 -ac $3"; }
patch() { "$py" "$here/patch-fixture.py" "$@"; }

# --- WAV: rates, depths, channel counts, float, extensible, RF64
# shellcheck disable=SC2046
{
ff $(tone 7.5 44100 2) -c:a pcm_s16le wav_44100_s16_stereo.wav
ff $(tone 3.2 8000 1) -c:a pcm_u8 wav_8000_u8_mono.wav
ff $(tone 5.5 48000 6) -c:a pcm_s24le wav_48000_s24_6ch_extensible.wav
ff $(tone 2.3 96000 2) -c:a pcm_s32le wav_96000_s32_stereo.wav
ff $(tone 4.9999 22050 1) -c:a pcm_f32le wav_22050_f32_mono_just_under_5s.wav
ff $(tone 6.01 44100 2) -c:a pcm_f64le wav_44100_f64_stereo.wav
ff $(tone 3.7 32000 4) -c:a pcm_s16le wav_32000_s16_4ch_extensible.wav
ff $(tone 5.25 44100 2) -c:a pcm_s16le -rf64 always wav_rf64.wav
ff $(tone 0.6 44100 2) -c:a pcm_s16le wav_shorter_than_a_second.wav
ff $(tone 9.4 44100 2) -c:a pcm_s16le "Ünïcødé 日本.wav"
ff $(tone 75 8000 1) -c:a pcm_u8 wav_75s_8000_u8.wav
cp wav_44100_s16_stereo.wav wav_odd_chunk_before_data.wav
patch odd-chunk wav_odd_chunk_before_data.wav
cp wav_44100_s16_stereo.wav wav_data_size_ffffffff.wav
patch wav-data-size wav_data_size_ffffffff.wav 0xFFFFFFFF
cp wav_44100_s16_stereo.wav wav_data_size_zero.wav
patch wav-data-size wav_data_size_zero.wav 0
cp wav_44100_s16_stereo.wav wav_data_size_absurd.wav
patch wav-data-size wav_data_size_absurd.wav 0x7FFFFFF0
cp wav_44100_s16_stereo.wav wav_cut_mid_frame.wav
patch cut wav_cut_mid_frame.wav 0.6 1
cp wav_rf64.wav wav_rf64_cut.wav
patch cut wav_rf64_cut.wav 0.7 0

# --- MP3: CBR and VBR, with and without Xing/Info, tags, MPEG-2 and 2.5
ff $(tone 6.37 44100 2) -c:a libmp3lame -b:a 128k mp3_cbr_info.mp3
ff $(tone 9.11 44100 2) -c:a libmp3lame -q:a 2 mp3_vbr_xing.mp3
ff $(tone 6.37 44100 2) -c:a libmp3lame -b:a 128k -write_xing 0 mp3_cbr_no_header.mp3
ff $(tone 9.11 44100 2) -c:a libmp3lame -q:a 2 -write_xing 0 mp3_vbr_no_header.mp3
ff $(tone 12.9 22050 1) -c:a libmp3lame -q:a 5 mp3_mpeg2_22050_mono_vbr.mp3
ff $(tone 12.9 22050 1) -c:a libmp3lame -q:a 5 -write_xing 0 mp3_mpeg2_22050_mono_no_header.mp3
ff $(tone 8.2 8000 1) -c:a libmp3lame -b:a 16k mp3_mpeg25_8000.mp3
ff $(tone 4.02 48000 2) -c:a libmp3lame -b:a 320k mp3_48000_320k.mp3
ff $(tone 7.7 44100 2) -c:a mp2 -b:a 192k -f mp2 mp2_layer2.mp3
ff $(tone 1200 8000 1) -c:a libmp3lame -b:a 8k -write_xing 0 mp3_20min_walked.mp3
ff -f lavfi -i "nullsrc=s=1024x1024,geq=random(1)*255:random(2)*255:random(3)*255" -frames:v 1 cover.png
ff -i cover.png -f lavfi -i sine=frequency=440:duration=5.5:sample_rate=44100 -map 1:a -map 0:v \
    -ac 2 -c:a libmp3lame -q:a 3 -c:v copy -id3v2_version 3 -metadata title="Big cover" \
    mp3_big_id3v2_cover.mp3
rm cover.png
ff $(tone 6.6 44100 2) -c:a libmp3lame -q:a 4 -write_id3v1 1 -metadata artist=Someone \
    mp3_id3v1_trailer.mp3
cp mp3_vbr_xing.mp3 mp3_id3v24_footer.mp3
patch id3-footer mp3_id3v24_footer.mp3
cp mp3_vbr_xing.mp3 mp3_two_id3v2_tags.mp3
patch id3-twice mp3_two_id3v2_tags.mp3
cp mp3_cbr_info.mp3 mp3_ape_tag_trailer.mp3
patch ape-tail mp3_ape_tag_trailer.mp3
cp mp3_vbr_no_header.mp3 mp3_junk_before_first_frame.mp3
patch junk-front mp3_junk_before_first_frame.mp3
cp mp3_vbr_xing.mp3 mp3_xing_without_frame_count.mp3
patch xing-no-frames mp3_xing_without_frame_count.mp3
cp mp3_vbr_xing.mp3 mp3_xing_cut_short.mp3
patch cut mp3_xing_cut_short.mp3 0.55 0

# --- Ogg Vorbis and Opus
ff $(tone 8.8 44100 2) -c:a libvorbis vorbis_44100_stereo.ogg
ff $(tone 3.999 48000 1) -c:a libvorbis vorbis_48000_mono_just_under_4s.ogg
ff $(tone 6.3 22050 6) -c:a libvorbis vorbis_22050_6ch.ogg
ff $(tone 7.3 48000 2) -c:a libopus opus_48000_stereo.opus
ff $(tone 5.9 16000 1) -c:a libopus opus_from_16000_mono.opus
ff $(tone 4.4 48000 2) -c:a libopus opus_named_dot_ogg.ogg
cp vorbis_44100_stereo.ogg vorbis_cut_short.ogg
patch cut vorbis_cut_short.ogg 0.5 0

# --- WMA
ff $(tone 5 44100 2) -c:a wmav2 wma2_44100_5s.wma
ff $(tone 7.3 44100 2) -c:a wmav2 wma2_44100_stereo.wma
ff $(tone 6.1 48000 2) -c:a wmav2 -b:a 160k wma2_48000.wma
ff $(tone 9.7 22050 1) -c:a wmav1 wma1_22050_mono.wma
ff $(tone 4.5 32000 2) -c:a wmav2 wma2_32000.wma

# --- Formats left to Media Foundation
ff $(tone 6.2 44100 2) -c:a flac other_flac.flac
ff $(tone 5.4 44100 2) -c:a pcm_s16be other_aiff.aiff
}

# --- Broken on purpose
: > broken_empty.wav
head -c 30 wav_44100_s16_stereo.wav > broken_truncated_header.wav
head -c 200 mp3_cbr_info.mp3 > broken_truncated_mp3.mp3
head -c 60 vorbis_44100_stereo.ogg > broken_truncated_ogg.ogg
head -c 100 wma2_44100_stereo.wma > broken_truncated_wma.wma
patch random broken_random.mp3 65536 1
patch random broken_random.wav 300000 2
printf 'This is a letter, not a song.\nRegards\n' > broken_text_renamed.mp3
patch id3-only broken_id3_without_audio.mp3
patch id3-absurd broken_id3_size_beyond_file.mp3
patch header-only broken_wav_without_samples.wav
# Sparse multi-gigabyte files: they cost no disk.
patch random broken_sparse_4g_random.mp3 1048576 3
truncate -s 4G broken_sparse_4g_random.mp3
truncate -s 3G broken_sparse_3g_zeros.wav

# --- What ffmpeg decodes from each file
manifest=manifest.tsv.part
: > "$manifest"
for f in *; do
    case "$f" in manifest.*) continue ;; esac
    rate="$(timeout 10 ffprobe -v error -select_streams a:0 -show_entries stream=sample_rate \
            -of csv=p=0 "$f" 2>/dev/null | head -n1 || true)"
    frames=0
    if [ -n "$rate" ] && [ "$rate" -gt 0 ] 2>/dev/null; then
        # Mono 16-bit output: two bytes per decoded frame, at the file's own rate.
        bytes="$(timeout 10 ffmpeg -nostdin -v quiet -i "$f" -map 0:a:0 -ac 1 -f s16le - 2>/dev/null \
                 | wc -c || true)"
        frames=$((bytes / 2))
    else
        rate=0
    fi
    seconds=0
    [ "$rate" -gt 0 ] && seconds=$((frames / rate))
    printf '%s\t%s\t%s\t%s\n' "$f" "$frames" "$rate" "$seconds" >> "$manifest"
done
printf '%s\t0\t0\t0\n' "broken_missing_file.wav" >> "$manifest"
mv "$manifest" manifest.tsv
echo "$stamp" > .stamp
