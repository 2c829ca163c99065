#include "skin/data/skin_reader.h"

#include "skin/data/lzh.h"

namespace skin {

namespace {

// A well-formed stream yields at most 60 bytes per symbol and needs at least
// one bit per symbol; anything larger can only come from a damaged size word.
constexpr int64_t kMaxExpansion = 8 * 60;
constexpr int64_t kMaxUnpacked = int64_t{256} << 20;

int32_t ReadLe32(const uint8_t* p) {
  return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}

}  // namespace

std::string AsciiLower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string AsciiUpper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::vector<std::string> TSkinReader::SplitNames(std::string_view list, size_t max_names) {
  std::vector<std::string> names;
  size_t i = 0;
  const size_t n = list.size();
  while (i < n && list[i] != '\0' && names.size() < max_names) {
    size_t start = i;
    while (i < n && list[i] != '\r' && list[i] != '\n' && list[i] != '\0')
      i++;
    names.push_back(AsciiLower(std::string(list.substr(start, i - start))));
    if (i < n && list[i] == '\r') i++;
    if (i < n && list[i] == '\n') i++;
  }
  return names;
}

bool TSkinReader::LoadPackage(TMemoryStream& compressed) {
  compressed.SetPosition(0);
  uint8_t size_bytes[4] = {0, 0, 0, 0};
  compressed.Read(size_bytes, 4);
  const int32_t unpacked_size = ReadLe32(size_bytes);
  const int64_t stream_bytes = static_cast<int64_t>(compressed.Size()) - 4;
  if (unpacked_size > kMaxUnpacked || unpacked_size > (stream_bytes + 1) * kMaxExpansion) {
    throw ESkinPackageError("skin package is damaged: unpacked size " +
                            std::to_string(unpacked_size) + " does not fit the stream");
  }

  // The bit stream is what follows the size word.
  const std::vector<uint8_t> unpacked =
      LzhDecode(compressed.Bytes().subspan(compressed.Position()), unpacked_size);

  if (unpacked.size() < 16) throw ESkinPackageError("skin package is damaged: header cut short");
  std::array<int32_t, 4> header;
  for (int i = 0; i < 4; i++)
    header[i] = ReadLe32(&unpacked[4 * i]);
  auto wrong_version = [&] {
    if (on_message_) on_message_(kWrongVersionMessage);
    return false;
  };
  if (header[0] != kVersion) return wrong_version();

  const int32_t list_length = header[1];
  if (list_length < 0 || static_cast<size_t>(list_length) > unpacked.size() - 16) {
    throw ESkinPackageError("skin package is damaged: name list runs past the end");
  }
  // One name past the limit is enough to know the package is not valid: a
  // list of millions of line breaks is not split any further.
  std::vector<std::string> names =
      SplitNames(std::string_view(reinterpret_cast<const char*>(&unpacked[16]),
                                  static_cast<size_t>(list_length)),
                 kMaxEntries + 1);
  if (names.size() > static_cast<size_t>(kMaxEntries)) return wrong_version();

  const size_t table = 16 + static_cast<size_t>(list_length);
  if (unpacked.size() - table < 4 * names.size()) {
    throw ESkinPackageError("skin package is damaged: size table runs past the end");
  }
  std::array<int32_t, kMaxEntries> sizes{};
  const size_t data_start = table + 4 * names.size();
  int64_t total = 0;
  for (size_t i = 0; i < names.size(); i++) {
    sizes[i] = ReadLe32(&unpacked[table + 4 * i]);
    if (sizes[i] < 0) throw ESkinPackageError("skin package is damaged: negative entry size");
    total += sizes[i];
  }
  // Entries that would run past the data are refused as a whole: a partial
  // image or description is worse than a clear error.
  if (total > static_cast<int64_t>(unpacked.size() - data_start)) {
    throw ESkinPackageError("skin package is damaged: entries run past the end of the data");
  }

  header_ = header;
  names_ = std::move(names);
  sizes_ = sizes;
  data_.Clear();
  data_.Write(unpacked.data() + data_start, unpacked.size() - data_start);
  data_.SetPosition(0);
  return true;
}

void TSkinReader::CopyEntry(size_t offset, int32_t size, TMemoryStream& dest) const {
  dest.Write(data_.Data().data() + offset, static_cast<size_t>(size));
  dest.SetPosition(0);
}

void TSkinReader::ExtractEntry(const std::string& name, TMemoryStream& dest) const {
  dest.Clear();
  const std::string wanted = AsciiLower(name);
  size_t offset = 0;
  for (size_t i = 0; i < names_.size(); i++) {
    if (names_[i] == wanted) {
      CopyEntry(offset, sizes_[i], dest);
      return;
    }
    offset += static_cast<size_t>(sizes_[i]);
  }
}

bool TSkinReader::ExtractEntryContaining(const std::string& fragment, TMemoryStream& dest,
                                         std::string& name) const {
  dest.Clear();
  size_t offset = 0;
  for (size_t i = 0; i < names_.size(); i++) {
    if (names_[i].find(fragment) != std::string::npos) {
      CopyEntry(offset, sizes_[i], dest);
      name = names_[i];
      return true;
    }
    offset += static_cast<size_t>(sizes_[i]);
  }
  return false;
}

}  // namespace skin
