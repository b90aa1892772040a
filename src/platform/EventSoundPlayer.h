// SPDX-License-Identifier: MIT
#pragma once

// EventSoundPlayer plays the desktop's event sounds by the program's names for them
// ("SystemExclamation" when a node is added, "SystemAsterisk" when one is processed), taken
// from the freedesktop sound theme through libcanberra. Playing never waits for the sound.
// At most one sound plays at a time: a crawl can ask for hundreds a second, and a request
// while one plays is dropped. Built without libcanberra, or where no sound system answers,
// the player is silent; so is it after a few plays in a row failed.

#include <cstdint>
#include <string_view>

struct ca_context;

namespace corvida {

class EventSoundPlayer {
public:
    EventSoundPlayer() = default;
    EventSoundPlayer(const EventSoundPlayer&) = delete;
    EventSoundPlayer& operator=(const EventSoundPlayer&) = delete;
    // Stops a sound that still plays.
    ~EventSoundPlayer();

    // Returns the sound theme's event id for the program's sound name ("SystemExclamation"
    // gives "dialog-warning", "SystemAsterisk" "dialog-information"), or an empty text for a
    // name it does not know. The text is static.
    static std::string_view themeEventId(std::string_view name);

    // Starts the sound of name and returns at once. Returns whether a sound started: false for
    // an unknown name, while another sound plays, and when there is no sound system.
    bool play(std::string_view name);

private:
    // Connects to the sound system on the first request; false when there is none.
    bool open();

    ca_context* m_context = nullptr;
    bool m_unavailable = false;
    int m_failures = 0; // plays that failed in a row
    std::uint32_t m_lastId = 0;
};

} // namespace corvida
