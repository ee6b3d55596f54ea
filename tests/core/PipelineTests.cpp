// The buffer between the decoding threads and the image writer, and the gate
// the run's events pass: each end may stop, fail or finish while the other
// waits, and neither may hang, lose a chunk or let an event through late.
// Built natively as well, and run there under ThreadSanitizer.
#include "burner/core/run/EventGate.h"
#include "burner/core/run/TrackPipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
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

// Long enough for a thread that should block to have blocked.
constexpr auto kSettle = 50ms;

Chunk Samples(size_t count, int16_t value) {
    return Chunk(count, value);
}

TEST(TrackPipeline, CancelWakesADecoderWaitingOnAFullQueueAndTheWriter) {
    TrackPipeline pipeline(2, 8, 1);
    ASSERT_TRUE(pipeline.WaitForTurn(0));
    ASSERT_TRUE(pipeline.Push(0, Samples(4, 1))); // 8 bytes: the queue is full
    EXPECT_DOUBLE_EQ(1.0, pipeline.Fill());
    auto pushing = std::async(std::launch::async, [&] { return pipeline.Push(0, Samples(4, 2)); });
    auto nextTrack = std::async(std::launch::async, [&] { return pipeline.WaitForTurn(1); });
    EXPECT_EQ(std::future_status::timeout, pushing.wait_for(kSettle)) << "a full queue takes more";
    EXPECT_EQ(std::future_status::timeout, nextTrack.wait_for(0ms)) << "track 1 is past the window";

    pipeline.Cancel();
    EXPECT_FALSE(pushing.get());
    EXPECT_FALSE(nextTrack.get());
    Chunk chunk;
    size_t track = 0;
    std::wstring error;
    EXPECT_EQ(Next::Cancelled, pipeline.Pop(chunk, track, error));
    EXPECT_FALSE(pipeline.Push(1, Samples(1, 3)));
}

TEST(TrackPipeline, AFailureReachesTheWaitingWriterAndStopsTheOtherDecoders) {
    TrackPipeline pipeline(3, 64, 1);
    Chunk chunk;
    size_t track = 99;
    std::wstring error;
    auto writer = std::async(std::launch::async, [&] { return pipeline.Pop(chunk, track, error); });
    auto waiting = std::async(std::launch::async, [&] { return pipeline.WaitForTurn(2); });
    EXPECT_EQ(std::future_status::timeout, writer.wait_for(kSettle)) << "nothing to write yet";

    pipeline.Fail(0, L"The file is damaged.");
    pipeline.Fail(1, L"A later failure does not replace the first.");
    EXPECT_EQ(Next::Failed, writer.get());
    EXPECT_EQ(0u, track);
    EXPECT_EQ(L"The file is damaged.", error);
    EXPECT_FALSE(waiting.get());
    EXPECT_FALSE(pipeline.Push(0, Samples(1, 1)));
}

// Two decoders take tracks in turn, as a run's do, while the writer drains
// them; every chunk arrives once, in track order, then Done.
TEST(TrackPipeline, TheWriterGetsEveryChunkInTrackOrderWhileBothEndsRun) {
    constexpr size_t kTracks = 5;
    constexpr int kChunksPerTrack = 40;
    TrackPipeline pipeline(kTracks, 64, 2);
    std::atomic<size_t> nextTrack{0};
    auto decode = [&] {
        for (size_t track; (track = nextTrack++) < kTracks;) {
            if (!pipeline.WaitForTurn(track)) return;
            for (int i = 0; i < kChunksPerTrack; ++i)
                if (!pipeline.Push(track, Samples(1 + i % 7, static_cast<int16_t>(i)))) return;
            pipeline.Finish(track);
        }
    };
    std::thread first(decode), second(decode);
    std::vector<std::string> seen;
    for (;;) {
        Chunk chunk;
        size_t track = 0;
        std::wstring error;
        Next next = pipeline.Pop(chunk, track, error);
        ASSERT_LE(pipeline.Fill(), 1.0);
        if (next == Next::Done) break;
        ASSERT_NE(Next::Failed, next);
        ASSERT_NE(Next::Cancelled, next);
        seen.push_back(next == Next::TrackEnd
                           ? "end " + std::to_string(track)
                           : std::to_string(track) + ":" + std::to_string(chunk.front()));
    }
    first.join();
    second.join();
    std::vector<std::string> expected;
    for (size_t track = 0; track < kTracks; ++track) {
        for (int i = 0; i < kChunksPerTrack; ++i)
            expected.push_back(std::to_string(track) + ":" + std::to_string(i));
        expected.push_back("end " + std::to_string(track));
    }
    EXPECT_EQ(expected, seen);
    EXPECT_EQ(0.0, pipeline.Fill());
}

