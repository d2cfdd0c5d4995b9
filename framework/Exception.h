#pragma once
// The framework's general error class. Every failure the program raises is an Exception carrying
// its message; the application's dispatch shows the message in the error box.

#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A text that cannot be converted to the wanted value.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A property name or kind that an object's property table does not offer.
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

// A component operation that breaks the ownership rules (for example a duplicate name).
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// A registry value of the wrong type, or a key or value that cannot be written.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

// A file that cannot be opened, read or created.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

class EFCreateError : public Exception {
 public:
  using Exception::Exception;
};
