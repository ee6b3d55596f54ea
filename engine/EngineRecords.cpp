#include "engine/EngineRecords.h"

#include <cstring>

void SetNotDefined(BurnOptions& options) {
    std::memset(&options, 0xFF, sizeof options);
    std::memset(options.volumeLabel, 0, sizeof options.volumeLabel);
    std::memcpy(options.volumeLabel, kNotDefinedText, sizeof kNotDefinedText);
    std::memset(options.imageFolder, 0, sizeof options.imageFolder);
    for (size_t i = 0; i + 1 < sizeof kNotDefinedText; ++i)
        options.imageFolder[i] = static_cast<wchar_t>(kNotDefinedText[i]);
    options.padding658[0] = options.padding658[1] = 0;
    options.padding666[0] = options.padding666[1] = 0;
}

bool IsNotDefined(const char* text) {
    return std::strcmp(text, kNotDefinedText) == 0;
}

bool IsNotDefined(const wchar_t* text) {
    size_t i = 0;
    for (; kNotDefinedText[i] != '\0'; ++i)
        if (text[i] != static_cast<wchar_t>(kNotDefinedText[i])) return false;
    return text[i] == L'\0';
}

uint32_t DeviceValueOf(const wchar_t* recorderText) {
    uint32_t low = static_cast<uint16_t>(recorderText[0]);
    uint32_t high = low == 0 ? 0 : static_cast<uint16_t>(recorderText[1]);
    return low | (high << 16);
}
