// The .xls reader under mutations that keep the file's structure: the input
// is a compound document, and the mutator takes its workbook stream apart
// into BIFF records and works on them as units (duplicate, drop, move, split
// into CONTINUE records, resize, retype, change the bytes of one record,
// repeat a run of records such as a shared-string table with its CONTINUE
// records), then writes a well-formed compound document around the new
// stream, now and then with one of its own fields changed (a sector of the
// allocation table, the stream's size or name, a header field, the length).
// Byte mutations rarely make a well-formed second record of a kind; these
// make one in a step. Inputs that are no compound document with a workbook
// stream get libFuzzer's byte mutations.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/errors.h"
#include "app/workbook/compound_file.h"
#include "fuzz/xls_read_all.h"
#include "tests/app/workbook/xls_builder.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size);

namespace {

struct TRecord {
  uint16_t type;
  std::string data;
};

// The types the readers treat, and a few they pass over, so that a retyped
// or new record is one the reader has a branch for.
constexpr uint16_t kTypes[] = {
    0x0006, 0x000A, 0x002F, 0x003C, 0x0042, 0x0085, 0x00BD, 0x00BE, 0x00D6, 0x00FC, 0x00FD,
    0x0201, 0x0203, 0x0204, 0x0205, 0x0207, 0x027E, 0x0809, 0x0022, 0x00E0, 0x0031, 0x041E,
};

// The records of a stream; what is left after the last whole record (a cut
// or padding) is kept as `tail`.
std::vector<TRecord> Split(std::string_view stream, std::string& tail) {
  std::vector<TRecord> records;
  size_t at = 0;
  while (stream.size() - at >= 4) {
    const auto type = static_cast<uint16_t>(static_cast<uint8_t>(stream[at]) |
                                            static_cast<uint8_t>(stream[at + 1]) << 8);
    const size_t length = static_cast<uint8_t>(stream[at + 2]) |
                          static_cast<size_t>(static_cast<uint8_t>(stream[at + 3])) << 8;
    if (stream.size() - at - 4 < length) break;
    // The zero padding the writer adds to short streams is no record.
    if (type == 0 && length == 0) {
      at = stream.size();
      break;
    }
    records.push_back({type, std::string(stream.substr(at + 4, length))});
    at += 4 + length;
  }
  tail.assign(stream.substr(at));
  return records;
}

std::string Join(const std::vector<TRecord>& records, const std::string& tail) {
  std::string out;
  for (const TRecord& r : records)
    out += xls_test::Record(r.type, r.data.substr(0, 0xFFFF));
  return out + tail;
}

// Points each sheet record at the n-th sheet's BOF after the global part, as
// a writer would after records moved: without it most mutations would only
// test the reader's search for misplaced sheets.
void RepairSheetOffsets(std::vector<TRecord>& records) {
  std::vector<size_t> bofs;
  std::vector<TRecord*> sheets;
  size_t at = 0;
  int depth = 0;
  bool globals = true;  // the first BOF starts the global part
  for (TRecord& r : records) {
    if (r.type == 0x0809) {
      if (depth++ == 0 && !std::exchange(globals, false)) bofs.push_back(at);
    } else if (r.type == 0x000A && depth > 0) {
      --depth;
    } else if (r.type == 0x0085 && r.data.size() >= 4) {
      sheets.push_back(&r);
    }
    at += 4 + std::min<size_t>(r.data.size(), 0xFFFF);
  }
  for (size_t i = 0; i < sheets.size() && i < bofs.size(); ++i)
    sheets[i]->data.replace(0, 4, xls_test::U32(static_cast<uint32_t>(bofs[i])));
}

// The number of records up to the end of the global part (its EOF), at
// least one.
size_t GlobalsEnd(const std::vector<TRecord>& records) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].type == 0x000A) return i + 1;
  }
  return records.size();
}

class TMutator {
 public:
  explicit TMutator(unsigned seed) : random_(seed) {}

