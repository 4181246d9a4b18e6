// The base of the program's exceptions: a message and the class name of the dynamic type.
#pragma once
#include <exception>
#include <string>

class Exception : public std::exception {
  public:
    explicit Exception(std::string message);

    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    // The unqualified name of the most-derived class, e.g. "EDBEngineError".
    std::string ClassName() const;

  private:
    std::string message_;
};

// The silent exception: handlers drop it without showing anything.
class EAbort : public Exception {
  public:
    EAbort();
    using Exception::Exception;
};

[[noreturn]] void Abort();
