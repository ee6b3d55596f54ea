// The maker's web site. The host is kept scrambled in the program and put
// together only when asked for, so it does not stand in the file as text.
#pragma once

#include <string>

std::wstring MakerWebHost();    // "quillotune.example" (it must fit the link control)
std::wstring MakerWebAddress(); // "https://" + host