  size_t Pick(size_t n) {
    return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random_);
  }
  bool OneIn(size_t n) { return Pick(n) == 0; }

  std::string Bytes(size_t n) {
    std::string out(n, '\0');
    for (char& c : out)
      c = static_cast<char>(Pick(256));
    return out;
  }

  void MutateRecords(std::vector<TRecord>& r) {
    const size_t steps = 1 + Pick(3);
    for (size_t step = 0; step < steps; ++step) {
      if (r.empty()) {
        r.push_back({kTypes[Pick(std::size(kTypes))], Bytes(Pick(16))});
        continue;
      }
      // Half the time a record of the global part: its tables (shared
      // strings, sheet list, code page, formats...) are few among the many
      // cell records of a real file.
      const size_t i = OneIn(2) ? Pick(GlobalsEnd(r)) : Pick(r.size());
      switch (Pick(11)) {
        case 0:  // duplicate, right after itself or anywhere
          r.insert(r.begin() + static_cast<std::ptrdiff_t>(OneIn(2) ? i + 1 : Pick(r.size() + 1)),
                   r[i]);
          break;
        case 1:  // drop
          r.erase(r.begin() + static_cast<std::ptrdiff_t>(i));
          break;
        case 2: {  // move
          TRecord moved = r[i];
          r.erase(r.begin() + static_cast<std::ptrdiff_t>(i));
          r.insert(r.begin() + static_cast<std::ptrdiff_t>(Pick(r.size() + 1)), std::move(moved));
          break;
        }
        case 3: {  // split into the record and a CONTINUE
          if (r[i].data.empty()) break;
          const size_t cut = Pick(r[i].data.size());
          TRecord rest{0x003C, r[i].data.substr(cut)};
          // BIFF8 text going on in a CONTINUE starts with its flags byte.
          if (OneIn(2)) rest.data.insert(0, 1, static_cast<char>(Pick(2)));
          r[i].data.resize(cut);
          r.insert(r.begin() + static_cast<std::ptrdiff_t>(i + 1), std::move(rest));
          break;
        }
        case 4: {  // resize: cut, or grow with new bytes or a copy of its own
          std::string& d = r[i].data;
          if (OneIn(2)) {
            d.resize(Pick(d.size() + 1));
          } else {
            d += OneIn(2) ? Bytes(1 + Pick(32)) : d.substr(Pick(d.size() + 1));
          }
          break;
        }
        case 5:  // retype
          r[i].type = kTypes[Pick(std::size(kTypes))];
          break;
        case 6: {  // the bytes of one record
          std::string& d = r[i].data;
          const size_t size = d.size();
          d.resize(std::min<size_t>(size * 2 + 16, 0xFFFF));
          d.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(d.data()), size, d.size()));
          break;
        }
        case 7: {  // repeat a run of records (a table and its CONTINUEs)
          const size_t n = 1 + Pick(std::min<size_t>(8, r.size() - i));
          const std::vector<TRecord> run(r.begin() + static_cast<std::ptrdiff_t>(i),
                                         r.begin() + static_cast<std::ptrdiff_t>(i + n));
          r.insert(r.begin() + static_cast<std::ptrdiff_t>(OneIn(2) ? i + n : Pick(r.size() + 1)),
                   run.begin(), run.end());
          break;
        }
        case 8:  // a new record of a known kind
          r.insert(r.begin() + static_cast<std::ptrdiff_t>(Pick(r.size() + 1)),
                   {kTypes[Pick(std::size(kTypes))], Bytes(Pick(24))});
          break;
        case 9: {  // swap two records
          std::swap(r[i], r[Pick(r.size())]);
          break;
        }
        default:  // many copies of one record (sheet lists, cells)
          r.insert(r.begin() + static_cast<std::ptrdiff_t>(i), 1 + Pick(64), r[i]);
          break;
      }
    }
    if (!OneIn(4)) RepairSheetOffsets(r);
  }

  // A field of the compound document written around the stream.
  void MutateContainer(std::string& file) {
    if (file.size() < 1024) return;
    const auto put32 = [&](size_t at, uint32_t v) {
      if (at + 4 <= file.size()) file.replace(at, 4, xls_test::U32(v));
    };
    const uint32_t special[] = {
        0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD, 0, 1, 2, static_cast<uint32_t>(Pick(1u << 16))};
    const uint32_t value = special[Pick(std::size(special))];
    const size_t sectors = (file.size() - 512) / 512;
    switch (Pick(6)) {
      case 0:  // an entry of the allocation table (its first sector follows the header)
        put32(512 + 4 * Pick(std::min<size_t>(sectors + 2, 128)), value);
        break;
      case 1:  // the stream's size in its directory entry
        put32(512 + 512 * Pick(std::max<size_t>(sectors, 1)) + 128 + 120, value);
        break;
      case 2:  // a header field: sector shifts, counts, first sectors, mini cutoff
        put32(0x1E + 4 * Pick(12), value);
        break;
      case 3:  // cut at a sector boundary or anywhere
        file.resize(OneIn(2) ? 512 * (1 + Pick(sectors + 1)) : Pick(file.size()));
        break;
      case 4:  // the first sector of the stream
        put32(512 + 512 + 128 + 116, value);
        break;
      default: {  // a few bytes anywhere
        for (size_t k = 1 + Pick(4); k > 0; --k)
          file[Pick(file.size())] = static_cast<char>(Pick(256));
        break;
      }
    }
  }

 private:
  std::minstd_rand random_;
};

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size,
                                          unsigned int seed) {
  TMutator m(seed);
  std::string stream;
  std::string name = "Workbook";
  try {
    const app::TCompoundFile document(std::string_view(reinterpret_cast<const char*>(data), size),
                                      "fuzz.xls");
    if (!document.ReadStream("Workbook", stream)) {
      name = "Book";
      if (!document.ReadStream("Book", stream)) stream.clear();
    }
  } catch (const app::EPlanilhaError&) {
    stream.clear();
  }
  if (stream.empty() || m.OneIn(16)) return LLVMFuzzerMutate(data, size, max_size);

  std::string tail;
  std::vector<TRecord> records = Split(stream, tail);
  m.MutateRecords(records);
  if (m.OneIn(8)) tail = m.Bytes(m.Pick(8));
  if (m.OneIn(32)) name = m.OneIn(2) ? "WORKBOOK" : (name == "Book" ? "Workbook" : "Book");
  std::string file = xls_test::CompoundFile(name, Join(records, tail));
  if (m.OneIn(8)) m.MutateContainer(file);
  if (file.size() > max_size) return LLVMFuzzerMutate(data, size, max_size);
  std::memcpy(data, file.data(), file.size());
  return file.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ReadWholeXls(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
