#include "app/workbook/compound_file.h"

#include <algorithm>

#include <cstring>

#include "app/errors.h"
#include "app/workbook/little_endian.h"

namespace app {

namespace {

constexpr char kMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFree = 0xFFFFFFFFu;
constexpr size_t kHeaderDifat = 109;
constexpr uint8_t kStream = 2;
constexpr uint8_t kRoot = 5;

// Every entry of a sector of an allocation table.
void AppendEntries(std::string_view sector, std::vector<uint32_t>& table) {
  for (size_t at = 0; at + 4 <= sector.size(); at += 4)
    table.push_back(ReadU32(sector, at));
}

}  // namespace

TCompoundFile::TCompoundFile(std::string_view bytes, std::string display_name)
    : bytes_(bytes), display_name_(std::move(display_name)) {
  if (bytes_.size() < 512 || std::memcmp(bytes_.data(), kMagic, 8) != 0) {
    Damaged("cabeçalho inválido");
  }
  const uint16_t sector_shift = ReadU16(bytes_, 0x1E), mini_shift = ReadU16(bytes_, 0x20);
  if ((sector_shift != 9 && sector_shift != 12) || mini_shift != 6) Damaged("setores inválidos");
  sector_size_ = uint32_t{1} << sector_shift;
  mini_sector_size_ = uint32_t{1} << mini_shift;
  mini_cutoff_ = ReadU32(bytes_, 0x38);
  if (bytes_.size() < sector_size_) Damaged("cabeçalho inválido");

  // The allocation table's sectors: 109 listed in the header, the rest in a
  // chain of list sectors whose last entry links to the next.
  const uint32_t fat_sectors = ReadU32(bytes_, 0x2C);
  const uint64_t sector_count = bytes_.size() / sector_size_ - 1;
  sector_count_ = (bytes_.size() - 1) / sector_size_;  // the last one may be partial
  if (fat_sectors > sector_count) Damaged("tabela de alocação inválida");
  std::vector<uint32_t> fat_list;
  for (size_t i = 0; i < kHeaderDifat && fat_list.size() < fat_sectors; ++i)
    fat_list.push_back(ReadU32(bytes_, 0x4C + 4 * i));
  uint32_t difat = ReadU32(bytes_, 0x44);
  const uint32_t per_sector = sector_size_ / 4;
  for (uint64_t guard = 0; fat_list.size() < fat_sectors; ++guard) {
    if (difat >= sector_count || guard > sector_count) Damaged("lista de alocação inválida");
    const std::string_view s = Sector(difat);
    for (uint32_t i = 0; i + 1 < per_sector && fat_list.size() < fat_sectors; ++i)
      fat_list.push_back(ReadU32(s, 4 * i));
    difat = ReadU32(s, 4 * (per_sector - 1));
  }
  fat_.reserve(static_cast<size_t>(fat_sectors) * per_sector);
  for (uint32_t sector : fat_list)
    AppendEntries(Sector(sector), fat_);

  // The directory: 128-byte entries in its own chain.
  std::string directory;
  for (uint32_t sector : Chain(fat_, ReadU32(bytes_, 0x30), sector_count_))
    directory.append(Sector(sector));
  for (size_t at = 0; at + 128 <= directory.size(); at += 128) {
    const std::string_view d = std::string_view(directory).substr(at, 128);
    Entry e;
    // The name's stored length counts its terminating NUL; a length that
    // runs past the 64-byte field (up to 0xFFFF in damaged files) is
    // bounded by it, and the name ends at its first NUL.
    const uint16_t name_bytes = ReadU16(d, 0x40);
    for (size_t i = 0; i + 2 < name_bytes && i + 2 < 64; i += 2) {
      const auto c = static_cast<char16_t>(ReadU16(d, i));
      if (c == u'\0') break;
      e.name.push_back(c);
    }
    e.type = static_cast<uint8_t>(d[0x42]);
    e.left = ReadU32(d, 0x44);
    e.right = ReadU32(d, 0x48);
    e.child = ReadU32(d, 0x4C);
    e.start = ReadU32(d, 0x74);
    const uint32_t low = ReadU32(d, 0x78), high = ReadU32(d, 0x7C);
    // Version 3 files may leave garbage in the high half.
    e.size = sector_shift == 9 ? low : (uint64_t{high} << 32 | low);
    entries_.push_back(std::move(e));
  }
  if (entries_.empty() || entries_[0].type != kRoot) Damaged("diretório inválido");
  // The root's children form a tree through their left and right links;
  // streams of inner storages (embedded objects) are not the workbook's.
  std::vector<uint32_t> pending{entries_[0].child};
  while (!pending.empty()) {
    const uint32_t id = pending.back();
    pending.pop_back();
    if (id == kFree) continue;
    if (id >= entries_.size() || root_streams_.size() >= entries_.size()) {
      Damaged("diretório inválido");
    }
    root_streams_.push_back(id);
    pending.push_back(entries_[id].left);
    pending.push_back(entries_[id].right);
  }

  // Small streams live in the mini stream, itself a chain of ordinary
  // sectors starting at the root entry, allocated by the mini table.
  for (uint32_t sector : Chain(fat_, ReadU32(bytes_, 0x3C), sector_count_))
    AppendEntries(Sector(sector), mini_fat_);
  if (!mini_fat_.empty()) {
    for (uint32_t sector : Chain(fat_, entries_[0].start, sector_count_))
      mini_stream_.append(Sector(sector, /*partial=*/true));
    if (mini_stream_.size() > entries_[0].size) mini_stream_.resize(entries_[0].size);
  }
}

const TCompoundFile::Entry* TCompoundFile::FindStream(std::string_view name) const {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
  const auto same = [&](const std::u16string& entry) {
    if (entry.size() != name.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
      if (lower(entry[i]) != lower(static_cast<char16_t>(static_cast<unsigned char>(name[i])))) {
        return false;
      }
    }
    return true;
  };
  for (uint32_t id : root_streams_) {
    const Entry& e = entries_[id];
    if (e.type == kStream && same(e.name)) return &e;
  }
  return nullptr;
}

bool TCompoundFile::HasStream(std::string_view name) const {
  return FindStream(name) != nullptr;
}

bool TCompoundFile::ReadStream(std::string_view name, std::string& out) const {
  const Entry* e = FindStream(name);
  if (e == nullptr) return false;
  out.clear();
  if (e->size < mini_cutoff_) {
    for (uint32_t mini : Chain(mini_fat_, e->start, mini_stream_.size() / mini_sector_size_)) {
      const uint64_t at = uint64_t{mini} * mini_sector_size_;
      if (at + mini_sector_size_ > mini_stream_.size()) Damaged("fluxo pequeno fora do lugar");
      out.append(mini_stream_, at, mini_sector_size_);
    }
  } else {
    // Room for the sectors the chain holds (bounded by the file; the size
    // the entry claims is checked after), so the stream is not copied as it
    // grows.
    const std::vector<uint32_t> chain = Chain(fat_, e->start, sector_count_);
    out.reserve(static_cast<size_t>(uint64_t{chain.size()} * sector_size_));
    for (uint32_t sector : chain)
      out.append(Sector(sector, /*partial=*/true));
  }
  if (out.size() < e->size) Damaged("fluxo mais curto que o declarado");
  out.resize(e->size);
  return true;
}

std::vector<uint32_t> TCompoundFile::Chain(const std::vector<uint32_t>& table, uint32_t first,
                                           uint64_t max_length) const {
  std::vector<uint32_t> chain;
  for (uint32_t s = first; s != kEndOfChain; s = table[s]) {
    if (s == kFree && chain.empty()) break;
    // A chain longer than the table, or than the sectors there are, has a
    // loop: without the second bound a loop through a large table would
    // copy the same sectors up to 128 times the size of the file.
    if (s >= table.size() || chain.size() >= table.size() || chain.size() >= max_length) {
      Damaged("cadeia de setores inválida");
    }
    chain.push_back(s);
  }
  return chain;
}

std::string_view TCompoundFile::Sector(uint32_t index, bool partial) const {
  // The header takes the place of sector -1.
  const uint64_t at = (uint64_t{index} + 1) * sector_size_;
  if (at + (partial ? 1 : sector_size_) > bytes_.size()) Damaged("setor além do fim do arquivo");
  return bytes_.substr(at, sector_size_);
}

void TCompoundFile::Damaged(const std::string& why) const {
  throw EPlanilhaError("A planilha \"" + display_name_ + "\" está danificada (" + why + ").");
}

}  // namespace app
