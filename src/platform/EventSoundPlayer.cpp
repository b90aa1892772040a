// SPDX-License-Identifier: MIT
#include "platform/EventSoundPlayer.h"

#include <string>

#ifdef CORVIDA_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace corvida {

namespace {

constexpr std::uint32_t kFirstId = 1;
// Plays that fail in a row before the player falls silent. Without a sound device every play
// fails (and the sound library may complain on stderr each time) while a crawl asks for
// hundreds a second.
constexpr int kMaxFailures = 3;

} // namespace

std::string_view EventSoundPlayer::themeEventId(std::string_view name) {
    if (name == "SystemExclamation") {
        return "dialog-warning";
    }
    if (name == "SystemAsterisk") {
        return "dialog-information";
    }
    return {};
}

#ifdef CORVIDA_HAVE_CANBERRA

EventSoundPlayer::~EventSoundPlayer() {
    if (m_context != nullptr) {
        ca_context_destroy(m_context);
    }
}

bool EventSoundPlayer::open() {
    if (m_context != nullptr) {
        return true;
    }
    if (m_unavailable) {
        return false;
    }
    // A failed connection is not tried again: the requests come far too often to pay for it.
    m_unavailable = true;
    if (ca_context_create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        return false;
    }
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Corvida", nullptr);
    if (ca_context_open(m_context) != CA_SUCCESS) {
        ca_context_destroy(m_context);
        m_context = nullptr;
        return false;
    }
    m_unavailable = false;
    return true;
}

bool EventSoundPlayer::play(std::string_view name) {
    const std::string_view eventId = themeEventId(name);
    if (eventId.empty() || !open()) {
        return false;
    }
    if (m_lastId >= kFirstId) {
        int playing = 0;
        if (ca_context_playing(m_context, m_lastId, &playing) == CA_SUCCESS && playing != 0) {
            return false;
        }
    }
    std::uint32_t id = m_lastId + 1;
    if (id < kFirstId) {
        id = kFirstId; // the ids wrapped round
    }
    const std::string event(eventId);
    if (ca_context_play(m_context, id, CA_PROP_EVENT_ID, event.c_str(), nullptr) != CA_SUCCESS) {
        if (++m_failures >= kMaxFailures) {
            ca_context_destroy(m_context);
            m_context = nullptr;
            m_unavailable = true;
        }
        return false;
    }
    m_failures = 0;
    m_lastId = id;
    return true;
}

#else

EventSoundPlayer::~EventSoundPlayer() = default;

bool EventSoundPlayer::open() {
    m_unavailable = true;
    return m_context != nullptr;
}

bool EventSoundPlayer::play(std::string_view name) {
    return !themeEventId(name).empty() && open();
}

#endif

} // namespace corvida
