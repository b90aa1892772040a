// SPDX-License-Identifier: MIT
#include "platform/CompoundFile.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

namespace corvida {

namespace {

constexpr std::array<unsigned char, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
// libgsf moves stream data in pieces of this size at most.
constexpr std::size_t kChunkSize = 1 << 20;

void initialiseGsf() {
    static const bool initialised = [] {
        gsf_init();
        return true;
    }();
    (void)initialised;
}

// Owns one reference to a GObject.
template <typename T>
class GRef {
public:
    explicit GRef(T* object = nullptr) : m_object(object) {}
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    ~GRef() {
        if (m_object != nullptr) {
            g_object_unref(m_object);
        }
    }
    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object;
};

std::string takeMessage(GError* error, std::string_view fallback) {
    std::string message(fallback);
    if (error != nullptr) {
        if (error->message != nullptr) {
            message += ": ";
            message += error->message;
        }
        g_error_free(error);
    }
    return message;
}

} // namespace

bool CompoundFile::hasSignature(std::string_view bytes) {
    return bytes.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), bytes.begin(),
                      [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
}

namespace {

// Writes the compound file with its one stream, whose bytes produce hands over, into sink,
// which stays open.
Status writeCompound(GsfOutput* sink, std::string_view streamName,
                     const std::function<bool(const CompoundFile::StreamWrite&)>& produce) {
    GRef<GsfOutfile> storage(gsf_outfile_msole_new(sink));
    if (!storage) {
        return Status::ioError("cannot create a compound file");
    }
    const std::string name(streamName);
    GRef<GsfOutput> stream(gsf_outfile_new_child(storage.get(), name.c_str(), FALSE));
    if (!stream) {
        return Status::ioError("cannot create the stream " + name);
    }
    const bool written = produce([&stream](std::string_view bytes) {
        for (std::size_t offset = 0; offset < bytes.size(); offset += kChunkSize) {
            const std::size_t count = std::min(kChunkSize, bytes.size() - offset);
            if (!gsf_output_write(stream.get(), count, reinterpret_cast<const guint8*>(bytes.data() + offset))) {
                return false;
            }
        }
        return true;
    });
    const bool streamClosed = gsf_output_close(stream.get());
    const bool storageClosed = gsf_output_close(reinterpret_cast<GsfOutput*>(storage.get()));
    if (!written || !streamClosed || !storageClosed) {
        return Status::ioError("cannot write the compound file");
    }
    return Status::ok();
}

// A producer that hands over contents whole.
std::function<bool(const CompoundFile::StreamWrite&)> whole(std::string_view contents) {
    return [contents](const CompoundFile::StreamWrite& write) { return write(contents); };
}

} // namespace

Status CompoundFile::build(std::string_view streamName, std::string_view contents, std::string& file) {
    initialiseGsf();
    GRef<GsfOutput> sink(gsf_output_memory_new());
    if (Status written = writeCompound(sink.get(), streamName, whole(contents)); !written.isOk()) {
        return written;
    }
    const guint8* bytes = gsf_output_memory_get_bytes(reinterpret_cast<GsfOutputMemory*>(sink.get()));
    const gsf_off_t size = gsf_output_size(sink.get());
    if (bytes == nullptr || size <= 0) {
        return Status::ioError("cannot write the compound file");
    }
    file.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    return Status::ok();
}

Status CompoundFile::write(std::FILE* file, std::string_view streamName,
                           const std::function<bool(const StreamWrite&)>& produce) {
    initialiseGsf();
    GRef<GsfOutput> sink(gsf_output_stdio_new_FILE("compound file", file, TRUE));
    if (!sink) {
        return Status::ioError("cannot write the compound file");
    }
    Status written = writeCompound(sink.get(), streamName, produce);
    // Closing the storage closes its sink as well; one that is still open is closed here.
    if (!gsf_output_is_closed(sink.get()) && !gsf_output_close(sink.get()) && written.isOk()) {
        return Status::ioError("cannot write the compound file");
    }
    return written;
}

Status CompoundFile::extract(std::string_view file, std::string_view streamName, std::string& contents) {
    if (!hasSignature(file)) {
        return Status::corrupt("not a compound file");
    }
    initialiseGsf();
    GRef<GsfInput> source(
        gsf_input_memory_new(reinterpret_cast<const guint8*>(file.data()), static_cast<gsf_off_t>(file.size()), FALSE));
    if (!source) {
        return Status::ioError("cannot read the compound file");
    }
    GError* error = nullptr;
    GRef<GsfInfile> storage(gsf_infile_msole_new(source.get(), &error));
    if (!storage) {
        return Status::corrupt(takeMessage(error, "damaged compound file"));
    }
    const std::string name(streamName);
    GRef<GsfInput> stream(gsf_infile_child_by_name(storage.get(), name.c_str()));
    if (!stream) {
        return Status::corrupt("the compound file holds no stream " + name);
    }
    const gsf_off_t size = gsf_input_size(stream.get());
    // A stream lies inside its file, so a larger size can only be damage.
    if (size < 0 || static_cast<std::uint64_t>(size) > file.size()) {
        return Status::corrupt("damaged compound file: the stream " + name + " has an impossible size");
    }
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(size));
    for (std::size_t offset = 0; offset < bytes.size(); offset += kChunkSize) {
        const std::size_t count = std::min(kChunkSize, bytes.size() - offset);
        if (gsf_input_read(stream.get(), count, reinterpret_cast<guint8*>(bytes.data() + offset)) == nullptr) {
            return Status::corrupt("damaged compound file: the stream " + name + " cannot be read");
        }
    }
    contents = std::move(bytes);
    return Status::ok();
}

} // namespace corvida
