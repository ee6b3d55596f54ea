// Image file names made from the volume label the user typed.
#include "FuzzSupport.h"

#include "burner/core/image/ImageNaming.h"

#include <cwchar>
#include <cwctype>

namespace {

bool IsReserved(std::wstring stem) {
    for (wchar_t& c : stem)
        c = static_cast<wchar_t>(std::towupper(c));
    for (const wchar_t* name : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == name) return true;
    return stem.size() == 4 &&
           (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'0' && stem[3] <= L'9';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring label = fuzz::Utf16Units(data, size);
    std::wstring name = SafeFileName(label);

    FUZZ_CHECK(!name.empty() && name.size() <= 64);
    for (wchar_t c : name) {
        FUZZ_CHECK(c >= 0x20 && c != 0x7F);
        FUZZ_CHECK(std::wcschr(L"<>:\"/\\|?*", c) == nullptr);
    }
    FUZZ_CHECK(name.front() != L' ');
    FUZZ_CHECK(name.back() != L' ' && name.back() != L'.');
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    FUZZ_CHECK(!IsReserved(stem));
    // Cutting to length never leaves half a character behind.
    if (fuzz::IsWellFormedUtf16(label)) FUZZ_CHECK(fuzz::IsWellFormedUtf16(name));
    // A name made safe stays as it is.
    FUZZ_CHECK(SafeFileName(name) == name);
    return 0;
}
