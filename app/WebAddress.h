// The maker's web site. The host is kept scrambled in the program and put
// together only when asked for, so it does not stand in the file as text.
#pragma once

#include <string>

std::wstring MakerWebHost();    // "www.quillotune.example"
std::wstring MakerWebAddress(); // "https://" + host
