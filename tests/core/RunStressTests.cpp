// A burn in miniature, many times over: decoder threads feed the track
// pipeline, a writer drains it and raises the run's events through the gate,
// and in each round a decoder fails, the program stops the run, both, or
// neither, at random moments. Whatever the timing, every thread ends, no
// chunk is lost, doubled or out of order, no event starts after the stop has
// returned (unless the run had already claimed its end), the buffer keeps
// to its budget, and burn-done comes at most once, last. Half the rounds
// spill the tracks ahead into a store, whose failures end the run like a
// source's; a finished run has let go of every spilled track. Run under
// ThreadSanitizer in the native build.
#include "burner/core/run/EventGate.h"
#include "burner/core/run/TrackPipeline.h"
#include "tests/core/MemorySpill.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Next = TrackPipeline::Next;
using Chunk = TrackPipeline::Chunk;

constexpr int kRounds = 1000;
constexpr size_t kTracks = 5;
constexpr size_t kWindow = 2;
constexpr size_t kBudgetBytes = 24; // a few chunks: both ends wait often
// Chunks of 2 to 5 samples: never more than half the budget, so the whole
// buffer can never hold more than the budget.

// What the writer's thread tells the handlers about the event it raises.
struct RaiseState {
    bool afterStop = false; // the program's stop had returned before the raise
    bool endClaimed = false;
};

// Records the events and every breach of the gate's promises; called on the
// writer's thread only, as the engine's events are.
class CheckedEvents : public BurnEvents {
public:
    CheckedEvents(const RaiseState& raise, std::vector<std::string>& log,
                  std::vector<std::string>& breaches)
        : m_raise(raise), m_log(log), m_breaches(breaches) {}

    void Finalize() override { Arrive("Finalize"); }
    void BurnDone(const char* errorText) override {
        if (m_raise.afterStop && !m_raise.endClaimed && errorText == nullptr)
            m_breaches.push_back("a success was reported after the stop, its end unclaimed");
        Arrive(std::string("BurnDone:") + (errorText ? errorText : "ok"), true);
    }
    void Process(float, uint32_t, float bufferFill, double, uint64_t) override {
        if (bufferFill < 0 || bufferFill > 1) m_breaches.push_back("fill beyond 0..1");
        Arrive("Process");
    }
    void AudioDecoder(float, uint64_t) override { Arrive("AudioDecoder"); }
    void AudioDecodeDone(const char*, uint32_t track, int32_t error) override {
        Arrive("Done" + std::to_string(track) + (error ? "!" : ""));
    }

private:
    void Arrive(const std::string& event, bool burnDone = false) {
        if (m_raise.afterStop && !(burnDone && m_raise.endClaimed))
            m_breaches.push_back(event + " started after the stop had returned");
        if (!m_log.empty() && m_log.back().rfind("BurnDone", 0) == 0)
            m_breaches.push_back(event + " after burn-done");
        m_log.push_back(event);
    }
    const RaiseState& m_raise;
    std::vector<std::string>& m_log;
    std::vector<std::string>& m_breaches;
};

struct Round {
    std::vector<int> chunksPerTrack;
    int failAtPush = -1; // the decoders' push that fails instead, or never
    int stopAtStep = -1; // the writer's step the program's stop races, or never
    size_t decoders = 2;
    bool spill = false;
    int spillFailsAt = -1; // the store's append (even) or read (odd) that fails, or never
};

Round MakeRound(std::mt19937& random, int index) {
    Round round;
    std::uniform_int_distribution<int> chunks(0, 12);
    for (size_t track = 0; track < kTracks; ++track)
        round.chunksPerTrack.push_back(chunks(random));
    int total = 0;
    for (int count : round.chunksPerTrack)
        total += count;
    // Neither, a failure, a stop, both; in half the rounds with a spill
    // store, whose failure is the failure in half of those.
    round.spill = index / 4 % 2 == 1;
    if (index % 4 == 1 || index % 4 == 3) {
        int at = std::uniform_int_distribution<int>(0, total)(random);
        if (round.spill && index / 8 % 2 == 1)
            round.spillFailsAt = at;
        else
            round.failAtPush = at;
    }
    // The writer's steps: one per chunk and per track end, Finalize, the claim.
    if (index % 4 >= 2)
        round.stopAtStep = std::uniform_int_distribution<int>(0, total + kTracks + 2)(random);
    round.decoders = 1 + index % 3;
    return round;
}

// A chunk says which track (first sample) and which of its chunks (the rest) it is.
Chunk Numbered(size_t track, int index, size_t samples) {
    Chunk chunk(samples, static_cast<int16_t>(index));
    chunk[0] = static_cast<int16_t>(track);
    return chunk;
}

