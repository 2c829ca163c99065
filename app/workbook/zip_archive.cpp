#include "app/workbook/zip_archive.h"

#include <minizip/unzip.h>
#include <utility>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "app/errors.h"
#include "app/workbook/xlsx_limits.h"

namespace app {

// minizip's I/O over the archive's bytes in memory: the "file name" is
// ignored, the stream is the Memory block.
struct TZipMemoryIo {
  using Memory = TZipArchive::Memory;
  static voidpf ZCALLBACK Open(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_WRITE) != 0) return nullptr;
    return opaque;
  }
  static uLong ZCALLBACK Read(voidpf, voidpf stream, void* buf, uLong size) {
    auto* m = static_cast<Memory*>(stream);
    const uint64_t left = m->bytes->size() - m->position;
    const uLong n = static_cast<uLong>(size < left ? size : left);
    std::memcpy(buf, m->bytes->data() + m->position, n);
    m->position += n;
    return n;
  }
  static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
  static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) {
    return static_cast<Memory*>(stream)->position;
  }
  static long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* m = static_cast<Memory*>(stream);
    uint64_t base = 0;
    switch (origin) {
      case ZLIB_FILEFUNC_SEEK_SET:
        base = 0;
        break;
      case ZLIB_FILEFUNC_SEEK_CUR:
        base = m->position;
        break;
      case ZLIB_FILEFUNC_SEEK_END:
        base = m->bytes->size();
        break;
      default:
        return -1;
    }
    const uint64_t size = m->bytes->size();
    if (base > size || offset > size - base) return -1;
    m->position = base + offset;
    return 0;
  }
  static int ZCALLBACK Close(voidpf, voidpf) { return 0; }
  static int ZCALLBACK Error(voidpf, voidpf) { return 0; }
};

bool TZipArchive::LooksLikeZip(const std::string& bytes) {
  return bytes.size() >= 4 && bytes.compare(0, 4, "PK\x03\x04", 4) == 0;
}

TZipArchive::THandle TZipArchive::OpenHandle(Memory& memory) {
  zlib_filefunc64_def io{};
  io.zopen64_file = &TZipMemoryIo::Open;
  io.zread_file = &TZipMemoryIo::Read;
  io.zwrite_file = &TZipMemoryIo::Write;
  io.ztell64_file = &TZipMemoryIo::Tell;
  io.zseek64_file = &TZipMemoryIo::Seek;
  io.zclose_file = &TZipMemoryIo::Close;
  io.zerror_file = &TZipMemoryIo::Error;
  io.opaque = &memory;
  return THandle(unzOpen2_64("memory", &io));
}

TZipArchive::TZipArchive(std::string bytes, std::string display_name)
    : bytes_(std::move(bytes)), display_name_(std::move(display_name)) {
  zip_ = OpenHandle(memory_);
  if (zip_ == nullptr) {
    throw EPlanilhaError("O arquivo \"" + display_name_ +
                         "\" não é uma planilha válida ou está danificado (o pacote zip não pode "
                         "ser lido).");
  }
  Index();
}

namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

}  // namespace

