// TCompoundFile: the streams of a compound document (the container of .xls
// workbooks) held in memory. Sectors, the allocation table, the directory
// and the mini stream are followed with every index and chain checked, so a
// damaged or hostile file ends with EPlanilhaError instead of a read out of
// bounds or an endless chain.
//
//   app::TCompoundFile doc(bytes, "clientes.xls");
//   std::string workbook;
//   if (doc.ReadStream("Workbook", workbook)) ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class TCompoundFile {
 public:
  // Throws EPlanilhaError when `bytes` is no readable compound document.
  // `bytes` must outlive the object.
  TCompoundFile(std::string_view bytes, std::string display_name);

  // The stream of the root storage with this name (ASCII, any case); false
  // when there is none.
  bool ReadStream(std::string_view name, std::string& out) const;
  // Whether the root storage has a stream with this name (ASCII, any case).
  bool HasStream(std::string_view name) const;

 private:
  struct Entry {
    std::u16string name;
    uint8_t type = 0;
    uint32_t start = 0;
    uint64_t size = 0;
    uint32_t left = 0, right = 0, child = 0;  // the directory's tree
  };
  [[noreturn]] void Damaged(const std::string& why) const;
  // The root storage's stream with this name, or null.
  const Entry* FindStream(std::string_view name) const;
  // The sector chain from `first`, checked against the table's length; a
  // chain longer than `max_length` (the sectors there are) has a loop.
  std::vector<uint32_t> Chain(const std::vector<uint32_t>& table, uint32_t first,
                              uint64_t max_length) const;
  // A sector's bytes; the last sector of a file may be cut short where
  // `partial` allows it.
  std::string_view Sector(uint32_t index, bool partial = false) const;

  std::string_view bytes_;
  std::string display_name_;
  uint32_t sector_size_ = 512;
  uint32_t mini_sector_size_ = 64;
  uint32_t mini_cutoff_ = 4096;
  uint64_t sector_count_ = 0;  // whole or partial sectors after the header
  std::vector<uint32_t> fat_;
  std::vector<uint32_t> mini_fat_;
  std::vector<Entry> entries_;
  std::vector<uint32_t> root_streams_;  // entries directly in the root storage
  std::string mini_stream_;
};

}  // namespace app
