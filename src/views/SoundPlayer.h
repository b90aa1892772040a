// SPDX-License-Identifier: MIT
#pragma once

// A SoundPlayer plays the sound file of an audio node in the background for the URL
// Properties window. With Qt Multimedia the program plays it itself and can stop it; without,
// the file goes to the desktop's own player, which the program cannot stop.

#include <functional>
#include <memory>

#include <QString>

namespace corvida {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Starts playing file (a path), stopping what played before. Returns true when the sound
    // plays here and stop() ends it; false when it was handed on or could not start.
    virtual bool play(const QString& file) = 0;
    // Stops the sound that plays here, if any. The finished listener is not called.
    virtual void stop() = 0;
    // Called when a sound that play() started here ends by itself or fails.
    void setFinishedListener(std::function<void()> listener) { m_finished = std::move(listener); }

    // The program's player: Qt Multimedia's when the program has it, else the desktop's.
    static std::unique_ptr<SoundPlayer> create();

protected:
    void finished() {
        if (m_finished) {
            m_finished();
        }
    }

private:
    std::function<void()> m_finished;
};

} // namespace corvida
