// TQuickIni: the forgiving reader of skin descriptions (INI text). Parses once,
// answers lookups with defaults, never raises.
//
//   skin::TQuickIni ini;
//   ini.LoadFromStream(&stream);              // from the stream's position on
//   int w = ini.ReadInteger("Buttons", "LeftWidth", 0);
//   std::string img = ini.ReadString("Buttons", "Bitmap", "");
//
// Sections compare without regard to case; keys are lower-cased (A..Z); the
// first occurrence of a section or of a key decides, even when the value is
// empty. Integers: decimal with optional sign, or "$"/"0x" hexadecimal of up to
// 32 bits ($FFFFFFFF reads as -1); anything else gives the default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "skin/data/memory_stream.h"

namespace skin {

class TQuickIni {
 public:
  // Reads the rest of the stream; nullptr leaves the reader as it is.
  void LoadFromStream(TMemoryStream* stream);
  // Index in Lines() of the header "[name]", or -1.
  int FindSection(const std::string& name) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t default_value) const;
  // Section names without brackets, trimmed, in file order.
  void ReadSections(std::vector<std::string>& list) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<std::pair<std::string, int>>& Sections() const { return sections_; }

  // The integer rule of ReadInteger applied to a text.
  static std::optional<int32_t> ParseInteger(std::string s);
  // Removes leading and trailing characters with codes 0..32.
  static std::string Trim(const std::string& s);

 private:
  // The first section of each name and the first line of each of its keys,
  // found by hash: a description of many sections or keys costs its length to
  // read, not that length squared.
  struct TSectionIndex {
    int line = -1;                                 // index of the header in lines_
    std::unordered_map<std::string, size_t> keys;  // lower-case key -> line
  };
  void BuildIndex();

  std::vector<std::string> lines_;
  std::vector<std::pair<std::string, int>> sections_;
  std::unordered_map<std::string, TSectionIndex> index_;  // by lower-case "[name]"
};

}  // namespace skin
