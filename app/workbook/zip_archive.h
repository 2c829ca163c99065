// TZipArchive: a zip file held in memory, read with minizip. Entries are
// found by name (case-insensitive, as package part names compare) and
// inflated in chunks into a sink, never
// more than a given number of bytes whatever the entry claims, so a
// compressed bomb ends with an error instead of filling memory. With
// `threaded`, inflating runs in a second thread ahead of the sink, so
// inflating and the sink's work overlap.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace app {

class TZipArchive {
 public:
  // Throws EPlanilhaError when `bytes` is not a readable zip archive, or
  // when it is damaged: two entries whose names differ only in letter case
  // (one would hide the other), an entry compressed otherwise than stored or
  // deflated, more than kMaxZipEntries entries.
  TZipArchive(std::string bytes, std::string display_name);
  ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  bool Has(const std::string& name);
  // The size the entry claims once inflated (0 when missing): a claim, only
  // reading the entry tells what it holds.
  uint64_t InflatedSize(const std::string& name);
  // The compressed bytes of the entry that the file can hold: what the entry
  // claims, at most the size of the whole archive (0 when missing).
  uint64_t CompressedSize(const std::string& name);
  // Calls sink(data, size) for each inflated chunk, then sink(nullptr, 0)
  // once at the end. Throws EPlanilhaError when the entry is missing,
  // damaged, encrypted or larger than `limit`.
  void Read(const std::string& name, uint64_t limit,
            const std::function<void(const char*, size_t)>& sink, bool threaded = false);
  std::string ReadAll(const std::string& name, uint64_t limit);
  // Read (in the calling thread) through a reading position of its own, so
  // that it may run in another thread while this archive reads other
  // entries; no other member may be called meanwhile but Read.
  void ReadApart(const std::string& name, uint64_t limit,
                 const std::function<void(const char*, size_t)>& sink);

  static bool LooksLikeZip(const std::string& bytes);

 private:
  // Where an entry's header lies in the central directory.
  struct Entry {
    uint64_t directory_offset;
    uint64_t number;
  };
  void Index();
  // Makes the entry current in minizip handle `zip`; false when there is
  // none of that name.
  bool GoTo(void* zip, const std::string& name) const;
  void Locate(void* zip, const std::string& name, uint64_t limit) const;
  void ReadFrom(void* zip, const std::string& name, uint64_t limit,
                const std::function<void(const char*, size_t)>& sink, bool threaded) const;
  [[noreturn]] void Damaged(const std::string& name, const std::string& why) const;

  // A reading position in the archive's bytes: each minizip handle has one.
  struct Memory {
    const std::string* bytes;
    uint64_t position = 0;
  };
  friend struct TZipMemoryIo;
  struct TCloser {
    void operator()(void* zip) const;
  };
  using THandle = std::unique_ptr<void, TCloser>;
  static THandle OpenHandle(Memory& memory);
  std::string bytes_;
  Memory memory_{&bytes_};
  std::string display_name_;
  THandle zip_;                                     // the minizip handle
  std::unordered_map<std::string, Entry> entries_;  // by lower-case name
};

}  // namespace app
