// TSkinReader: unpacks a compressed skin package into memory and hands out its
// entries by name.
//
//   skin::TSkinReader reader([](const std::string& text) { /* show text */ });
//   if (reader.LoadPackage(compressed)) {          // TMemoryStream
//     skin::TMemoryStream entry;
//     std::string name;
//     reader.ExtractEntryContaining(".ini", entry, name);
//     reader.ExtractEntry("BUTTONS.BMP", entry);   // case does not matter
//   }
//
// A package of another version (or with more than 1,001 entries) shows
// kWrongVersionMessage through the message callback and loads nothing; the
// Windows layer passes a callback that shows a message box. Structural damage
// (a header, name list or size table cut short, sizes that run past the data,
// an unpacked size no stream of that length can produce) raises
// ESkinPackageError; codec exceptions pass through.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/memory_stream.h"

namespace skin {

class ESkinPackageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSkinReader {
 public:
  using MessageFn = std::function<void(const std::string& text)>;

  static constexpr int32_t kVersion = 20000;
  static constexpr int kMaxEntries = 1001;
  static constexpr const char* kWrongVersionMessage =
      "This is Older Skin File\rPlease update to new version !";

  explicit TSkinReader(MessageFn on_message = {}) : on_message_(std::move(on_message)) {}

  // Unpacks the whole package (4-byte unpacked size + LZHUF stream); false on
  // a wrong version, after the message was shown.
  bool LoadPackage(TMemoryStream& compressed);
  // Copies the first entry named `name` (any case) into `dest` and rewinds it;
  // `dest` stays empty when there is none.
  void ExtractEntry(const std::string& name, TMemoryStream& dest) const;
  // Copies the first entry whose name contains `fragment` (compared as given,
  // so write it in lower case); sets `name` only on a match.
  bool ExtractEntryContaining(const std::string& fragment, TMemoryStream& dest,
                              std::string& name) const;

  // Lower-case entry names in package order, duplicates kept.
  const std::vector<std::string>& Names() const { return names_; }
  int Count() const { return static_cast<int>(names_.size()); }
  int32_t EntrySize(int index) const { return sizes_[index]; }
  int32_t Version() const { return header_[0]; }
  const TMemoryStream& DataArea() const { return data_; }

  // Splits a name list into names (CR, LF or CR LF end a name; NUL ends the
  // list; a final break adds no empty name) and lower-cases them. Stops after
  // `max_names` names, so a list too long to be valid costs no more than that.
  static std::vector<std::string> SplitNames(std::string_view list, size_t max_names = SIZE_MAX);

 private:
  void CopyEntry(size_t offset, int32_t size, TMemoryStream& dest) const;

  MessageFn on_message_;
  std::vector<std::string> names_;
  std::array<int32_t, kMaxEntries> sizes_{};
  std::array<int32_t, 4> header_{};
  TMemoryStream data_;
};

// Lower-cases A..Z only (the rule of every name comparison in the skin data).
std::string AsciiLower(std::string s);
// Upper-cases a..z only (framework class names, compared upper-cased).
std::string AsciiUpper(std::string s);

}  // namespace skin
