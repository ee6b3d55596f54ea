// The volume label as the TITLE of the image's CUE sheet.
#include "FuzzSupport.h"

#include "burner/core/image/CueSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string label(reinterpret_cast<const char*>(data), size);
    std::string title = CueTitle(label);

    FUZZ_CHECK(title.size() <= 80);
    for (unsigned char c : title)
        FUZZ_CHECK(c >= 0x20 && c != 0x7F && c != '"');
    FUZZ_CHECK(title.empty() || title.back() != ' ');
    if (fuzz::IsWellFormedUtf8(label)) FUZZ_CHECK(fuzz::IsWellFormedUtf8(title));
    FUZZ_CHECK(CueTitle(title) == title);

    // The title stays on its one line of the sheet, inside its quotes.
    std::string sheet = BuildCueSheet(label, "image.bin", {300, 450});
    std::string firstLine = sheet.substr(0, sheet.find("\r\n"));
    if (!title.empty()) FUZZ_CHECK(firstLine == "TITLE \"" + title + "\"");
    FUZZ_CHECK(sheet.find("FILE \"image.bin\" BINARY\r\n") != std::string::npos);
    return 0;
}
