// SPDX-License-Identifier: MIT
#include "platform/DiskFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvida {

namespace {

constexpr mode_t kNewFileMode = 0666;

Status systemError(const std::string& action, const std::string& path, int error) {
    const std::string message = action + " " + path + ": " + std::strerror(error);
    return error == ENOENT ? Status::notFound(message) : Status::ioError(message);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

Status DiskFile::readAll(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return systemError("cannot open", path, errno);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = errno;
        ::close(fd);
        return S_ISDIR(status.st_mode) ? Status::invalidArgument(path + " is a directory")
                                       : systemError("cannot read", path, error);
    }
    std::string result;
    result.reserve(static_cast<std::size_t>(status.st_size));
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return systemError("cannot read", path, error);
        }
        if (count == 0) {
            break;
        }
        result.append(buffer.data(), static_cast<std::size_t>(count));
    }
    ::close(fd);
    bytes = std::move(result);
    return Status::ok();
}

Status DiskFile::replace(const std::string& path, std::string_view bytes) {
    return replaceWith(path, [bytes](std::FILE* file) {
        errno = 0;
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            return Status::ioError(std::string("cannot write: ") + std::strerror(errno != 0 ? errno : EIO));
        }
        return Status::ok();
    });
}

unsigned DiskFile::replacementMode(const std::string& path) {
    struct stat existing {};
    return ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : (kNewFileMode & ~currentUmask());
}

Status DiskFile::replaceWith(const std::string& path, const std::function<Status(std::FILE*)>& write) {
    const std::string folder = folderOf(path);
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = (folder == "/" ? std::string() : folder) + "/." + name + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return systemError("cannot create a temporary file in", folder, errno);
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return systemError("cannot write", temporary, error);
    }
    const auto abandon = [&](const std::string& action, const std::string& subject, int error) {
        std::fclose(file);
        ::unlink(temporary.c_str());
        return systemError(action, subject, error);
    };

    if (::fchmod(fd, static_cast<mode_t>(replacementMode(path))) != 0) {
        return abandon("cannot set the permissions of", temporary, errno);
    }
    if (Status written = write(file); !written.isOk()) {
        std::fclose(file);
        ::unlink(temporary.c_str());
        return written;
    }
    if (std::fflush(file) != 0 || ::fsync(fd) != 0) {
        return abandon("cannot write", temporary, errno);
    }
    if (std::fclose(file) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemError("cannot write", temporary, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemError("cannot replace", path, error);
    }
    // Make the rename itself durable; a failure here leaves a complete file either way.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return Status::ok();
}

} // namespace corvida
