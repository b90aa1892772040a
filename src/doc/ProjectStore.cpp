// SPDX-License-Identifier: MIT
#include "doc/ProjectStore.h"

#include <utility>

#include "platform/CompoundFile.h"
#include "platform/DiskFile.h"

namespace corvida {

namespace {

// Reads the project's byte sequence into contents: the stream of a compound file, or a
// file that holds the bare sequence.
Status readContents(const std::string& path, std::string& contents) {
    std::string file;
    if (Status read = DiskFile::readAll(path, file); !read.isOk()) {
        return read;
    }
    if (!CompoundFile::hasSignature(file)) {
        contents = std::move(file);
        return Status::ok();
    }
    return CompoundFile::extract(file, ProjectFile::kStreamName, contents);
}

} // namespace

Status ProjectStore::save(const std::string& path, const ProjectOptions& options, const Web* web) {
    // The contents go into the file as they are made: a big project is never held whole.
    return DiskFile::replaceWith(path, [&](std::FILE* file) {
        return CompoundFile::write(file, ProjectFile::kStreamName, [&](const CompoundFile::StreamWrite& write) {
            return ProjectFile::encodeInto(options, web, write);
        });
    });
}

ProjectFile::Loaded ProjectStore::load(const std::string& path, WebListener* listener) {
    std::string contents;
    if (Status read = readContents(path, contents); !read.isOk()) {
        ProjectFile::Loaded failed;
        failed.status = std::move(read);
        return failed;
    }
    return ProjectFile::decode(contents, listener);
}

ProjectFile::Summary ProjectStore::loadSummary(const std::string& path) {
    std::string contents;
    if (Status read = readContents(path, contents); !read.isOk()) {
        ProjectFile::Summary failed;
        failed.status = std::move(read);
        return failed;
    }
    return ProjectFile::decodeSummary(contents);
}

} // namespace corvida
