#pragma once
// The one error style of the program: an operation either is done, or it
// failed with a message a user can act on ("doc.dat: Permission denied").

#include <string>
#include <utility>

namespace zr {

class Result {
public:
    static Result Done() { return Result(); }
    static Result Failed(std::string message) {
        Result r;
        r.failed_ = true;
        r.message_ = message.empty() ? std::string("failed") : std::move(message);
        return r;
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // Why it failed; empty when done.
    const std::string& message() const { return message_; }

private:
    Result() = default;
    bool failed_ = false;
    std::string message_;
};

}  // namespace zr
