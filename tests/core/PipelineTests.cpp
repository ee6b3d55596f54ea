// The buffer between the decoding threads and the image writer, and the gate
// the run's events pass: each end may stop, fail or finish while the other
// waits, and neither may hang, lose a chunk or let an event through late.
// Built natively as well, and run there under ThreadSanitizer.
#include "burner/core/run/EventGate.h"
#include "burner/core/run/TrackPipeline.h"
#include "tests/core/MemorySpill.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Next = TrackPipeline::Next;
using Chunk = TrackPipeline::Chunk;

Next PopFrom(TrackPipeline& pipeline, size_t& track, std::wstring& error) {
    Chunk chunk;
    return pipeline.Pop(chunk, track, error);
}

// A decoder waits on its full queue, another for its turn, the writer for
// data: a cancel, or a failure, wakes each with its answer.
TEST(TrackPipeline, CancelWhileFullAndFailWhileWaitingWakeEveryone) {
    for (bool cancel : {true, false}) {
        TrackPipeline pipeline(3, 8, 1);
        ASSERT_TRUE(pipeline.WaitForTurn(0));
        ASSERT_TRUE(pipeline.Push(0, Chunk(4, 1))); // 8 bytes: the queue is full
        EXPECT_DOUBLE_EQ(1.0, pipeline.Fill());
        auto pushing = std::async(std::launch::async, [&] { return pipeline.Push(0, Chunk(4)); });
        auto waiting = std::async(std::launch::async, [&] { return pipeline.WaitForTurn(2); });
        EXPECT_EQ(std::future_status::timeout, pushing.wait_for(50ms)) << "a full queue took more";
        EXPECT_EQ(std::future_status::timeout, waiting.wait_for(0ms))
            << "track 2 is past the window";
        if (cancel) {
            pipeline.Cancel();
        } else {
            pipeline.Fail(1, L"The file is damaged.");
            pipeline.Fail(0, L"A later failure does not replace the first.");
        }
        EXPECT_FALSE(pushing.get());
        EXPECT_FALSE(waiting.get());
        size_t track = 99;
        std::wstring error;
        EXPECT_EQ(cancel ? Next::Cancelled : Next::Failed, PopFrom(pipeline, track, error));
        if (!cancel) {
            EXPECT_EQ(1u, track);
            EXPECT_EQ(L"The file is damaged.", error);
        }
    }
}

// Two decoders take tracks in turn, as a run's do, while the writer drains
// them; stopped by a cancel or a failure at a random moment, every thread
// ends, and a run left alone gives every chunk once, in track order.
TEST(TrackPipeline, BothEndsRunToTheEndOrStopAnywhere) {
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        const int kind = round % 3; // 0 runs through, 1 is cancelled, 2 fails
        const int stopAt = std::uniform_int_distribution<int>(0, 39)(random);
        TrackPipeline pipeline(4, 16, 2);
        std::atomic<size_t> nextTrack{0};
        std::atomic<int> pushed{0};
        auto decode = [&] {
            for (size_t track; (track = nextTrack++) < 4;) {
                if (!pipeline.WaitForTurn(track)) return;
                for (int i = 0; i < 10; ++i) {
                    if (kind == 2 && pushed++ == stopAt) return pipeline.Fail(track, L"damaged");
                    if (!pipeline.Push(track, Chunk(1 + i % 3, static_cast<int16_t>(i)))) return;
                }
                pipeline.Finish(track);
            }
        };
        std::thread first(decode), second(decode);
        std::string seen;
        Next next;
        do {
            if (kind == 1 && static_cast<int>(seen.size()) == stopAt) pipeline.Cancel();
            Chunk chunk;
            size_t track = 0;
            std::wstring error;
            next = pipeline.Pop(chunk, track, error);
            ASSERT_LE(pipeline.Fill(), 1.0);
            if (next == Next::Chunk) seen += static_cast<char>('0' + chunk.front());
            if (next == Next::TrackEnd) seen += '|';
        } while (next == Next::Chunk || next == Next::TrackEnd);
        first.join();
        second.join();
        const Next expected[] = {Next::Done, Next::Cancelled, Next::Failed};
        ASSERT_EQ(expected[kind], next) << "round " << round;
        if (kind == 0) {
            EXPECT_EQ("0123456789|0123456789|0123456789|0123456789|", seen);
        }
    }
}