void TZipArchive::Index() {
  // Every entry is looked at once: names are compared without letter case,
  // so a second entry "XL/WORKSHEETS/SHEET1.XML" would otherwise decide,
  // unseen, which of the two is read; and an entry compressed by a method
  // minizip does not inflate would be handed on raw.
  std::vector<char> name(65536);
  int status = unzGoToFirstFile(zip_.get());
  while (status == UNZ_OK) {
    if (entries_.size() >= kMaxZipEntries) {
      throw EPlanilhaError("A planilha \"" + display_name_ + "\" tem mais de " +
                           std::to_string(kMaxZipEntries) +
                           " partes no pacote zip, mais do que o leitor aceita.");
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_.get(), &info, name.data(), static_cast<uLong>(name.size()),
                                nullptr, 0, nullptr, 0) != UNZ_OK) {
      Damaged("diretório do pacote", "cabeçalho ilegível");
    }
    const std::string entry_name(name.data(), std::min<size_t>(info.size_filename, name.size()));
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) {
      Damaged(entry_name,
              "método de compressão não aceito (" + std::to_string(info.compression_method) + ")");
    }
    unz64_file_pos position{};
    if (unzGetFilePos64(zip_.get(), &position) != UNZ_OK) Damaged(entry_name, "cabeçalho ilegível");
    const bool added = entries_
                           .emplace(LowerAscii(entry_name),
                                    Entry{position.pos_in_zip_directory, position.num_of_file})
                           .second;
    if (!added) Damaged(entry_name, "parte repetida no pacote");
    status = unzGoToNextFile(zip_.get());
  }
  // A package of more than 65,535 entries without the zip64 record that
  // counts them gives 65,535; minizip then reads on until the directory
  // ends, and reports its end as an error.
  unz_global_info64 global{};
  const bool uncounted = unzGetGlobalInfo64(zip_.get(), &global) == UNZ_OK &&
                         global.number_entry == 0xFFFF && entries_.size() >= 0xFFFF;
  if (status != UNZ_END_OF_LIST_OF_FILE && !(uncounted && status == UNZ_BADZIPFILE)) {
    Damaged("diretório do pacote", "ilegível");
  }
}

bool TZipArchive::GoTo(void* zip, const std::string& name) const {
  const auto it = entries_.find(LowerAscii(name));
  if (it == entries_.end()) return false;
  unz64_file_pos position{it->second.directory_offset, it->second.number};
  return unzGoToFilePos64(zip, &position) == UNZ_OK;
}

TZipArchive::~TZipArchive() = default;

void TZipArchive::TCloser::operator()(void* zip) const {
  unzClose(zip);
}

void TZipArchive::Damaged(const std::string& name, const std::string& why) const {
  throw EPlanilhaError("A planilha \"" + display_name_ + "\" está danificada: " + why + " (" +
                       name + ").");
}

bool TZipArchive::Has(const std::string& name) {
  return entries_.contains(LowerAscii(name));
}

uint64_t TZipArchive::InflatedSize(const std::string& name) {
  if (!GoTo(zip_.get(), name)) return 0;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip_.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
    return 0;
  return info.uncompressed_size;
}

uint64_t TZipArchive::CompressedSize(const std::string& name) {
  if (!GoTo(zip_.get(), name)) return 0;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip_.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
    return 0;
  return std::min<uint64_t>(info.compressed_size, bytes_.size());
}

void TZipArchive::Locate(void* zip, const std::string& name, uint64_t limit) const {
  if (!GoTo(zip, name)) Damaged(name, "parte ausente");
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    Damaged(name, "cabeçalho ilegível");
  }
  if ((info.flag & 1) != 0) {
    throw EPlanilhaError("A planilha \"" + display_name_ +
                         "\" está protegida por senha e não pode ser lida.");
  }
  if (info.uncompressed_size > limit) {
    throw EPlanilhaError("A planilha \"" + display_name_ + "\" excede o tamanho máximo aceito: " +
                         name + " ocuparia " + std::to_string(info.uncompressed_size >> 20) +
                         " MB descompactado (limite " + std::to_string(limit >> 20) + " MB).");
  }
  if (unzOpenCurrentFile(zip) != UNZ_OK) Damaged(name, "parte ilegível");
}

namespace {

// Chunks handed from the inflating thread to the consuming one.
class ChunkQueue {
 public:
  explicit ChunkQueue(size_t depth) : depth_(depth) {}
  // Producer side.
  bool Push(std::vector<char> chunk) {
    std::unique_lock lock(mutex_);
    space_.wait(lock, [&] { return full_.size() < depth_ || cancelled_; });
    if (cancelled_) return false;
    full_.push_back(std::move(chunk));
    ready_.notify_one();
    return true;
  }
  void Finish(std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    done_ = true;
    error_ = std::move(error);
    ready_.notify_one();
  }
  std::vector<char> Recycled() {
    std::lock_guard lock(mutex_);
    if (free_.empty()) return {};
    auto v = std::move(free_.back());
    free_.pop_back();
    return v;
  }
  // Consumer side: false at the end.
  bool Pop(std::vector<char>& out) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return !full_.empty() || done_; });
    if (!out.empty() || out.capacity() != 0) free_.push_back(std::move(out));
    if (full_.empty()) {
      if (error_) std::rethrow_exception(error_);
      return false;
    }
    out = std::move(full_.front());
    full_.pop_front();
    space_.notify_one();
    return true;
  }
  void Cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    space_.notify_all();
  }

 private:
  size_t depth_;
  std::mutex mutex_;
  std::condition_variable ready_, space_;
  std::deque<std::vector<char>> full_;
  std::vector<std::vector<char>> free_;
  bool done_ = false;
  bool cancelled_ = false;
  std::exception_ptr error_;
};

