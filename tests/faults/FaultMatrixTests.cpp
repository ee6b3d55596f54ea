// A three-track compilation (WAV, MP3, Ogg) burned with one fault at one
// stage of the run. Whatever the fault, the run ends the way it should
// (burn-done with a sentence that says why, or no event at all after an
// Abort), leaves no image, no temporary file and no source open, and the
// engine's next run succeeds.
//
// Not every fault has every stage: decoding writes nothing, so the disk can
// only fill at a write, a flush, a rename or the folder check; and a source
// is read only until its track is decoded, so it can vanish, turn unreadable
// or turn out damaged only while it is checked or decoded (or vanish after
// the finalize event, which must not matter any more). A source damaged
// before the check is damaged only where its header states a length (the
// MP3's): an Ogg cut there is a shorter Ogg with trailing junk, and burns as one.
#include "tests/faults/FaultInjection.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>

void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << NameOf(fault);
}

namespace {

using Event = RecordedEvent;

const FaultCase kCases[] = {
    {Fault::DiskFull, Stage::Probe},       {Fault::DiskFull, Stage::Write, 1},
    {Fault::DiskFull, Stage::Write, 2},    {Fault::DiskFull, Stage::Write, 3},
    {Fault::DiskFull, Stage::FlushImage},  {Fault::DiskFull, Stage::FlushCue},
    {Fault::DiskFull, Stage::RenameImage}, {Fault::DiskFull, Stage::RenameCue},
    {Fault::DiskFull, Stage::Finalized},   {Fault::Vanishes, Stage::Probe, 1},
    {Fault::Vanishes, Stage::Decode, 1},   {Fault::Vanishes, Stage::Decode, 2},
    {Fault::Vanishes, Stage::Decode, 3},   {Fault::Vanishes, Stage::Finalized},
    {Fault::Unreadable, Stage::Probe, 2},  {Fault::Unreadable, Stage::Decode, 1},
    {Fault::Unreadable, Stage::Decode, 2}, {Fault::Unreadable, Stage::Decode, 3},
    {Fault::Damaged, Stage::Probe, 2},     {Fault::Damaged, Stage::Decode, 1},
    {Fault::Damaged, Stage::Decode, 2},    {Fault::Damaged, Stage::Decode, 3},
    {Fault::Abort, Stage::Probe, 2},       {Fault::Abort, Stage::Decode, 1},
    {Fault::Abort, Stage::Decode, 2},      {Fault::Abort, Stage::Decode, 3},
    {Fault::Abort, Stage::Write, 1},       {Fault::Abort, Stage::Write, 2},
    {Fault::Abort, Stage::Write, 3},       {Fault::Abort, Stage::FlushImage},
    {Fault::Abort, Stage::RenameImage},    {Fault::Abort, Stage::RenameCue},
    {Fault::Abort, Stage::Finalized},
};

enum class End {
    Refused,        // Prepare says why; no run
    Failed,         // the run's burn-done says why
    RefusedOrEnded, // whichever of the two first sees the damage
    Stopped,        // no burn-done, and no event after the Abort
    Finished,       // the fault came too late to matter
};

End ExpectedEnd(const FaultCase& fault) {
    if (fault.fault == Fault::Abort)
        return fault.stage == Stage::Probe ? End::Refused : End::Stopped;
    if (fault.stage == Stage::Finalized && fault.fault == Fault::Vanishes) return End::Finished;
    if (fault.stage != Stage::Probe) return End::Failed;
    // A source damaged or unreadable from its middle on may pass the check,
    // which reads its head; its decoding cannot.
    bool checkSeesIt = fault.fault == Fault::DiskFull || fault.fault == Fault::Vanishes;
    return checkSeesIt ? End::Refused : End::RefusedOrEnded;
}

bool IsSourceFault(const FaultCase& fault) {
    return fault.fault == Fault::Vanishes || fault.fault == Fault::Unreadable ||
           fault.fault == Fault::Damaged;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class FaultMatrix : public FaultyEngine, public testing::WithParamInterface<FaultCase> {
protected:
    size_t Count(Event::Kind kind) { return Events(kind).size(); }

    void ExpectTheEnd(const FaultCase& fault, const std::string& result, const std::string& why) {
        switch (ExpectedEnd(fault)) {
        case End::Refused:
            EXPECT_TRUE(Contains(result, "Prepare: ") && Contains(result, why)) << result;
            EXPECT_EQ(0u, Count(Event::Process) + Count(Event::BurnDone));
            EXPECT_NE(0, Api().Burn()); // nothing was left prepared
            break;
        case End::RefusedOrEnded:
            if (Contains(result, "Prepare: ")) {
                EXPECT_TRUE(Contains(result, why)) << result;
                EXPECT_EQ(0u, Count(Event::BurnDone));
                break;
            }
            [[fallthrough]];
        case End::Failed: {
            EXPECT_TRUE(!Contains(result, "Prepare: ") && Contains(result, why)) << result;
            std::vector<Event> events = Events();
            EXPECT_EQ(1u, Count(Event::BurnDone));
            EXPECT_EQ(Event::BurnDone, events.back().kind);
            // The finalize event comes once the BIN is on the disk, before the CUE sheet.
            bool late = fault.stage == Stage::FlushCue || fault.stage == Stage::RenameImage ||
                        fault.stage == Stage::RenameCue || fault.stage == Stage::Finalized;
            EXPECT_EQ(late ? 1u : 0u, Count(Event::Finalize));
            break;
        }
        case End::Stopped:
            EXPECT_EQ("stopped", result);
            Sleep(300);
            EXPECT_EQ(0u, Count(Event::BurnDone));
            // One event may already have been under way when Abort came.
            EXPECT_LE(Events().size(), m_eventsAtAbort + 1);
            break;
        case End::Finished:
            EXPECT_EQ("", result);
            break;
        }
        // A source that failed is named by one decode-done event with its error flag.
        std::vector<Event> errors;
        for (const Event& event : Events(Event::DecodeDone))
            if (event.error != 0) errors.push_back(event);
        bool named = IsSourceFault(fault) && ExpectedEnd(fault) != End::Finished;
        ASSERT_EQ(named ? 1u : 0u, errors.size());
        if (named) {
            EXPECT_TRUE(Contains(errors[0].text, why)) << errors[0].text;
        }
    }
};

TEST_P(FaultMatrix, EndsWithItsReasonLeavesNothingAndTheNextRunSucceeds) {
    const FaultCase fault = GetParam();
    std::wstring sources = FreshFolder(L"sources");
    std::wstring image = FreshFolder(L"image");
    std::vector<std::wstring> paths = CopySources(sources);
    SetImageOptions("FAULTS", image);
    for (const std::wstring& path : paths)
        Add(path);
    m_faults.Arm(fault, paths);
    std::string result = Run();
    ASSERT_TRUE(m_faults.Fired()) << "the fault was never made; the run ended: " << result;

    std::string why = fault.fault == Fault::DiskFull ? "the disk is full"
                      : fault.fault == Fault::Abort  ? "stopped"
                      : fault.track > 0 ? Narrow(paths[fault.track - 1].substr(sources.size() + 1))
                                        : "";
    ExpectTheEnd(fault, result, why);

    // Only a finished run keeps its image; nothing else stays, not even for
    // a moment longer than the run's threads take to end.
    std::vector<std::wstring> kept;
    if (ExpectedEnd(fault) == End::Finished) kept = {L"FAULTS.bin", L"FAULTS.cue"};
    EXPECT_TRUE(Eventually([&] { return FilesIn(image) == kept; }))
        << Narrow(FilesIn(image).empty() ? L"" : FilesIn(image).front());
    // No source is held open: every one can be deleted, with its folder.
    EXPECT_TRUE(Eventually([&] { return RemoveFolder(sources); }));
    EXPECT_TRUE(RemoveFolder(image));
    ExpectTheNextRunSucceeds();
}

INSTANTIATE_TEST_SUITE_P(Runs, FaultMatrix, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                             return NameOf(info.param);
                         });

} // namespace

