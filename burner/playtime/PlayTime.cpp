#include "burner/playtime/PlayTime.h"

#include "burner/core/EngineErrors.h"
#include "burner/core/playtime/BufferedSource.h"
#include "burner/core/playtime/LengthReaders.h"
#include "burner/core/audio/AudioSniffer.h"
#include "burner/playtime/FileSource.h"
#include "burner/playtime/MediaFoundationLength.h"

namespace {

constexpr uint64_t kHundredNsPerSecond = 10000000;

// The length the decoder states, or, when it states none, the frames it
// decodes.
int32_t DecoderLength(ByteSource& file, AudioContainer container, int32_t* seconds) {
    BufferedSource source(file);
    std::string problem;
    std::unique_ptr<StreamDecoder> decoder = OpenLibraryDecoder(source, container, problem);
    if (!decoder)
        return ToCode(container == AudioContainer::Unknown ? EngineError::NotAudio
                                                           : EngineError::Damaged);
    uint64_t frames = static_cast<uint64_t>(decoder->LengthFrames());
    if (frames == 0) {
        std::vector<int16_t> int16;
        std::vector<float> float32;
        size_t block = 0;
        while (decoder->Read(int16, float32, block) == StreamDecoder::Status::Data)
            frames += block;
    }
    return WholeSeconds(frames, static_cast<uint64_t>(decoder->Format().rate), source.Size(),
                        seconds);
}

} // namespace

int32_t MeasurePlayTime(const wchar_t* path, int32_t* seconds) {
    if (seconds == nullptr) return ToCode(EngineError::InvalidArgument);
    *seconds = 0;
    if (path == nullptr || *path == L'\0') return ToCode(EngineError::CannotOpen);

    uint64_t fileSize;
    {
        FileSource file;
        if (!file.Open(path)) return ToCode(EngineError::CannotOpen);
        fileSize = file.Size();
        if (fileSize == 0) return ToCode(EngineError::EmptyFile);
        AudioLength length = MeasureLength(file);
        if (length.IsSettled()) return WholeSeconds(length.frames, length.rate, fileSize, seconds);
        // A reader that knows the format and finds it broken has the last
        // word: a decoder would fail on it too, or worse, never answer.
        if (length.status == LengthStatus::Damaged) return ToCode(EngineError::Damaged);
        AudioContainer container = SniffAudio(file);
        switch (FamilyOf(container)) {
        case DecoderFamily::Library:
            return DecoderLength(file, container, seconds);
        case DecoderFamily::None:
            return ToCode(EngineError::NotAudio);
        case DecoderFamily::Platform:
            break;
        }
    } // closed before Media Foundation opens the file on its own

    MediaFoundationLength fallback = MeasureWithMediaFoundation(path);
    switch (fallback.outcome) {
    case MediaFoundationOutcome::Measured:
        return WholeSeconds(fallback.duration, kHundredNsPerSecond, fileSize, seconds);
    case MediaFoundationOutcome::Unavailable:
        return ToCode(EngineError::MediaUnavailable);
    case MediaFoundationOutcome::TimedOut:
        return ToCode(EngineError::Damaged);
    case MediaFoundationOutcome::NotReadable:
        break;
    }
    return ToCode(EngineError::NotAudio);
}
