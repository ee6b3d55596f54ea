// The framework's pure pieces: command-line switches and code-page text.
#include "framework/CommandLine.h"
#include "framework/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, EmbeddingOrAutomationInAnyCaseSuppressTheSplash) {
    const struct {
        std::vector<std::wstring> arguments;
        bool splash;
    } table[] = {
        {{}, true},
        {{L"/Embedding"}, false},
        {{L"-automation"}, false},
        {{L"file.wav", L"/EMBEDDING"}, false},
        // Only switches count, and only whole words.
        {{L"Embedding"}, true},
        {{L"/Embeddings", L"-auto", L"/x"}, true},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.splash, ParseCommandLine(row.arguments).SplashAllowed()) << row.splash;
}

// The volume label goes to the engine in the ANSI code page; where that page
// has double-byte characters, the cut must fall between characters.
TEST(AnsiText, TheBoundedCopyNeverSplitsADoubleByteCharacter) {
    const unsigned japanese = 932;
    const std::wstring day(100, L'\u65E5'); // two bytes each
    EXPECT_EQ(ToAnsiBounded(L"A" + day.substr(0, 63), 200, japanese),
              ToAnsiBounded(L"A" + day, 127, japanese));
    // Without the leading single byte the 127th byte would be a lead byte.
    EXPECT_EQ(ToAnsiBounded(day.substr(0, 63), 200, japanese), ToAnsiBounded(day, 127, japanese));
    EXPECT_EQ(126u, ToAnsiBounded(day, 127, japanese).size());
}

} // namespace
