// SPDX-License-Identifier: MIT
#include "report/PageFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DiskFile.h"

namespace corvida {

PageFile::PageFile(const std::string& directory, std::string_view fileName)
    : m_fileName(fileName), m_path(directory + m_fileName), m_temporary(directory + "." + m_fileName + ".XXXXXX") {
    m_fd = ::mkstemp(m_temporary.data());
    if (m_fd < 0) {
        m_error = errno;
        m_temporary.clear();
        return;
    }
    m_buffer.reserve(kBufferSize + kBufferSize / 4);
}

PageFile::~PageFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_committed && !m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
    }
}

void PageFile::fail(int error) {
    if (m_error == 0) {
        m_error = error != 0 ? error : EIO;
    }
}

void PageFile::writeOut() {
    std::string_view rest = m_buffer;
    while (m_error == 0 && !rest.empty()) {
        const ssize_t written = ::write(m_fd, rest.data(), rest.size());
        if (written < 0) {
            if (errno != EINTR) {
                fail(errno);
            }
            continue;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    m_buffer.clear();
}

void PageFile::spill() {
    if (m_buffer.size() >= kBufferSize) {
        writeOut();
    }
}

void PageFile::append(std::string_view bytes) {
    m_buffer += bytes;
    spill();
}

Status PageFile::commit() {
    if (m_committed) {
        return m_result;
    }
    m_committed = true;
    if (m_error == 0) {
        writeOut();
    }
    if (m_error == 0) {
        if (::fchmod(m_fd, static_cast<mode_t>(DiskFile::replacementMode(m_path))) != 0) {
            fail(errno);
        }
    }
    if (m_fd >= 0 && ::close(m_fd) != 0) {
        fail(errno);
    }
    m_fd = -1;
    if (m_error == 0 && ::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        fail(errno);
    }
    if (m_error != 0) {
        if (!m_temporary.empty()) {
            ::unlink(m_temporary.c_str());
        }
        m_result =
            m_error == ENOENT ? Status::notFound(std::strerror(m_error)) : Status::ioError(std::strerror(m_error));
    }
    return m_result;
}

} // namespace corvida
