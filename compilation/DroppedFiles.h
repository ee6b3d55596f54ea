// What a drop of files on the dialog adds: the files as dropped, each folder
// among them replaced by the audio files in it, in name order.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The full paths a drop carries, in its order.
std::vector<std::wstring> PathsOfDrop(HDROP drop);

// The files to add for `dropped`: a file as it is (the play time decides
// whether it can be added, as for a file chosen with Add); a folder as its
// own audio files (.wav, .mp3, .ogg, .wma), sorted by name the way Explorer
// sorts them ("Track 2" before "Track 10"). Sub-folders are not entered.
std::vector<std::wstring> FilesToAdd(const std::vector<std::wstring>& dropped);
