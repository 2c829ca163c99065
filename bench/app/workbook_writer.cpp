#include "bench/app/workbook_writer.h"

#include <minizip/zip.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/controla_excel.h"

namespace bench {

namespace {

class ZipWriter {
 public:
  explicit ZipWriter(const std::string& path) : zip_(zipOpen64(path.c_str(), 0)) {
    if (!zip_) throw std::runtime_error("cannot create " + path);
  }
  ~ZipWriter() {
    if (zip_) zipClose(zip_, nullptr);
  }
  void Begin(const char* name) {
    zip_fileinfo info{};
    if (zipOpenNewFileInZip64(zip_, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6,
                              1) != ZIP_OK) {
      throw std::runtime_error("zip entry");
    }
  }
  void Write(const std::string& s) {
    if (zipWriteInFileInZip(zip_, s.data(), static_cast<unsigned>(s.size())) != ZIP_OK) {
      throw std::runtime_error("zip write");
    }
  }
  void End() { zipCloseFileInZip(zip_); }
  void Entry(const char* name, const std::string& body) {
    Begin(name);
    Write(body);
    End();
  }

 private:
  zipFile zip_;
};

std::string XmlEscaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

const char* kNames[] = {"Ana",    "Bruno", "Carla", "Diego", "Elisa",  "Fábio",
                        "Gisele", "Hugo",  "Irene", "João",  "Karina", "Luís"};
const char* kCities[] = {"São Paulo",    "Rio de Janeiro", "Belo Horizonte", "Curitiba",
                         "Porto Alegre", "Salvador",       "Recife",         "Fortaleza"};

}  // namespace

void WriteBenchWorkbook(const std::string& path, int rows, bool shared_strings) {
  constexpr int kCols = 46;
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> pct(0, 99);
  std::vector<std::string> sst;
  std::unordered_map<std::string, int> sst_index;
  auto shared = [&](const std::string& s) {
    auto [it, inserted] = sst_index.emplace(s, static_cast<int>(sst.size()));
    if (inserted) sst.push_back(s);
    return it->second;
  };

  ZipWriter zip(path);
  std::string types =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas."
      "openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default "
      "Extension=\"xml\" ContentType=\"application/xml\"/><Override PartName=\"/xl/"
      "workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
      "spreadsheetml.sheet.main+xml\"/><Override PartName=\"/xl/worksheets/sheet1.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+"
      "xml\"/>";
  if (shared_strings) {
    types +=
        "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
  }
  zip.Entry("[Content_Types].xml", types + "</Types>");
  zip.Entry("_rels/.rels",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas."
            "openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
            "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
  zip.Entry("xl/workbook.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"http://schemas."
            "openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"http://schemas."
            "openxmlformats.org/officeDocument/2006/relationships\"><sheets><sheet "
            "name=\"Clientes\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
  std::string rels =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas."
      "openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
      "Target=\"worksheets/sheet1.xml\"/>";
  if (shared_strings) {
    rels +=
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
        "relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>";
  }
  zip.Entry("xl/_rels/workbook.xml.rels", rels + "</Relationships>");

  zip.Begin("xl/worksheets/sheet1.xml");
  std::string buf =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"http://schemas."
      "openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  std::string value;
  for (int r = 1; r <= rows; ++r) {
    buf += "<row r=\"" + std::to_string(r) + "\" spans=\"1:46\">";
    for (int c = 1; c <= kCols; ++c) {
      if (pct(rng) < 4) continue;  // empty cell
      const std::string ref = app::TDMCotrolaExcel::LetraColuna(c) + std::to_string(r);
      bool text = true;
      switch (c % 6) {
        case 0:
          value = std::to_string(rng() % 100000) + "." + std::to_string(rng() % 100);
          text = false;
          break;
        case 1:
          value = kNames[rng() % 12] + std::string(" ") + kNames[rng() % 12] + " da Silva";
          break;
        case 2:
          value = kCities[rng() % 8];
          break;
        case 3:
          value = std::to_string(45000 + rng() % 1000);  // a date
          text = false;
          break;
        case 4:
          value = "Rua " + std::string(kNames[rng() % 12]) + ", " + std::to_string(rng() % 2000);
          break;
        default:
          value = std::to_string(rng() % 1000000);
          text = false;
      }
      if (c == 18) {
        value = std::to_string(1 + rng() % 100000);
        text = true;
      } else if (c == 46) {
        value = "cliente" + std::to_string(r) + "@exemplo.com.br";
        text = true;
      }
      if (!text) {
        buf += "<c r=\"" + ref + "\"><v>" + value + "</v></c>";
      } else if (shared_strings) {
        buf += "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(shared(value)) + "</v></c>";
      } else {
        buf += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + XmlEscaped(value) + "</t></is></c>";
      }
    }
    buf += "</row>";
    if (buf.size() > (1 << 20)) {
      zip.Write(buf);
      buf.clear();
    }
  }
  buf += "</sheetData></worksheet>";
  zip.Write(buf);
  zip.End();

  if (shared_strings) {
    zip.Begin("xl/sharedStrings.xml");
    buf =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"http://schemas."
        "openxmlformats.org/spreadsheetml/2006/main\" uniqueCount=\"" +
        std::to_string(sst.size()) + "\">";
    for (const auto& s : sst) {
      buf += "<si><t>" + XmlEscaped(s) + "</t></si>";
      if (buf.size() > (1 << 20)) {
        zip.Write(buf);
        buf.clear();
      }
    }
    buf += "</sst>";
    zip.Write(buf);
    zip.End();
  }
}

}  // namespace bench
