#include "player/Preview.h"

// The engine's results are deliberately unread throughout: a file that cannot
// be played gives no message, and stopping twice is harmless.

void Preview::Play(const std::optional<std::wstring>& path) {
    m_engine.AudioFileStop();
    if (!path) return;
    m_engine.PlayAudioFile(path->c_str());
    m_playing = true;
}

void Preview::Stop() {
    m_engine.AudioFileStop();
    m_playing = false;
}

void Preview::StopIfPlaying() {
    if (m_playing) Stop();
}