// Pushes on another thread, so a push that waits fails the test instead of
// hanging it.
bool PushesWithoutWaiting(TrackPipeline& pipeline, size_t track, std::vector<int16_t> values) {
    auto pushing = std::async(std::launch::async, [&] {
        for (int16_t value : values)
            if (!pipeline.Push(track, Chunk(2, value))) return false;
        return true;
    });
    if (pushing.wait_for(2s) == std::future_status::ready) return pushing.get();
    pipeline.Cancel();
    return false;
}

// The next track fills its half of the budget, then goes on into the store
// without waiting; once it is the one being written, what it pushes comes
// after what it spilled. The writer gets every chunk once, in order, the
// fill counts memory only, and the store lets go of the track once written.
TEST(TrackPipeline, ATrackAheadSpillsPastItsShareAndComesBackInOrder) {
    MemorySpill spill;
    TrackPipeline pipeline(2, 16, 2, &spill); // the track ahead: 8 bytes in memory
    ASSERT_TRUE(pipeline.WaitForTurn(0));
    ASSERT_TRUE(pipeline.WaitForTurn(1));
    ASSERT_TRUE(pipeline.Push(0, Chunk(2, 100)));
    ASSERT_TRUE(PushesWithoutWaiting(pipeline, 1, {1, 2, 3, 4, 5, 6}));
    pipeline.Finish(0);
    EXPECT_DOUBLE_EQ(8.0 / 16, pipeline.Fill()); // 100 and 1
    EXPECT_EQ(20u, spill.appendedBytes);
    EXPECT_EQ(20u, pipeline.SpilledBytes());

    std::vector<int> seen;
    auto take = [&](size_t expectedTrack) {
        Chunk chunk;
        size_t track = 99;
        std::wstring error;
        Next next = pipeline.Pop(chunk, track, error);
        EXPECT_EQ(expectedTrack, track);
        if (next == Next::Chunk) seen.push_back(chunk.front());
        return next;
    };
    EXPECT_EQ(Next::Chunk, take(0));
    EXPECT_EQ(Next::TrackEnd, take(0));
    EXPECT_EQ(Next::Chunk, take(1)); // 1, from memory
    EXPECT_EQ(Next::Chunk, take(1)); // 2, from the store
    // Being written now, track 1 pushes into memory, behind what it spilled.
    ASSERT_TRUE(PushesWithoutWaiting(pipeline, 1, {7, 8}));
    pipeline.Finish(1);
    EXPECT_EQ(20u, spill.appendedBytes) << "the track being written spilled";
    EXPECT_DOUBLE_EQ(8.0 / 16, pipeline.Fill());
    while (take(1) == Next::Chunk) {
    }
    EXPECT_EQ((std::vector<int>{100, 1, 2, 3, 4, 5, 6, 7, 8}), seen);
    EXPECT_EQ(20u, spill.readBytes);
    EXPECT_EQ(0u, spill.Kept()) << "the written track's spill was kept";
    EXPECT_DOUBLE_EQ(0.0, pipeline.Fill());
    size_t track = 0;
    std::wstring error;
    EXPECT_EQ(Next::Done, PopFrom(pipeline, track, error));
}

