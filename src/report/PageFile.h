// SPDX-License-Identifier: MIT
#pragma once

// PageFile writes one file of the report as a stream, so that a page of any size costs only
// a small buffer. The page's pieces are appended to out(); spill() writes the buffer out
// once it has filled, into a temporary file beside the page, and commit() writes the rest
// and renames the temporary file over the page. A page is thus complete or, after any
// failure, left as it was before (an earlier run's page, or none): never half written.
//
// A failure (creating, writing, closing or renaming) is kept; later pieces are dropped and
// commit() reports the first failure. A page that is not committed is abandoned: its
// temporary file is removed when the PageFile ends. The file is not forced to the disk: a
// report is made again from its project at any time, and syncing every page would cost more
// than making it.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/Status.h"

namespace corvida {

class PageFile {
public:
    // The buffer is written out once it holds this many bytes.
    static constexpr std::size_t kBufferSize = 64 * 1024;

    // Starts the page fileName (a bare name such as "p_idocl.htm") in directory, which ends
    // with '/'. A temporary file that cannot be made is a failure that commit() reports.
    PageFile(const std::string& directory, std::string_view fileName);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // The page's bare file name.
    const std::string& fileName() const { return m_fileName; }

    // The buffer that the page's pieces are appended to. Call spill() between pieces so that
    // it does not grow past about kBufferSize plus one piece.
    std::string& out() { return m_buffer; }
    // Writes the buffer to the temporary file when it holds kBufferSize bytes or more.
    void spill();
    // Appends bytes and spills.
    void append(std::string_view bytes);

    // Writes what the buffer holds, closes the temporary file and puts it in the page's place.
    // An existing page keeps its permission bits; a new one gets 0666 less the umask. Returns
    // IoError (NotFound when the directory is missing) whose message is the system's reason,
    // for the first failure since the page was started; the page is then unchanged. Only the
    // first call does anything; later ones return its result.
    Status commit();

private:
    void writeOut();
    void fail(int error);

    std::string m_fileName;
    std::string m_path;
    std::string m_temporary;
    std::string m_buffer;
    int m_fd = -1;
    int m_error = 0;
    bool m_committed = false;
    Status m_result;
};

} // namespace corvida
