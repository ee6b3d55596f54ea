// What cannot be burned is refused before anything is written; a run that
// fails or is stopped leaves nothing behind.
#include "EngineHarness.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

std::vector<RecordedEvent> DecodeErrors(const std::vector<RecordedEvent>& events) {
    std::vector<RecordedEvent> found;
    for (const RecordedEvent& event : events)
        if (event.kind == RecordedEvent::DecodeDone && event.error != 0) found.push_back(event);
    return found;
}

TEST_F(BurnEngine, PrepareRefusesListsNoDiscCanHold) {
    std::wstring folder = FreshFolder(L"refused");
    SetImageOptions("REFUSED", folder);

    int32_t code = Api().Prepare();
    EXPECT_NE(0, code);
    EXPECT_TRUE(Contains(TextOf(code), L"add at least one audio file")) << Narrow(TextOf(code));

    for (int i = 0; i < 100; ++i)
        Add(Media(L"short.wav"));
    code = Api().Prepare();
    EXPECT_NE(0, code);
    EXPECT_TRUE(Contains(TextOf(code), L"100 tracks")) << Narrow(TextOf(code));
    EXPECT_TRUE(Contains(TextOf(code), L"at most 99")) << Narrow(TextOf(code));

    // Three files of 27 minutes: 81 minutes.
    for (int i = 0; i < 3; ++i)
        Add(Media(L"long.ogg"));
    code = Api().Prepare();
    EXPECT_NE(0, code);
    EXPECT_TRUE(Contains(TextOf(code), L"81:00")) << Narrow(TextOf(code));
    EXPECT_TRUE(Contains(TextOf(code), L"80-minute")) << Narrow(TextOf(code));
    EXPECT_NE(0, Api().Burn()); // nothing was prepared

    // 99 tracks of 4 s fit, as do two of the long files.
    for (int i = 0; i < 97; ++i)
        Add(Media(L"short.wav"));
    for (int i = 0; i < 2; ++i)
        Add(Media(L"long.ogg"));
    EXPECT_EQ(0, Api().Prepare()) << Narrow(TextOf(Api().Prepare()));
    EXPECT_EQ(0, Api().Abort()); // drops the prepared run
    EXPECT_NE(0, Api().Burn());
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_TRUE(DecodeErrors(m_log.Events()).empty());
}

TEST_F(BurnEngine, PrepareNamesEveryFileThatCannotBeUsed) {
    std::wstring folder = FreshFolder(L"badfiles");
    SetImageOptions("BAD", folder);
    const std::wstring missing = Media(L"no such file.wav");
    Add(Media(L"short.wav"));
    Add(missing);
    Add(Media(L"broken.mp3"));
    Add(Media(L"empty.wav"));
    Add(Media(L"cut.wma"));
    int32_t code = Api().Prepare();
    ASSERT_NE(0, code);
    std::wstring text = TextOf(code);
    EXPECT_TRUE(Contains(text, L"no such file.wav")) << Narrow(text);
    EXPECT_TRUE(Contains(text, L"does not exist")) << Narrow(text);
    EXPECT_TRUE(Contains(text, L"3 other files")) << Narrow(text);

    // One decode-done event with its error flag per failing file, raised
    // inside Prepare on the calling thread.
    std::vector<RecordedEvent> errors = DecodeErrors(m_log.Events());
    ASSERT_EQ(4u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].text.find("no such file.wav"));
    EXPECT_NE(std::string::npos, errors[1].text.find("broken.mp3"));
    EXPECT_NE(std::string::npos, errors[2].text.find("empty.wav"));
    EXPECT_NE(std::string::npos, errors[3].text.find("cut.wma"));
    for (const RecordedEvent& event : errors)
        EXPECT_EQ(GetCurrentThreadId(), event.thread);
    EXPECT_TRUE(FilesIn(folder).empty());

    Add(Media(L"broken.mp3"));
    code = Api().Prepare();
    EXPECT_TRUE(Contains(TextOf(code), L"broken.mp3")) << Narrow(TextOf(code));
    EXPECT_TRUE(Contains(TextOf(code), L"not audio")) << Narrow(TextOf(code));
}

