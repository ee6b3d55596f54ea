// Where the files of a run live: a folder the engine may not write to, one
// that vanishes, a drive that goes away in the middle of a run, paths longer
// than 260 characters and names in several scripts. And the length a track
// is checked against, which must be the file's own.
#include "tests/faults/FaultInjection.h"

namespace {

using Event = RecordedEvent;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Deletes a folder with everything in it, subfolders too.
bool RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + L"\\" + name);
            else
                DeleteFileW((folder + L"\\" + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(folder.c_str()) != FALSE;
}

// A folder path longer than `length`, made of nested folders under `base`.
std::wstring DeepFolder(const std::wstring& base, size_t length) {
    std::wstring folder = base;
    for (wchar_t letter = L'a'; folder.size() <= length; ++letter) {
        folder += L"\\" + std::wstring(60, letter);
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}

// Runs a command of the host: Wine starts Unix programs too, but gives no
// handle to wait on, so the caller waits for its effect.
void RunOnHost(const std::wstring& command) {
    std::wstring line = L"/bin/sh -c \"" + command + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(L"Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// A drive letter of Wine's mapped onto a folder of the host, as a USB stick
// would be, that can be pulled and put back.
class HostDrive {
public:
    explicit HostDrive(const std::wstring& folder) {
        for (wchar_t letter = L'Q'; letter <= L'Y' && m_root.empty(); ++letter)
            if (GetFileAttributesW((std::wstring(1, letter) + L":\\").c_str()) ==
                INVALID_FILE_ATTRIBUTES)
                m_root = std::wstring(1, letter) + L":\\";
        wchar_t prefix[1024] = {};
        GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
        m_link = std::wstring(prefix) + L"/dosdevices/" +
                 static_cast<wchar_t>(towlower(m_root[0])) + L":";
        m_target = folder.substr(2); // Z: is the host's root
        for (wchar_t& c : m_target)
            if (c == L'\\') c = L'/';
        PutBack();
    }
    ~HostDrive() { Pull(); }
    const std::wstring& Root() const { return m_root; }
    bool Present() const { return GetFileAttributesW(m_root.c_str()) != INVALID_FILE_ATTRIBUTES; }
    void Pull() {
        RunOnHost(L"rm -f '" + m_link + L"'");
        EXPECT_TRUE(Eventually([&] { return !Present(); })) << "the drive stayed";
    }
    void PutBack() {
        RunOnHost(L"ln -sfn '" + m_target + L"' '" + m_link + L"'");
        EXPECT_TRUE(Eventually([&] { return Present(); })) << "the drive did not come";
    }

private:
    std::wstring m_root, m_link, m_target;
};

class Places : public FaultyEngine {};

TEST_F(Places, AFolderTheEngineMayNotWriteToIsRefusedBeforeAndAtTheStart) {
    std::wstring image = FreshFolder(L"read-only");
    m_faults.DenyWritesIn(image);
    SetImageOptions("LOCKED", image);
    Add(Media(L"next.wav"));
    std::string result = Run();
    EXPECT_TRUE(Contains(result, "Prepare: ") && Contains(result, Narrow(image)) &&
                Contains(result, "access to it is denied"))
        << result;
    // Its rights change between Prepare and Burn: the run cannot start.
    m_faults.DenyWritesIn(L"");
    Add(Media(L"next.wav"));
    ASSERT_EQ(0, Api().Prepare());
    m_faults.DenyWritesIn(image);
    int32_t code = Api().Burn();
    EXPECT_TRUE(code != 0 && Contains(Narrow(TextOf(code)), "access to it is denied"));
    m_faults.DenyWritesIn(L"");
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(FilesIn(image).empty());
    ExpectTheNextRunSucceeds();
}

TEST_F(Places, AFolderThatVanishesBeforeTheRunStopsItWithItsReason) {
    std::wstring image = FreshFolder(L"vanishing");
    SetImageOptions("GONE", image);
    Add(Media(L"next.wav"));
    ASSERT_EQ(0, Api().Prepare());
    ASSERT_TRUE(RemoveDirectoryW(image.c_str()));
    int32_t code = Api().Burn();
    EXPECT_TRUE(code != 0 && Contains(Narrow(TextOf(code)), "does not exist"));
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(image.c_str())); // not made again
    ExpectTheNextRunSucceeds();
}

// A stick pulled while the second track is written: the run ends with its
// reason, and when the stick comes back it holds no image; the next run into
// it clears the temporary file the failed one could not delete.
TEST_F(Places, ADriveThatDisappearsMidRunEndsItWithItsReason) {
    std::wstring stick = FreshFolder(L"stick");
    RemoveTree(stick + L"\\images");
    HostDrive drive(stick);
    ASSERT_FALSE(drive.Root().empty()) << "no free drive letter";
    std::wstring image = drive.Root() + L"images";
    ASSERT_TRUE(CreateDirectoryW(image.c_str(), nullptr));
    std::wstring sources = FreshFolder(L"sources");
    std::vector<std::wstring> paths = CopySources(sources);
    SetImageOptions("STICK", image);
    for (const std::wstring& path : paths)
        Add(path);
    m_faults.SetAction([&] { drive.Pull(); });
    m_faults.Arm({Fault::Action, Stage::Write, 2}, paths);
    std::string result = Run();
    ASSERT_TRUE(m_faults.Fired()) << result;
    EXPECT_TRUE(Contains(result, Narrow(image))) << result;
    EXPECT_EQ(Event::BurnDone, Events().back().kind);

    drive.PutBack();
    for (const std::wstring& name : FilesIn(image))
        EXPECT_EQ(std::wstring::npos, name.find(L"STICK")) << Narrow(name);
    EXPECT_TRUE(Eventually([&] { return RemoveFolder(sources); }));
    m_faults.Disarm();
    ClearEvents();
    Add(Media(L"next.wav"));
    EXPECT_EQ("", Run());
    EXPECT_EQ((std::vector<std::wstring>{L"STICK.bin", L"STICK.cue"}), FilesIn(image));
    EXPECT_TRUE(RemoveTree(image));
}

TEST_F(Places, SourcesBeyond260CharactersBurnAndTooLongAFolderIsRefusedPlainly) {
    std::wstring base = FreshFolder(L"deep");
    std::wstring deep = DeepFolder(base, 280);
    std::wstring image = FreshFolder(L"image");
    SetImageOptions("DEEP", image);
    for (const std::wstring& path : CopySources(deep))
        Add(path);
    EXPECT_EQ("", Run());
    EXPECT_EQ((std::vector<std::wstring>{L"DEEP.bin", L"DEEP.cue"}), FilesIn(image));
    EXPECT_TRUE(RemoveFolder(image));
    ClearEvents();

    // Image folders: one that just fits the options' field, and a longer one
    // from the environment. Neither leaves the images somewhere else.
    std::wstring longImages = DeepFolder(base, 250).substr(0, 259);
    CreateDirectoryW(longImages.c_str(), nullptr);
    SetImageOptions("DEEP", longImages);
    Add(Media(L"next.wav"));
    std::string result = Run();
    EXPECT_TRUE(Contains(result, "Prepare: ") && Contains(result, "longer than 246 characters"))
        << result;
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", deep.c_str()));
    SetImageOptions("DEEP", L"");
    Add(Media(L"next.wav"));
    result = Run();
    SetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", nullptr);
    EXPECT_TRUE(Contains(result, "Prepare: ") && Contains(result, "longer than 246 characters"))
        << result;
    EXPECT_TRUE(Events(Event::BurnDone).empty());
    EXPECT_TRUE(RemoveTree(base));
}

TEST_F(Places, NamesInSeveralScriptsBurnAndAreNamedWhenTheyFail) {
    const std::wstring scripts = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u0420\u0443"
                                 L"\u0441\u0441\u043a\u0438\u0439 \u65e5\u672c\u8a9e";
    std::wstring sources = FreshFolder(L"sources " + scripts);
    std::wstring image = FreshFolder(L"images \u05e2\u05d1\u05e8\u05d9\u05ea \u00e9t\u00e9");
    const std::vector<std::wstring> names = {
        L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.wav",             // Greek
        L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439 \u00e9t\u00e9.mp3",     // Cyrillic, Latin
        L"\u65e5\u672c\u8a9e \u05e2\u05d1\u05e8\u05d9\u05ea \U0001F3B5.ogg", // CJK, Hebrew, a note
    };
    for (int round = 0; round < 2; ++round) {
        ClearEvents();
        std::vector<std::wstring> paths = CopySources(sources, names);
        SetImageOptions("Scripts", image);
        for (const std::wstring& path : paths)
            Add(path);
        // The second time, the Cyrillic file vanishes as its turn comes.
        if (round == 1) m_faults.Arm({Fault::Vanishes, Stage::Decode, 2}, paths);
        std::string result = Run();
        std::vector<Event> done = Events(Event::DecodeDone);
        if (round == 0) {
            EXPECT_EQ("", result);
            EXPECT_EQ((std::vector<std::wstring>{L"Scripts.bin", L"Scripts.cue"}), FilesIn(image));
            // Named in the ANSI code page, as far as it goes.
            ASSERT_EQ(3u, done.size());
            EXPECT_TRUE(Contains(done[0].text, "?.wav") &&
                        Contains(done[1].text, "\xe9t\xe9.mp3") && Contains(done[2].text, ".ogg"));
        } else {
            EXPECT_TRUE(Contains(result, "\xe9t\xe9.mp3\" cannot be opened")) << result;
            ASSERT_FALSE(done.empty());
            EXPECT_TRUE(done.back().error != 0 && Contains(done.back().text, "\xe9t\xe9.mp3"));
            EXPECT_TRUE(FilesIn(image).empty());
        }
        EXPECT_TRUE(Eventually([&] { return RemoveFolder(sources); }));
        for (const std::wstring& file : FilesIn(image))
            DeleteFileW((image + L"\\" + file).c_str());
        CreateDirectoryW(sources.c_str(), nullptr);
    }
    EXPECT_TRUE(RemoveFolder(sources) && RemoveFolder(image));
    ExpectTheNextRunSucceeds();
}

// An MP3 of varying bit rate without a Xing header: the decoder guesses
// 100 s for its 30. Its length is counted from its frames, so it is not
// taken for damaged, and 48 copies (24 minutes) fit a disc.
TEST_F(Places, ATrackIsCheckedAgainstTheLengthItsFramesGiveNotADecodersGuess) {
    std::wstring image = FreshFolder(L"vbr");
    SetImageOptions("VBR", image);
    Add(Media(L"vbr.mp3"));
    EXPECT_EQ("", Run());
    std::vector<Event> process = Events(Event::Process);
    ASSERT_FALSE(process.empty());
    EXPECT_NEAR(30.0, process.back().bytesWritten / (44100 * 4), 0.1);

    for (int i = 0; i < 48; ++i)
        Add(Media(L"vbr.mp3"));
    int32_t code = Api().Prepare();
    EXPECT_EQ(0, code) << Narrow(TextOf(code));
    EXPECT_EQ(0, Api().Abort());
    EXPECT_TRUE(RemoveFolder(image));
}

} // namespace
