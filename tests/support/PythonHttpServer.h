// SPDX-License-Identifier: MIT
#pragma once

// PythonHttpServer runs Python's http.server on 127.0.0.1 at a free port, serving one folder,
// for tests against a real, independent HTTP server. It starts in the constructor and stops
// in the destructor; check started() before use (false also when Python is missing).

#include <cstdint>
#include <string>

#include <QProcess>

namespace corvida::test {

class PythonHttpServer {
public:
    explicit PythonHttpServer(const std::string& folder);
    ~PythonHttpServer();
    PythonHttpServer(const PythonHttpServer&) = delete;
    PythonHttpServer& operator=(const PythonHttpServer&) = delete;

    // True when the server accepts connections.
    bool started() const { return m_started; }
    std::uint16_t port() const { return m_port; }
    // "http://127.0.0.1:PORT" followed by path.
    std::string url(const std::string& path) const;

private:
    QProcess m_process;
    std::uint16_t m_port = 0;
    bool m_started = false;
};

} // namespace corvida::test
