// The preview: one track of the list played by the engine. The program only
// says what to play and when to stop, and remembers that a preview was
// started, so that a burn can stop it first; the engine never says when a
// track has ended by itself.
#pragma once

#include "engine/EngineBinding.h"

#include <optional>
#include <string>

class Preview {
public:
    explicit Preview(const EngineApi& engine) : m_engine(engine) {}

    // Stops whatever plays (even the same track), then plays `path` if there
    // is one; with none, the playing flag stays as it was.
    void Play(const std::optional<std::wstring>& path);
    void Stop();
    // What a burn does before it hands its tracks to the engine.
    void StopIfPlaying();
    bool IsPlaying() const { return m_playing; }

private:
    const EngineApi& m_engine;
    bool m_playing = false;
};
