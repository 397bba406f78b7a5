// The result of a cassette operation: ok, or a code and a sentence for the user or the log.
// Operations never throw; callers decide where the sentence goes (a message box, stderr).
#pragma once

#include <string>
#include <utility>

namespace kiv {

enum class StatusCode {
  Ok,
  NotFound,       // the file (or the message asked for) does not exist
  Unavailable,    // the file exists but cannot be opened for writing (another writer, rights)
  NoTable,        // the file holds no findable message table
  Damaged,        // a structure inside the file is not what it must be
  IoError,        // a read, write, sync, rename or delete failed
  Refused,        // the operation does not apply in the current state
};

class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(StatusCode code, std::string message) {
    return Status(code, std::move(message));
  }

  bool ok() const { return code_ == StatusCode::Ok; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}

  StatusCode code_ = StatusCode::Ok;
  std::string message_;
};

}  // namespace kiv