class Burn {
public:
    explicit Burn(const Round& round)
        : m_round(round), m_spill(Store(round)),
          m_pipeline(kTracks, kBudgetBytes, kWindow, round.spill ? m_spill.get() : nullptr),
          m_gate(std::make_unique<CheckedEvents>(m_raise, log, breaches)) {}

    void Run() {
        std::vector<std::thread> decoders;
        for (size_t i = 0; i < m_round.decoders; ++i)
            decoders.emplace_back([this] { Decode(); });
        std::thread program;
        if (m_round.stopAtStep >= 0)
            program = std::thread([this] {
                while (m_step < m_round.stopAtStep && !m_writerGone)
                    std::this_thread::yield();
                m_gate.Close(); // as the engine's Abort does: the gate, then the pipeline
                m_pipeline.Cancel();
                m_stopReturned = true;
            });
        outcome = Write();
        for (std::thread& decoder : decoders)
            decoder.join();
        End();
        spillsKept = m_spill->Kept();
        spilledBytes = m_spill->appendedBytes;
        m_writerGone = true;
        if (program.joinable()) program.join();
    }

    Next outcome = Next::Chunk;
    std::wstring failure;
    bool endClaimed = false;
    size_t spillsKept = 0; // tracks whose spill the store still held at the end
    size_t spilledBytes = 0;
    std::vector<std::string> log;
    std::vector<std::string> breaches;

private:
    static std::unique_ptr<MemorySpill> Store(const Round& round) {
        auto store = std::make_unique<MemorySpill>();
        if (round.spillFailsAt % 2 == 0) store->failAppendAt = round.spillFailsAt / 2;
        if (round.spillFailsAt % 2 == 1) store->failReadAt = round.spillFailsAt / 2;
        return store;
    }

    void Decode() {
        for (size_t track; (track = m_nextTrack++) < kTracks;) {
            if (!m_pipeline.WaitForTurn(track)) return;
            for (int i = 0; i < m_round.chunksPerTrack[track]; ++i) {
                if (m_pushes++ == m_round.failAtPush) {
                    m_pipeline.Fail(track, L"track " + std::to_wstring(track) + L" is damaged");
                    return;
                }
                Chunk chunk = Numbered(track, i, 2 + (track + i) % 4);
                size_t bytes = chunk.size() * sizeof(int16_t);
                if (!m_pipeline.Push(track, std::move(chunk))) return;
                m_pushedBytes[track] += bytes;
            }
            m_pipeline.Finish(track);
        }
    }

    Next Write() {
        size_t expectedTrack = 0;
        int expectedChunk = 0;
        for (;;) {
            Chunk chunk;
            size_t track = 0;
            std::wstring error;
            Next next = m_pipeline.Pop(chunk, track, error);
            ++m_step;
            double fill = m_pipeline.Fill();
            if (fill < 0 || fill > 1) breaches.push_back("the pipeline's fill left 0..1");
            switch (next) {
            case Next::Chunk:
                if (track != expectedTrack || chunk.empty() ||
                    chunk[0] != static_cast<int16_t>(track) || chunk.back() != expectedChunk)
                    breaches.push_back("chunk out of order in track " + std::to_string(track));
                ++expectedChunk;
                CheckBufferBound(chunk.size() * sizeof(int16_t));
                Raise([&] {
                    m_gate.Process(50, static_cast<uint32_t>(track + 1), float(fill), 0, 0);
                });
                break;
            case Next::TrackEnd:
                if (track != expectedTrack || expectedChunk != m_round.chunksPerTrack[track])
                    breaches.push_back("track " + std::to_string(track) + " ended early");
                ++expectedTrack;
                expectedChunk = 0;
                Raise([&] { m_gate.AudioDecodeDone("t", static_cast<uint32_t>(track + 1), 0); });
                break;
            case Next::Failed:
            case Next::SpillFailed:
                failure = error;
                Raise([&] { m_gate.AudioDecodeDone("t", static_cast<uint32_t>(track + 1), 1); });
                return next;
            case Next::Cancelled:
                return next;
            case Next::Done:
                if (expectedTrack != kTracks) breaches.push_back("done before the last track");
                if (m_pipeline.Fill() != 0) breaches.push_back("done with chunks still buffered");
                return next;
            }
        }
    }