TEST_F(BurnEngine, PrepareRefusesAFolderItCannotWriteTo) {
    SetImageOptions("NOWHERE", Media(L"no such folder"));
    Add(Media(L"short.wav"));
    int32_t code = Api().Prepare();
    ASSERT_NE(0, code);
    EXPECT_TRUE(Contains(TextOf(code), L"no such folder")) << Narrow(TextOf(code));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Media(L"no such folder").c_str()));
    // A file where the folder should be.
    SetImageOptions("NOWHERE", Media(L"short.wav"));
    Add(Media(L"short.wav"));
    code = Api().Prepare();
    EXPECT_NE(0, code);
    EXPECT_TRUE(Contains(TextOf(code), L"short.wav")) << Narrow(TextOf(code));
}

TEST_F(BurnEngine, AbortStopsTheRunAtOnceAndLeavesNothing) {
    EXPECT_EQ(0, Api().Abort()); // nothing to stop: harmless
    std::wstring folder = FreshFolder(L"aborted");
    SetImageOptions("ABORTED", folder);
    Add(Media(L"long.ogg"));
    Add(Media(L"long.ogg"));
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForProcess(60));
    EXPECT_FALSE(FilesIn(folder).empty()); // the temporary image is being written
    EXPECT_EQ(0, Api().Abort());
    size_t eventsAtAbort = m_log.Count();

    // Its files go within a second (polled, with room for a slow machine).
    for (int i = 0; i < 100 && !FilesIn(folder).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(FilesIn(folder).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(eventsAtAbort, m_log.Count()); // no event after Abort
    EXPECT_FALSE(m_log.WaitForBurnDone(0));

    // The project is empty again, and the next run works.
    EXPECT_EQ(200, Api().Prepare());
    Add(Media(L"short.wav"));
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForBurnDone(60));
    EXPECT_TRUE(m_log.Events().back().nullText);
    EXPECT_EQ(2u, FilesIn(folder).size());
}

TEST_F(BurnEngine, AFullDiskEndsTheRunWithATextAndNoFiles) {
    std::wstring full = Environment(L"QUILLOTUNE_BURN_FULL");
    if (GetFileAttributesW((full + L"\\.mounted").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP()
            << "no small disk could be mounted here; ImageWriter's tests cover the write seam";
    SetImageOptions("TOO BIG", full);
    Add(Media(L"mixed-1.wav")); // 1.3 MB on a 1 MiB disk
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForBurnDone(60));
    const RecordedEvent& last = m_log.Events().back();
    EXPECT_FALSE(last.nullText);
    EXPECT_NE(std::string::npos, last.text.find("disk is full")) << last.text;
    std::vector<std::wstring> files = FilesIn(full);
    EXPECT_EQ((std::vector<std::wstring>{L".mounted"}), files);
    for (const RecordedEvent& event : m_log.Events())
        EXPECT_NE(RecordedEvent::Finalize, event.kind);
}

TEST_F(BurnEngine, AFileThatVanishesAfterPrepareFailsTheRun) {
    std::wstring folder = FreshFolder(L"vanished");
    SetImageOptions("VANISHED", folder);
    std::wstring copy = folder + L"\\copy.wav";
    ASSERT_TRUE(CopyFileW(Media(L"mixed-1.wav").c_str(), copy.c_str(), FALSE));
    Add(Media(L"short.wav"));
    Add(copy);
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_TRUE(DeleteFileW(copy.c_str()));
    ASSERT_EQ(0, Api().Burn());
    ASSERT_TRUE(m_log.WaitForBurnDone(60));
    const RecordedEvent& last = m_log.Events().back();
    EXPECT_FALSE(last.nullText);
    EXPECT_NE(std::string::npos, last.text.find("copy.wav")) << last.text;
    std::vector<RecordedEvent> errors = DecodeErrors(m_log.Events());
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].text.find("copy.wav"));
    EXPECT_TRUE(FilesIn(folder).empty());
}

TEST_F(BurnEngine, PrepareRemovesWhatARunThatNeverEndedLeftBehind) {
    std::wstring folder = FreshFolder(L"leftovers");
    const std::wstring own = L"qtn-" + std::to_wstring(GetCurrentProcessId()) + L"-77.tmp";
    const std::vector<std::wstring> names = {L"qtn-4000000000-1.tmp", own, L"qtnAB12.tmp",
                                             L"keep.tmp"};
    for (const std::wstring& name : names) {
        HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
    }
    SetImageOptions("LEFTOVERS", folder);
    Add(Media(L"short.wav"));
    ASSERT_EQ(0, Api().Prepare());
    Api().Abort();
    // The process that made the first one is gone; the others are not ours
    // to judge (or still this process's own).
    std::vector<std::wstring> files = FilesIn(folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{L"keep.tmp", own, L"qtnAB12.tmp"}), files);
}

} // namespace