// Cancel and failure at random moments of a run: every thread ends, and the
// writer's last answer says why.
TEST(TrackPipeline, EveryRunEndsWhereverItIsStopped) {
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        TrackPipeline pipeline(4, 16, 2);
        const int stopAfter = std::uniform_int_distribution<int>(0, 60)(random);
        const bool byFailure = round % 2 == 1;
        std::atomic<size_t> nextTrack{0};
        std::atomic<int> pushed{0};
        auto decode = [&] {
            for (size_t track; (track = nextTrack++) < 4;) {
                if (!pipeline.WaitForTurn(track)) return;
                for (int i = 0; i < 10; ++i) {
                    if (byFailure && pushed++ == stopAfter) {
                        pipeline.Fail(track, L"damaged");
                        return;
                    }
                    if (!pipeline.Push(track, Samples(3, 1))) return;
                }
                pipeline.Finish(track);
            }
        };
        std::thread first(decode), second(decode);
        Next next;
        int popped = 0;
        do {
            Chunk chunk;
            size_t track = 0;
            std::wstring error;
            if (!byFailure && popped++ == stopAfter) pipeline.Cancel();
            next = pipeline.Pop(chunk, track, error);
        } while (next == Next::Chunk || next == Next::TrackEnd);
        first.join();
        second.join();
        if (next == Next::Done) {
            EXPECT_GT(stopAfter, byFailure ? 39 : 44) << "round " << round << " finished early";
        } else {
            EXPECT_EQ(byFailure ? Next::Failed : Next::Cancelled, next) << "round " << round;
        }
    }
}

// Records what passes the gate, in order, from any thread.
class RecordedEvents : public BurnEvents {
public:
    explicit RecordedEvents(std::vector<std::string>& log, std::mutex& mutex)
        : m_log(log), m_mutex(mutex) {}
    std::function<void()> duringProcess;

    void Finalize() override { Add("Finalize"); }
    void BurnDone(const char* errorText) override {
        Add(std::string("BurnDone(") + (errorText ? errorText : "null") + ")");
    }
    void Process(float percent, uint32_t, float, double, uint64_t) override {
        if (duringProcess) duringProcess();
        Add("Process(" + std::to_string(static_cast<int>(percent)) + ")");
    }
    void AudioDecoder(float, uint64_t track) override {
        Add("AudioDecoder(" + std::to_string(track) + ")");
    }
    void AudioDecodeDone(const char* fileName, uint32_t, int32_t error) override {
        Add(std::string("AudioDecodeDone(") + fileName + "," + std::to_string(error) + ")");
    }

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
    finished.Process(50, 1, 0, 0, 0);
    EXPECT_TRUE(finished.ClaimEnd());
    finished.Process(100, 1, 0, 0, 0); // the end is claimed: only BurnDone passes
    finished.Close();
    EXPECT_FALSE(finished.IsClosed());
    finished.BurnDone(nullptr);
    EXPECT_EQ(
        (std::vector<std::string>{"AudioDecodeDone(a.wav,0)", "Process(50)", "BurnDone(null)"}),
        Log());

    m_log.clear();
    EventGate stopped(Events());
    stopped.Close();
    EXPECT_TRUE(stopped.IsClosed());
    EXPECT_FALSE(stopped.ClaimEnd());
    stopped.Finalize();
    stopped.AudioDecoder(10, 1);
    stopped.BurnDone("too late");
    EXPECT_TRUE(Log().empty());
}

// The program's Stop closes the gate on its own thread while a handler may
// wait for that very thread: Close must never wait for a handler.
TEST_F(Gate, CloseReturnsWhileAHandlerIsStillRunning) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> entered;
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
    closing.get();
    EXPECT_EQ((std::vector<std::string>{"Process(1)"}), Log());
}

} // namespace
