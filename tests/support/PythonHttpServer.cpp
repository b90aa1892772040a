// SPDX-License-Identifier: MIT
#include "support/PythonHttpServer.h"

#include <chrono>
#include <filesystem>

#include <QTcpSocket>

#include "support/ScriptedServer.h"

namespace corvida::test {

namespace {

// Debian's interpreter: the first python3 on PATH may be another one.
constexpr const char* kPython = "/usr/bin/python3";

} // namespace

PythonHttpServer::PythonHttpServer(const std::string& folder) {
    if (!std::filesystem::exists(kPython)) {
        return;
    }
    m_port = ScriptedServer::refusedPort();
    m_process.setProgram(QString::fromLatin1(kPython));
    m_process.setArguments({"-m", "http.server", "--bind", "127.0.0.1", QString::number(m_port), "--directory",
                            QString::fromStdString(folder)});
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        return;
    }
    m_started = ScriptedServer::waitUntil(
        [this] {
            QTcpSocket probe;
            probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
            return probe.waitForConnected(100);
        },
        std::chrono::seconds(10));
}

PythonHttpServer::~PythonHttpServer() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

std::string PythonHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

} // namespace corvida::test
