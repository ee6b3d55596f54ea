// What kind of audio a file holds, by its content (never its name), and
// which decoder reads it: libmpg123 for MPEG audio; libsndfile for WAV,
// Wave64, AIFF, FLAC, Ogg Vorbis and Ogg Opus (and for anything
// unrecognised, which it may know); libFLAC for FLAC in Ogg; the platform's
// media framework only for Windows Media and MP4/AAC.
#pragma once

#include "burner/core/audio/StreamDecoder.h"
#include "burner/core/playtime/ByteSource.h"

#include <memory>
#include <string>

enum class AudioContainer {
    Unknown,
    Mpeg,
    Wave, // RIFF, RF64 and BW64
    Wave64,
    Aiff,
    Flac,
    OggVorbis,
    OggOpus,
    OggFlac,
    OggOther, // Speex, video...: nothing here decodes it
    Asf,
    Mp4,
    Adts,
};

enum class DecoderFamily { Library, Platform, None };

AudioContainer SniffAudio(ByteSource& source);
DecoderFamily FamilyOf(AudioContainer container);
// "an MP3", "a FLAC file"...: for sentences about a file of this kind.
const char* DescribeContainer(AudioContainer container);

// A library decoder opened on the source for a container of the Library
// family; null with problem set when it cannot decode it.
std::unique_ptr<StreamDecoder> OpenLibraryDecoder(ByteSource& source, AudioContainer container,
                                                  std::string& problem);
