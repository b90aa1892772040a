// SPDX-License-Identifier: MIT
#include "doc/ProjectStore.h"

#include <utility>

#include "platform/CompoundFile.h"
#include "platform/DiskFile.h"

namespace corvida {

namespace {

ProjectFile::Loaded failure(Status status) {
    ProjectFile::Loaded failed;
    failed.status = std::move(status);
    return failed;
}

} // namespace

Status ProjectStore::save(const std::string& path, const ProjectOptions& options, const Web* web) {
    const std::string contents = ProjectFile::encode(options, web);
    std::string file;
    if (Status built = CompoundFile::build(ProjectFile::kStreamName, contents, file); !built.isOk()) {
        return built;
    }
    return DiskFile::replace(path, file);
}

ProjectFile::Loaded ProjectStore::load(const std::string& path, WebListener* listener) {
    std::string file;
    if (Status read = DiskFile::readAll(path, file); !read.isOk()) {
        return failure(std::move(read));
    }
    if (!CompoundFile::hasSignature(file)) {
        return ProjectFile::decode(file, listener);
    }
    std::string contents;
    if (Status extracted = CompoundFile::extract(file, ProjectFile::kStreamName, contents); !extracted.isOk()) {
        return failure(std::move(extracted));
    }
    file.clear();
    file.shrink_to_fit();
    return ProjectFile::decode(contents, listener);
}

} // namespace corvida
