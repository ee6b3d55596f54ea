// What the program and the engine share: text cut to a field in any code
// page, and libraries loaded from known folders even where the system
// refuses the flags that name them.
#include "base/Library.h"
#include "base/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The text back from UTF-8, empty when the bytes are not valid UTF-8.
std::wstring FromUtf8(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                     static_cast<int>(bytes.size()), wide.data(),
                                     static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return wide;
}

// The volume label goes into 127 bytes; where the ANSI code page is UTF-8,
// the cut must fall between characters of two, three and four bytes.
TEST(BoundedText, AUtf8CutKeepsWholeCharactersAndSurrogatePairs) {
    const std::wstring accents(100, L'\u00E9'); // two bytes each
    const std::wstring day(100, L'\u65E5');     // three
    std::wstring faces;                         // four, each a surrogate pair
    for (int i = 0; i < 50; ++i)
        faces += L"\xD83D\xDE00";
    struct Case {
        std::wstring text;
        size_t expectedCharacters; // UTF-16 units kept
    } cases[] = {{accents, 63},     {L"A" + accents, 64}, {day, 42},
                 {L"AB" + day, 43}, {faces, 62},          {L"ABC" + faces, 65}};
    for (const Case& c : cases) {
        std::string cut = ToAnsiBounded(c.text, 127, CP_UTF8);
        EXPECT_LE(cut.size(), 127u);
        EXPECT_EQ(c.text.substr(0, c.expectedCharacters), FromUtf8(cut))
            << "from " << c.text.size() << " units";
    }
    // Short texts pass whole; a double-byte page still cuts between characters.
    EXPECT_EQ("AUDIO CD", ToAnsiBounded(L"AUDIO CD", 127, CP_UTF8));
    EXPECT_EQ(ToAnsiBounded(day.substr(0, 63), 200, 932), ToAnsiBounded(day, 127, 932));
}

// A loader that, like a system without the loader update, refuses the
// search flags, and finds a library only at the path it is given.
std::vector<std::wstring> g_tried;
std::wstring g_present;

HMODULE WINAPI OldLoader(LPCWSTR file, HANDLE, DWORD flags) {
    g_tried.push_back(std::wstring(file) + (flags == LOAD_WITH_ALTERED_SEARCH_PATH ? L" (full)"
                                            : flags != 0                           ? L" (flags)"
                                                                                   : L" (search)"));
    if (flags & 0xFF00) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (file != g_present) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return GetModuleHandleW(nullptr);
}

TEST(KnownFolders, RefusedSearchFlagsFallBackToFullPathsNeverTheSearchPath) {
    const DWORD both = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
    const std::wstring program = ProgramFolder() + L"Helper.dll";
    const std::wstring system = SystemFolder() + L"Helper.dll";

    g_tried.clear();
    g_present = system;
    EXPECT_NE(nullptr, LoadLibraryFromKnownFolders(L"Helper.dll", both, &OldLoader));
    EXPECT_EQ((std::vector<std::wstring>{L"Helper.dll (flags)", program + L" (full)",
                                         system + L" (full)"}),
              g_tried);

    // The system folder alone where only it is asked for; a full path as it is.
    g_tried.clear();
    g_present.clear();
    EXPECT_EQ(nullptr,
              LoadLibraryFromKnownFolders(L"Helper.dll", LOAD_LIBRARY_SEARCH_SYSTEM32, &OldLoader));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, GetLastError());
    g_present = L"D:\\Program\\Engine.dll";
    EXPECT_NE(nullptr, LoadLibraryFromKnownFolders(g_present,
                                                   LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR |
                                                       LOAD_LIBRARY_SEARCH_SYSTEM32,
                                                   &OldLoader));
    EXPECT_EQ((std::vector<std::wstring>{L"Helper.dll (flags)", system + L" (full)",
                                         g_present + L" (flags)", g_present + L" (full)"}),
              g_tried);
}

} // namespace
