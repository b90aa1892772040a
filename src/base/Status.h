// SPDX-License-Identifier: MIT
#pragma once

// A Status is the outcome of an operation that can fail in ways its caller must tell apart:
// success, or a code with a message for a person. It is a value: cheap to return, compared
// by code, never thrown. Functions that return one are marked [[nodiscard]] by the type
// itself, so a failure cannot be dropped by accident.

#include <string>
#include <utility>

namespace corvida {

class [[nodiscard]] Status {
public:
    enum class Code {
        Ok,
        NotFound,        // a file or directory that should be there is not
        IoError,         // reading, writing, renaming or removing failed
        Corrupt,         // the bytes read are not what they must be
        InvalidArgument, // the request itself cannot be carried out
        Busy,            // not now: the object is in a state that forbids it
    };

    // Success.
    Status() = default;

    static Status ok() { return Status(); }
    static Status notFound(std::string message) { return Status(Code::NotFound, std::move(message)); }
    static Status ioError(std::string message) { return Status(Code::IoError, std::move(message)); }
    static Status corrupt(std::string message) { return Status(Code::Corrupt, std::move(message)); }
    static Status invalidArgument(std::string message) { return Status(Code::InvalidArgument, std::move(message)); }
    static Status busy(std::string message) { return Status(Code::Busy, std::move(message)); }

    bool isOk() const { return m_code == Code::Ok; }
    Code code() const { return m_code; }
    // What failed, for a person; empty on success.
    const std::string& message() const { return m_message; }
    // "OK", or the message.
    std::string toString() const { return isOk() ? std::string("OK") : m_message; }

    // Keeps the code and puts context before the message ("saving a.zpj: " + message).
    Status withContext(const std::string& context) const {
        return isOk() ? *this : Status(m_code, context + m_message);
    }

private:
    Status(Code code, std::string message) : m_code(code), m_message(std::move(message)) {}

    Code m_code = Code::Ok;
    std::string m_message;
};

} // namespace corvida
