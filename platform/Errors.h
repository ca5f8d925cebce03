#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// Every error the program raises derives from this; what() is the text the error report shows.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed operating-system call: "System Error.  Code: <errno>.\r\n<strerror>".
class EOSError : public Exception {
public:
    explicit EOSError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

// A text that is not the number it should be.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A configuration or language file that could not be written.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// A file that could not be created or written.
class EInOutError : public Exception {
public:
    EInOutError(int code, const std::string& message);
    int Code() const { return code_; }

private:
    int code_;
};

// A broken contract between components, such as starting a runner that still runs.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

std::string OSErrorMessage(int code);
[[noreturn]] void RaiseOSError(int code);
// Raises the error of the last failed system call (errno).
[[noreturn]] void RaiseLastOSError();

} // namespace velmora
