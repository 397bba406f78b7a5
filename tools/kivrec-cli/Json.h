// A small JSON writer for the companion's --json output: one document built in order, with the
// commas and escaping taken care of. Strings handed to it must already be UTF-8 (see Latin1.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivcli {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // Inside an object, every value is preceded by its key.
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view utf8);
  JsonWriter& Number(uint64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& Text() const { return out_; }

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);

  std::string out_;
  // One flag per open object or array: does it hold an element yet?
  std::vector<bool> hasElement_;
  bool afterKey_ = false;
};

// `text` as a JSON string literal, quotes included.
std::string JsonQuote(std::string_view utf8);

}  // namespace kivcli