constexpr size_t kChunk = 1 << 20;

}  // namespace

void TZipArchive::Read(const std::string& name, uint64_t limit,
                       const std::function<void(const char*, size_t)>& sink, bool threaded) {
  ReadFrom(zip_.get(), name, limit, sink, threaded);
}

void TZipArchive::ReadApart(const std::string& name, uint64_t limit,
                            const std::function<void(const char*, size_t)>& sink) {
  Memory memory{&bytes_};
  const THandle zip = OpenHandle(memory);
  if (zip == nullptr) Damaged(name, "parte ilegível");
  ReadFrom(zip.get(), name, limit, sink, false);
}

void TZipArchive::ReadFrom(void* zip, const std::string& name, uint64_t limit,
                           const std::function<void(const char*, size_t)>& sink,
                           bool threaded) const {
  Locate(zip, name, limit);
  // Closes the entry on every way out; on the normal way out the close
  // also tells whether the inflated data matched its checksum.
  struct CloseCurrent {
    void* zip;
    bool open = true;
    int Close() {
      open = false;
      return unzCloseCurrentFile(zip);
    }
    ~CloseCurrent() {
      if (open) unzCloseCurrentFile(zip);
    }
  } close_current{zip};
  auto check_crc = [&] {
    if (close_current.Close() == UNZ_CRCERROR) Damaged(name, "soma de verificação incorreta");
  };

  // Inflates the next piece into `buffer`; 0 at the end.
  uint64_t total = 0;
  auto inflate_into = [&](char* buffer, size_t size) -> size_t {
    const int n = unzReadCurrentFile(zip, buffer, static_cast<unsigned>(size));
    if (n < 0) Damaged(name, "dados compactados inválidos");
    total += static_cast<uint64_t>(n);
    if (total > limit) {
      throw EPlanilhaError("A planilha \"" + display_name_ +
                           "\" excede o tamanho máximo aceito: " + name + " passa de " +
                           std::to_string(limit >> 20) + " MB descompactado.");
    }
    return static_cast<size_t>(n);
  };

  if (!threaded) {
    std::vector<char> buffer(kChunk);
    for (;;) {
      const size_t n = inflate_into(buffer.data(), buffer.size());
      if (n == 0) break;
      sink(buffer.data(), n);
    }
    check_crc();
    sink(nullptr, 0);
    return;
  }

  ChunkQueue queue(4);
  std::thread producer([&] {
    try {
      for (;;) {
        std::vector<char> chunk = queue.Recycled();
        chunk.resize(kChunk);
        const size_t n = inflate_into(chunk.data(), chunk.size());
        if (n == 0) break;
        chunk.resize(n);
        if (!queue.Push(std::move(chunk))) break;
      }
      queue.Finish(nullptr);
    } catch (...) {
      queue.Finish(std::current_exception());
    }
  });
  try {
    std::vector<char> chunk;
    while (queue.Pop(chunk))
      sink(chunk.data(), chunk.size());
  } catch (...) {
    queue.Cancel();
    producer.join();
    throw;
  }
  producer.join();
  check_crc();
  sink(nullptr, 0);
}

std::string TZipArchive::ReadAll(const std::string& name, uint64_t limit) {
  std::string out;
  Read(name, limit, [&](const char* data, size_t size) {
    if (data != nullptr) out.append(data, size);
  });
  return out;
}

}  // namespace app