// A store that cannot take a chunk, or give one back, ends the run with its
// reason (not as a failed source), and a cancel reaches a decoder that spills.
TEST(TrackPipeline, AFailingSpillOrACancelWhileSpillingEndsTheRun) {
    for (int kind = 0; kind < 3; ++kind) { // the append fails, the read fails, a cancel
        MemorySpill spill;
        spill.failAppendAt = kind == 0 ? 2 : -1;
        spill.failReadAt = kind == 1 ? 1 : -1;
        TrackPipeline pipeline(2, 8, 2, &spill);
        ASSERT_TRUE(pipeline.WaitForTurn(1));
        // 1 in memory (half the budget), 2 and 3 spilled.
        ASSERT_TRUE(PushesWithoutWaiting(pipeline, 1, {1, 2, 3}));
        if (kind == 2) pipeline.Cancel();
        bool more = pipeline.Push(1, Chunk(2, 4));
        EXPECT_EQ(kind == 1, more) << "kind " << kind;
        if (kind == 0) pipeline.Fail(0, L"A later failure does not replace the store's.");
        pipeline.Finish(0);
        std::vector<Next> nexts;
        size_t track = 0;
        std::wstring error;
        for (Next next = Next::Chunk; next == Next::Chunk || next == Next::TrackEnd;)
            nexts.push_back(next = PopFrom(pipeline, track, error));
        const std::wstring why[] = {L"the disk is full", L"the spill could not be read", L""};
        EXPECT_EQ(kind == 2 ? Next::Cancelled : Next::SpillFailed, nexts.back()) << "kind " << kind;
        EXPECT_EQ(why[kind], kind == 2 ? L"" : error);
    }
}

// Records what passes the gate; the Process handler may block.
class RecordedEvents : public BurnEvents {
public:
    RecordedEvents(std::vector<std::string>& log, std::mutex& mutex) : m_log(log), m_mutex(mutex) {}
    std::function<void()> duringProcess;

    void Finalize() override { Add("Finalize"); }
    void BurnDone(const char* text) override { Add(std::string("BurnDone:") + (text ? text : "")); }
    void Process(float percent, uint32_t, float, double, uint64_t) override {
        if (duringProcess) duringProcess();
        Add("Process:" + std::to_string(static_cast<int>(percent)));
    }
    void AudioDecoder(float, uint64_t) override { Add("AudioDecoder"); }
    void AudioDecodeDone(const char* file, uint32_t, int32_t) override { Add(file); }

private:
    void Add(const std::string& line) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.push_back(line);
    }
    std::vector<std::string>& m_log;
    std::mutex& m_mutex;
};

class Gate : public testing::Test {
protected:
    std::vector<std::string> Log() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_log;
    }
    std::unique_ptr<RecordedEvents> Events() {
        return std::make_unique<RecordedEvents>(m_log, m_mutex);
    }
    std::vector<std::string> m_log;
    std::mutex m_mutex;
};

TEST_F(Gate, AClaimedEndStillSaysBurnDoneAfterAStopAndAStopFirstSilencesIt) {
    EventGate finished(Events());
    finished.AudioDecodeDone("a.wav", 1, 0);
    EXPECT_TRUE(finished.ClaimEnd());
    finished.Process(100, 1, 0, 0, 0); // the end is claimed: only BurnDone passes
    finished.Close();
    finished.BurnDone(nullptr);
    EventGate stopped(Events());
    stopped.Close();
    EXPECT_FALSE(stopped.ClaimEnd());
    stopped.Finalize();
    stopped.BurnDone("too late");
    EXPECT_EQ((std::vector<std::string>{"a.wav", "BurnDone:"}), Log());
}

// The program's Stop closes the gate on its own thread while a handler may
// wait for that very thread: Close must never wait for a handler.
TEST_F(Gate, CloseReturnsWhileAHandlerIsStillRunning) {
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    auto events = Events();
    events->duringProcess = [&] {
        entered.set_value();
        released.wait();
    };
    EventGate gate(std::move(events));
    std::thread run([&] {
        gate.Process(1, 1, 0, 0, 0);
        gate.Process(2, 1, 0, 0, 0); // after Close: never raised
    });
    entered.get_future().wait();
    auto closing = std::async(std::launch::async, [&] { gate.Close(); });
    EXPECT_EQ(std::future_status::ready, closing.wait_for(5s)) << "Close waited for the handler";
    release.set_value();
    run.join();
    EXPECT_EQ((std::vector<std::string>{"Process:1"}), Log());
}

} // namespace
