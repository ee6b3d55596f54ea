// The framework's pure pieces: command-line switches and code-page text.
#include "app/WebAddress.h"
#include "framework/CommandLine.h"
#include "framework/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, EmbeddingOrAutomationInAnyCaseSuppressTheSplash) {
    EXPECT_TRUE(ParseCommandLine({}).SplashAllowed());
    EXPECT_FALSE(ParseCommandLine({L"/Embedding"}).SplashAllowed());
    EXPECT_FALSE(ParseCommandLine({L"-automation"}).SplashAllowed());
    EXPECT_FALSE(ParseCommandLine({L"file.wav", L"/EMBEDDING"}).SplashAllowed());
    // Only switches count, and only whole words.
    EXPECT_TRUE(ParseCommandLine({L"Embedding"}).SplashAllowed());
    EXPECT_TRUE(ParseCommandLine({L"/Embeddings", L"-auto", L"/x"}).SplashAllowed());
    EXPECT_EQ(3u, ParseCommandLine({L"/Embeddings", L"-auto", L"/x"}).switches.size());
}

TEST(AnsiText, RoundTripsCodePageText) {
    EXPECT_EQ("Caf\xE9", ToAnsi(L"Caf\u00E9")); // code page 1252
    EXPECT_EQ(L"Caf\u00E9", FromAnsi("Caf\xE9"));
    EXPECT_EQ(L"", FromAnsi(static_cast<const char*>(nullptr)));
}

TEST(AnsiText, BoundedCopyNeverExceedsItsRoom) {
    EXPECT_EQ("NEW", ToAnsiBounded(L"NEW", 127));
    std::wstring longLabel(300, L'x');
    EXPECT_EQ(127u, ToAnsiBounded(longLabel, 127).size());
    EXPECT_EQ("", ToAnsiBounded(L"abc", 0));
}

TEST(FormatText, GrowsForLongResults) {
    std::wstring longText(1000, L'y');
    EXPECT_EQ(L"7 " + longText, FormatText(L"%d %ls", 7, longText.c_str()));
}

TEST(WebAddress, IsPutTogetherFromItsScrambledForm) {
    EXPECT_EQ(L"www.quillotune.example", MakerWebHost());
    EXPECT_EQ(L"https://www.quillotune.example", MakerWebAddress());
}

} // namespace