    // After the decoders are gone, as the engine's run ends.
    void End() {
        if (outcome == Next::Done) {
            Raise([&] { m_gate.Finalize(); });
            ++m_step;
            endClaimed = m_gate.ClaimEnd();
            m_raise.endClaimed = endClaimed;
            ++m_step;
            std::this_thread::yield(); // the engine has more to do before burn-done
            if (endClaimed) Raise([&] { m_gate.BurnDone(nullptr); });
        } else if (outcome == Next::Failed || outcome == Next::SpillFailed) {
            std::string text(failure.begin(), failure.end());
            Raise([&] { m_gate.BurnDone(text.c_str()); });
        }
    }

    // Tracks ahead of the one being written fill at most half the budget, and
    // that one adds to it only while it fits, or when its queue is empty.
    // What went through the store never counts.
    void CheckBufferBound(size_t bytes) {
        m_poppedBytes += bytes;
        size_t pushed = 0;
        for (const std::atomic<size_t>& track : m_pushedBytes)
            pushed += track;
        size_t spilled = m_spill->appendedBytes; // counted before the push returns
        size_t inMemory = pushed > spilled ? pushed - spilled : 0;
        size_t taken = m_poppedBytes - m_spill->readBytes;
        size_t buffered = inMemory > taken ? inMemory - taken : 0;
        if (buffered > kBudgetBytes)
            breaches.push_back("the pipeline held " + std::to_string(buffered) + " bytes");
    }

    template <typename Event> void Raise(Event event) {
        m_raise.afterStop = m_stopReturned;
        event();
    }

    const Round& m_round;
    std::unique_ptr<MemorySpill> m_spill;
    TrackPipeline m_pipeline;
    RaiseState m_raise;
    EventGate m_gate;
    std::atomic<size_t> m_nextTrack{0};
    std::atomic<int> m_pushes{0};
    std::atomic<bool> m_stopReturned{false};
    std::atomic<int> m_step{0};
    std::atomic<bool> m_writerGone{false};
    // What each track's decoder had handed over (counted once Push returns, so
    // never more than it really had) and what the writer had taken.
    std::atomic<size_t> m_pushedBytes[kTracks] = {};
    size_t m_poppedBytes = 0;
};

int Count(const std::vector<std::string>& log, const std::string& prefix) {
    int count = 0;
    for (const std::string& event : log)
        count += event.rfind(prefix, 0) == 0;
    return count;
}

TEST(RunStress, EveryRunEndsOnceWithTheRightEventsWhereverItFailsOrIsStopped) {
    std::mt19937 random(20240611);
    int finished = 0, failed = 0, stopped = 0, spillFailed = 0, spilling = 0;
    for (int index = 0; index < kRounds; ++index) {
        Round round = MakeRound(random, index);
        Burn burn(round);
        burn.Run();
        SCOPED_TRACE("round " + std::to_string(index));
        EXPECT_EQ(std::vector<std::string>{}, burn.breaches);
        EXPECT_LE(Count(burn.log, "BurnDone"), 1);

        const bool canStop = round.stopAtStep >= 0;
        spilling += burn.spilledBytes > 0;
        switch (burn.outcome) {
        case Next::Done:
            ++finished;
            EXPECT_EQ(burn.endClaimed ? 1 : 0, Count(burn.log, "BurnDone:ok"));
            if (!canStop) {
                EXPECT_TRUE(burn.endClaimed);
            }
            EXPECT_EQ(0u, burn.spillsKept);
            break;
        case Next::Failed:
            ++failed;
            EXPECT_TRUE(round.failAtPush >= 0);
            EXPECT_NE(std::wstring::npos, burn.failure.find(L"is damaged"));
            if (!canStop) {
                EXPECT_EQ(1, Count(burn.log, "BurnDone:track"));
            }
            break;
        case Next::SpillFailed:
            ++spillFailed;
            EXPECT_TRUE(round.spillFailsAt >= 0);
            EXPECT_TRUE(burn.failure == L"the disk is full" ||
                        burn.failure == L"the spill could not be read");
            if (!canStop) {
                EXPECT_EQ(1, Count(burn.log, "BurnDone:the"));
            }
            break;
        case Next::Cancelled:
            ++stopped;
            EXPECT_TRUE(canStop);
            EXPECT_EQ(0, Count(burn.log, "BurnDone"));
            break;
        default:
            ADD_FAILURE() << "the writer stopped on a chunk";
        }
    }
    // The rounds really met every ending.
    EXPECT_GT(finished, 0);
    EXPECT_GT(failed, 0);
    EXPECT_GT(stopped, 0);
    EXPECT_GT(spillFailed, 0);
    EXPECT_GT(spilling, kRounds / 4); // most rounds with a store used it
}

} // namespace
