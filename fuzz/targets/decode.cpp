// A file decoded end to end the way a burn decodes it: its kind told from
// its content, the library decoder for that kind opened on it through our
// byte-source callbacks and read-ahead window, and every block read until
// the end (or a bound).
#include "FuzzSupport.h"

#include "burner/core/audio/AudioSniffer.h"
#include "burner/core/playtime/BufferedSource.h"

#include <vector>

namespace {

// The read-ahead window, each of its answers checked against the file's own
// bytes. A window of an odd, small size makes the decoders' reads straddle
// its edges often.
class CheckedWindow : public ByteSource {
public:
    CheckedWindow(ByteSource& file, size_t capacity) : m_file(file), m_window(file, capacity) {}
    uint64_t Size() const override { return m_window.Size(); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        size_t got = m_window.ReadAt(offset, buffer, count);
        m_expected.resize(count);
        size_t expected = count > 0 ? m_file.ReadAt(offset, m_expected.data(), count) : 0;
        FUZZ_CHECK(got == expected);
        FUZZ_CHECK(got == 0 || std::memcmp(buffer, m_expected.data(), got) == 0);
        return got;
    }

private:
    ByteSource& m_file;
    BufferedSource m_window;
    std::vector<uint8_t> m_expected;
};

// Enough to pass every header and a good stretch of frames; a small file of
// silence may decode to hours, which says nothing new.
constexpr uint64_t kMostFrames = 1u << 20;
constexpr int kMostReads = 4096;

void Decode(ByteSource& source) {
    AudioContainer container = SniffAudio(source);
    if (FamilyOf(container) != DecoderFamily::Library) return;
    std::string problem;
    std::unique_ptr<StreamDecoder> decoder = OpenLibraryDecoder(source, container, problem);
    if (!decoder) {
        FUZZ_CHECK(!problem.empty()); // a refusal always says why
        return;
    }
    const SourceFormat format = decoder->Format();
    FUZZ_CHECK(format.rate > 0 && format.channels > 0);
    FUZZ_CHECK(decoder->LengthFrames() >= 0);
    const size_t channels = static_cast<size_t>(format.channels);

    std::vector<int16_t> int16;
    std::vector<float> float32;
    uint64_t total = 0;
    for (int reads = 0; reads < kMostReads && total < kMostFrames; ++reads) {
        size_t frames = 0;
        StreamDecoder::Status status = decoder->Read(int16, float32, frames);
        if (status == StreamDecoder::Status::Error) {
            FUZZ_CHECK(!decoder->Problem().empty());
            return;
        }
        if (status == StreamDecoder::Status::End) {
            // The end stays the end.
            FUZZ_CHECK(decoder->Read(int16, float32, frames) != StreamDecoder::Status::Data);
            return;
        }
        // Data is never empty (the burn would read on forever), fits the block
        // the caller reads it from, and keeps the format it opened with.
        FUZZ_CHECK(frames > 0);
        const size_t held = format.kind == SampleKind::Int16 ? int16.size() : float32.size();
        FUZZ_CHECK(frames * channels <= held);
        FUZZ_CHECK(decoder->Format().rate == format.rate &&
                   decoder->Format().channels == format.channels);
        total += frames;
        FUZZ_CHECK(decoder->Position() == total);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t window = 1 + size % 997;
    MemorySource whole(data, size);
    CheckedWindow wholeWindow(whole, window);
    Decode(wholeWindow);
    fuzz::ShortReadSource failing(data, size, uint64_t{size} * 2 + 4096);
    CheckedWindow failingWindow(failing, window);
    Decode(failingWindow);
    return 0;
}
