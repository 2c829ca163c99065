// Writing .xlsx packages for the reader's tests: the parts of a one-sheet
// workbook, any of which a test replaces, written with minizip, and entries
// written raw (any compression method, any claimed size) for damaged ones.
#pragma once

#include <gtest/gtest.h>
#include <minizip/zip.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "app/workbook/file_engine.h"

namespace xlsx_test {

struct TPart {
  std::string name;
  std::string body;
  // Raw entries are stored as they are under this method, claiming
  // `claimed_size` bytes once inflated.
  bool raw = false;
  int method = 0;
  uint64_t claimed_size = 0;
};

inline constexpr char kRel[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
inline constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr char kRelsNs[] = "http://schemas.openxmlformats.org/package/2006/relationships";

inline std::string WorkbookXml(const std::string& sheets) {
  const std::string rel = kRel;
  return std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" +
         rel.substr(0, rel.size() - 1) + "\"><sheets>" + sheets + "</sheets></workbook>";
}

inline std::string RelsXml(const std::string& relationships) {
  return std::string("<Relationships xmlns=\"") + kRelsNs + "\">" + relationships +
         "</Relationships>";
}

// A workbook of one worksheet "Células" (xl/worksheets/sheet1.xml) and a
// shared-string table.
inline std::vector<TPart> Workbook(const std::string& sheet_xml, const std::string& shared_xml) {
  return {
      {"_rels/.rels", RelsXml(std::string("<Relationship Id=\"rId1\" Type=\"") + kRel +
                              "officeDocument\" Target=\"xl/workbook.xml\"/>")},
      {"xl/workbook.xml", WorkbookXml("<sheet name=\"Células\" sheetId=\"1\" r:id=\"rId1\"/>")},
      {"xl/_rels/workbook.xml.rels",
       RelsXml(std::string("<Relationship Id=\"rId1\" Type=\"") + kRel +
               "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
               kRel + "sharedStrings\" Target=\"sharedStrings.xml\"/>")},
      {"xl/sharedStrings.xml", shared_xml},
      {"xl/worksheets/sheet1.xml", sheet_xml},
  };
}

// The part of that name in `parts`.
inline TPart& Part(std::vector<TPart>& parts, const std::string& name) {
  for (TPart& p : parts) {
    if (p.name == name) return p;
  }
  ADD_FAILURE() << "no part " << name;
  return parts.front();
}

// minizip's output into a string: writing a package of many entries to a
// file through it costs a system call per header.
struct TMemoryOutput {
  std::string bytes;
  uint64_t position = 0;

  static voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }
  static uLong ZCALLBACK Read(voidpf, voidpf, void*, uLong) { return 0; }
  static uLong ZCALLBACK Write(voidpf, voidpf stream, const void* buf, uLong size) {
    auto* m = static_cast<TMemoryOutput*>(stream);
    if (m->bytes.size() < m->position + size) m->bytes.resize(m->position + size);
    m->bytes.replace(m->position, size, static_cast<const char*>(buf), size);
    m->position += size;
    return size;
  }
  static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) {
    return static_cast<TMemoryOutput*>(stream)->position;
  }
  static long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* m = static_cast<TMemoryOutput*>(stream);
    const uint64_t base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                          : origin == ZLIB_FILEFUNC_SEEK_CUR ? m->position
                                                             : m->bytes.size();
    m->position = base + offset;
    return 0;
  }
  static int ZCALLBACK Close(voidpf, voidpf) { return 0; }
  static int ZCALLBACK Error(voidpf, voidpf) { return 0; }
};

// Sets the compression method of entry `name` in both its headers (the
// writer refuses methods it cannot compress with).
inline void SetMethod(std::string& zip, const std::string& name, int method) {
  for (const std::string signature : {"PK\x03\x04", "PK\x01\x02"}) {
    const size_t name_at = signature[2] == '\x03' ? 30 : 46;
    const size_t method_at = signature[2] == '\x03' ? 8 : 10;
    for (size_t at = zip.find(signature); at != std::string::npos;
         at = zip.find(signature, at + 4)) {
      if (zip.compare(at + name_at, name.size(), name) != 0) continue;
      zip[at + method_at] = static_cast<char>(method & 0xFF);
      zip[at + method_at + 1] = static_cast<char>(method >> 8);
    }
  }
}

inline void WritePackage(const std::string& path, const std::vector<TPart>& parts) {
  TMemoryOutput out;
  zlib_filefunc64_def io{};
  io.zopen64_file = &TMemoryOutput::Open;
  io.zread_file = &TMemoryOutput::Read;
  io.zwrite_file = &TMemoryOutput::Write;
  io.ztell64_file = &TMemoryOutput::Tell;
  io.zseek64_file = &TMemoryOutput::Seek;
  io.zclose_file = &TMemoryOutput::Close;
  io.zerror_file = &TMemoryOutput::Error;
  io.opaque = &out;
  zipFile zip = zipOpen2_64("memory", APPEND_STATUS_CREATE, nullptr, &io);
  ASSERT_NE(zip, nullptr);
  for (const TPart& part : parts) {
    zip_fileinfo info{};
    // Raw entries are stored; their method is set afterwards.
    const int written = part.raw ? 0 : Z_DEFLATED;
    EXPECT_EQ(zipOpenNewFileInZip2_64(zip, part.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                      nullptr, written, 6, part.raw ? 1 : 0, 1),
              ZIP_OK);
    EXPECT_EQ(zipWriteInFileInZip(zip, part.body.data(), static_cast<unsigned>(part.body.size())),
              ZIP_OK);
    if (part.raw) {
      const auto crc = crc32(0, reinterpret_cast<const Bytef*>(part.body.data()),
                             static_cast<uInt>(part.body.size()));
      zipCloseFileInZipRaw64(zip, part.claimed_size, crc);
    } else {
      zipCloseFileInZip(zip);
    }
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
  for (const TPart& part : parts) {
    if (part.raw && part.method != 0) SetMethod(out.bytes, part.name, part.method);
  }
  std::ofstream(path, std::ios::binary) << out.bytes;
}

// Opens the workbook and reads its first worksheet's used area as the
// window does before a run; "" when that works, else the error.
inline std::string OpenError(const std::string& path) {
  try {
    app::TDMCotrolaExcel excel(app::CreateFileEngine());
    excel.AbrePlanilha(path);
    excel.ListaAbas();
    excel.SelecionaAba(1);
    excel.UltimaLinha();
  } catch (const app::EPlanilhaError& e) {
    return e.what();
  }
  return "";
}

}  // namespace xlsx_test