namespace {

// The samples of a WAV file's data chunk.
std::string WavSamples(const std::string& wav) {
    for (size_t at = 12; at + 8 <= wav.size();) {
        uint32_t size = 0;
        std::memcpy(&size, wav.data() + at + 4, 4);
        if (wav.compare(at, 4, "data") == 0) return wav.substr(at + 8, size);
        at += 8 + size + (size & 1);
    }
    return "";
}

// Where a track starts in the BIN, from its CUE sheet's INDEX 01.
size_t TrackOffset(const std::string& cue, int track) {
    char heading[16];
    std::snprintf(heading, sizeof heading, "TRACK %02d", track);
    size_t at = cue.find("INDEX 01 ", cue.find(heading));
    int minutes = 0, seconds = 0, frames = 0;
    if (at == std::string::npos ||
        std::sscanf(cue.c_str() + at, "INDEX 01 %d:%d:%d", &minutes, &seconds, &frames) != 3)
        return std::string::npos;
    return static_cast<size_t>((minutes * 60 + seconds) * 75 + frames) * 2352;
}

class Spilling : public FaultyEngine {};

// A long WAV after a long MP3: decoded ahead, the WAV outgrows its share of
// memory while the MP3 is written and goes on into a temporary file beside
// the image. Burned, it is the WAV's own samples; a full disk there ends the
// run like one at the image, and a stop there too, and neither leaves a file.
TEST_F(Spilling, TheTrackKeptAsideBurnsExactlyAndAFullDiskOrAStopThereLeaveNothing) {
    const std::vector<std::wstring> paths = {Media(L"long.mp3"), Media(L"long.wav")};
    for (Fault fault : {Fault::Abort, Fault::DiskFull, Fault::Action}) {
        SCOPED_TRACE(NameOf({fault, Stage::Spill}));
        if (fault == Fault::Action) m_faults.SetAction(nullptr); // only looks
        ClearEvents();
        ASSERT_EQ(0, Api().CreateProject(0));
        std::wstring image = FreshFolder(L"spill");
        SetImageOptions("SPILL", image);
        for (const std::wstring& path : paths)
            Add(path);
        m_faults.Arm({fault, Stage::Spill}, paths);
        std::string result = Run();
        ASSERT_TRUE(m_faults.Fired()) << "nothing was kept aside; the run ended: " << result;
        std::vector<std::wstring> kept;
        if (fault == Fault::Abort) {
            EXPECT_EQ("stopped", result);
        } else if (fault == Fault::DiskFull) {
            EXPECT_TRUE(Contains(result, "the disk is full") && Contains(result, Narrow(image)))
                << result;
            EXPECT_EQ(1u, Events(Event::BurnDone).size());
            for (const Event& event : Events(Event::DecodeDone))
                EXPECT_EQ(0, event.error) << "a source was blamed: " << event.text;
        } else {
            ASSERT_EQ("", result);
            kept = {L"SPILL.bin", L"SPILL.cue"};
            std::string bin = ReadAll(image + L"\\SPILL.bin");
            std::string samples = WavSamples(ReadAll(paths[1]));
            size_t start = TrackOffset(ReadAll(image + L"\\SPILL.cue"), 2);
            ASSERT_NE(std::string::npos, start);
            ASSERT_GT(samples.size(), 10u << 20);
            ASSERT_LE(start + samples.size(), bin.size());
            EXPECT_TRUE(bin.compare(start, samples.size(), samples) == 0)
                << "the second track is not the WAV's samples";
            // Then silence to the end of its last sector.
            EXPECT_EQ(std::string(bin.size() - start - samples.size(), '\0'),
                      bin.substr(start + samples.size()));
            EXPECT_LT(bin.size() - start - samples.size(), 2352u);
        }
        EXPECT_TRUE(Eventually([&] { return FilesIn(image) == kept; }))
            << Narrow(FilesIn(image).empty() ? L"" : FilesIn(image).front());
        m_faults.Disarm();
        EXPECT_TRUE(RemoveFolder(image));
    }
    ExpectTheNextRunSucceeds();
}

} // namespace
