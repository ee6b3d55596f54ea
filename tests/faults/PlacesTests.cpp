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

// A folder path longer than `length`, made of nested folders under `base`.
std::wstring DeepFolder(const std::wstring& base, size_t length) {
    std::wstring folder = base;
    for (wchar_t letter = L'a'; folder.size() <= length; ++letter) {
        folder += L"\\" + std::wstring(60, letter);
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}

// Runs a command of the host (Wine starts Unix programs too) and waits
// until done() shows its effect: Wine gives no handle to wait on.
template <class Done> bool OnHost(const std::wstring& command, Done done) {
    std::wstring line = L"/bin/sh -c \"" + command + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Eventually(done);
}

// The host's name for a folder of its drive Z:.
std::wstring HostPath(std::wstring folder) {
    for (wchar_t& c : folder)
        if (c == L'\\') c = L'/';
    return folder.substr(2);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a folder with everything in it, subfolders too.
bool RemoveTree(const std::wstring& folder) {
    return OnHost(L"rm -rf '" + HostPath(folder) + L"'", [&] { return !Exists(folder); });
}

// A drive letter of Wine's mapped onto a folder of the host, as a USB stick
// would be, that can be pulled and put back.
class HostDrive {
public:
    explicit HostDrive(const std::wstring& folder) : m_target(HostPath(folder)) {
        for (wchar_t letter = L'Q'; letter <= L'Y' && m_root.empty(); ++letter)
            if (!Exists(std::wstring(1, letter) + L":\\"))
                m_root = std::wstring(1, letter) + L":\\";
        wchar_t prefix[1024] = {};
        GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
        m_link = prefix + (L"/dosdevices/" + std::wstring(1, towlower(m_root[0]))) + L":";
        PutBack();
    }
    ~HostDrive() { Pull(); }
    const std::wstring& Root() const { return m_root; }
    void Pull() {
        EXPECT_TRUE(OnHost(L"rm -f '" + m_link + L"'", [&] { return !Exists(m_root); }));
    }
    void PutBack() {
        EXPECT_TRUE(OnHost(L"ln -sfn '" + m_target + L"' '" + m_link + L"'",
                           [&] { return Exists(m_root); }));
    }

private:
    std::wstring m_target, m_root, m_link;
};

class Places : public FaultyEngine {};

// Refused by Prepare, or by Burn when its rights change or it vanishes
// after Prepare: the reason is told, and no event comes.
TEST_F(Places, AFolderItCannotWriteToOrThatVanishedIsRefusedWithItsReason) {
    std::wstring image = FreshFolder(L"refusing");
    SetImageOptions("REFUSED", image);
    // No rights at Prepare, none from Burn on, the folder gone at Burn.
    for (int when = 0; when < 3; ++when) {
        m_faults.DenyWritesIn(when == 0 ? image : L"");
        Add(Media(L"next.wav"));
        int32_t code = Api().Prepare();
        if (when > 0) {
            ASSERT_EQ(0, code);
            if (when == 1) m_faults.DenyWritesIn(image);
            ASSERT_TRUE(when != 2 || RemoveDirectoryW(image.c_str()));
            code = Api().Burn();
        }
        std::string text = Narrow(TextOf(code));
        EXPECT_TRUE(code != 0 && Contains(text, Narrow(image)) &&
                    Contains(text, when < 2 ? "access to it is denied" : "does not exist"))
            << text;
        EXPECT_TRUE(Events().empty());
        EXPECT_TRUE(FilesIn(image).empty());
    }
    m_faults.DenyWritesIn(L"");
    EXPECT_FALSE(Exists(image)); // not made again
    ExpectTheNextRunSucceeds();
}

// A stick pulled while the second track is written: the run ends with its
// reason, and when the stick comes back it holds no image; the next run into
// it clears the temporary file the failed one could not delete.
TEST_F(Places, ADriveThatDisappearsMidRunEndsItWithItsReason) {
    std::wstring stick = FreshFolder(L"stick");
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
    EXPECT_TRUE(RemoveTree(stick));
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
    // Burned, then with the Cyrillic file vanishing as its turn comes.
    for (bool vanishes : {false, true}) {
        ClearEvents();
        std::vector<std::wstring> paths = CopySources(sources, names);
        SetImageOptions("Scripts", image);
        for (const std::wstring& path : paths)
            Add(path);
        if (vanishes) m_faults.Arm({Fault::Vanishes, Stage::Decode, 2}, paths);
        std::string result = Run();
        // Events name the files in the ANSI code page, as far as it goes.
        std::vector<Event> done = Events(Event::DecodeDone);
        ASSERT_TRUE(vanishes ? !done.empty() : done.size() == 3u);
        const Event& mp3 = vanishes ? done.back() : done[1];
        EXPECT_TRUE(Contains(mp3.text, "\xe9t\xe9.mp3") && vanishes == (mp3.error != 0));
        if (vanishes) {
            EXPECT_TRUE(Contains(result, "\xe9t\xe9.mp3\" cannot be opened")) << result;
            EXPECT_TRUE(FilesIn(image).empty());
        } else {
            EXPECT_EQ("", result);
            EXPECT_TRUE(Contains(done[0].text, "?.wav") && Contains(done[2].text, ".ogg"));
            EXPECT_EQ((std::vector<std::wstring>{L"Scripts.bin", L"Scripts.cue"}), FilesIn(image));
        }
        EXPECT_TRUE(Eventually([&] { return RemoveFolder(sources) && RemoveFolder(image); }));
        CreateDirectoryW(sources.c_str(), nullptr);
        CreateDirectoryW(image.c_str(), nullptr);
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
