// The bounded buffer between the decoding threads and the writer.
#include "burner/run/TrackPipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TrackPipeline::Chunk ChunkOf(size_t track, size_t index, size_t samples) {
    return TrackPipeline::Chunk(samples, static_cast<int16_t>(track * 1000 + index));
}

TEST(TrackPipeline, TwoDecodersDeliverEveryTrackInOrder) {
    const size_t tracks = 7;
    TrackPipeline pipeline(tracks, 4096, 2);
    std::atomic<size_t> next{0};
    auto decoder = [&] {
        for (size_t track; (track = next++) < tracks;) {
            ASSERT_TRUE(pipeline.WaitForTurn(track));
            for (size_t i = 0; i < 20 + track; ++i)
                ASSERT_TRUE(pipeline.Push(track, ChunkOf(track, i, 100 + 37 * (i % 5))));
            pipeline.Finish(track);
        }
    };
    std::thread first(decoder), second(decoder);
    std::vector<size_t> ends;
    size_t expectedIndex = 0;
    double highestFill = 0;
    for (;;) {
        TrackPipeline::Chunk chunk;
        size_t track = 0;
        std::wstring error;
        TrackPipeline::Next got = pipeline.Pop(chunk, track, error);
        highestFill = std::max(highestFill, pipeline.Fill());
        if (got == TrackPipeline::Next::Done) break;
        ASSERT_NE(TrackPipeline::Next::Failed, got);
        if (got == TrackPipeline::Next::TrackEnd) {
            EXPECT_EQ(20 + track, expectedIndex);
            ends.push_back(track);
            expectedIndex = 0;
            continue;
        }
        EXPECT_EQ(ends.size(), track);
        EXPECT_EQ(static_cast<int16_t>(track * 1000 + expectedIndex), chunk.at(0));
        ++expectedIndex;
    }
    first.join();
    second.join();
    EXPECT_EQ((std::vector<size_t>{0, 1, 2, 3, 4, 5, 6}), ends);
    EXPECT_LE(highestFill, 1.0);
    EXPECT_EQ(0.0, pipeline.Fill());
}

TEST(TrackPipeline, ADecoderWaitsForRoomAndForItsTurn) {
    TrackPipeline pipeline(3, 1000, 2);
    ASSERT_TRUE(pipeline.Push(1, ChunkOf(1, 0, 500))); // 1000 bytes: the queue is full
    std::atomic<bool> pushed{false};
    std::atomic<bool> started{false};
    std::thread full([&] {
        pipeline.Push(1, ChunkOf(1, 1, 10));
        pushed = true;
    });
    std::thread third([&] {
        pipeline.WaitForTurn(2);
        started = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(pushed);  // track 1's queue is full
    EXPECT_FALSE(started); // tracks 0 and 1 are in flight
    EXPECT_DOUBLE_EQ(0.5, pipeline.Fill());

    pipeline.Finish(0);
    TrackPipeline::Chunk chunk;
    size_t track = 99;
    std::wstring error;
    EXPECT_EQ(TrackPipeline::Next::TrackEnd, pipeline.Pop(chunk, track, error));
    EXPECT_EQ(0u, track);
    third.join();
    EXPECT_TRUE(started);
    EXPECT_EQ(TrackPipeline::Next::Chunk, pipeline.Pop(chunk, track, error));
    EXPECT_EQ(500u, chunk.size());
    full.join();
    EXPECT_TRUE(pushed);
}

TEST(TrackPipeline, AFailureOrACancelReleasesEveryone) {
    TrackPipeline failing(2, 100, 2);
    ASSERT_TRUE(failing.Push(1, ChunkOf(1, 0, 50)));
    std::thread blocked([&] { EXPECT_FALSE(failing.Push(1, ChunkOf(1, 1, 50))); });
    failing.Fail(1, L"broken");
    blocked.join();
    TrackPipeline::Chunk chunk;
    size_t track = 0;
    std::wstring error;
    EXPECT_EQ(TrackPipeline::Next::Failed, failing.Pop(chunk, track, error));
    EXPECT_EQ(1u, track);
    EXPECT_EQ(L"broken", error);
    EXPECT_FALSE(failing.WaitForTurn(0));

    TrackPipeline cancelled(2, 100, 1);
    std::thread writer([&] {
        TrackPipeline::Chunk c;
        size_t t = 0;
        std::wstring e;
        EXPECT_EQ(TrackPipeline::Next::Cancelled, cancelled.Pop(c, t, e));
    });
    std::thread waiting([&] { EXPECT_FALSE(cancelled.WaitForTurn(1)); });
    cancelled.Cancel();
    writer.join();
    waiting.join();
    EXPECT_TRUE(cancelled.IsCancelled());
    EXPECT_FALSE(cancelled.Push(0, ChunkOf(0, 0, 1)));
}

} // namespace
