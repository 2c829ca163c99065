#include "tools/skinpack/skinpack.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>

#include "skin/data/bmp_codec.h"
#include "skin/data/lzh.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package_writer.h"
#include "skin/data/skin_reader.h"
#include "tools/skinpack/contact_sheet.h"

namespace skinpack {

namespace fs = std::filesystem;
using namespace skin;

namespace {

// Failures that end a command with status 1 and this message.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Usage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw Failure("cannot read " + path + ": no such file");
  std::ifstream f(path, std::ios::binary);
  if (!f) throw Failure("cannot open " + path);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Writes through a temporary file and renames it, so a failure never leaves
// a half-written file under the final name.
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) throw Failure("cannot write " + path);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    f.close();
    if (!f) {
      std::remove(temp.c_str());
      throw Failure("cannot write " + path);
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    std::remove(temp.c_str());
    throw Failure("cannot write " + path + ": " + ec.message());
  }
}

// Loads a package as the engine does; a wrong version is a failure here.
void LoadReader(const std::string& path, TSkinReader& reader, std::string& message) {
  TMemoryStream stream(ReadFile(path));
  try {
    if (!reader.LoadPackage(stream)) {
      std::string text = message;
      std::replace(text.begin(), text.end(), '\r', ' ');
      throw Failure(path + ": " + text);
    }
  } catch (const ESkinPackageError& e) {
    throw Failure(path + ": " + e.what());
  } catch (const ElzhException& e) {
    throw Failure(path + ": " + e.what());
  }
}

std::string Hex(uint32_t v) {
  std::ostringstream s;
  s << "0x" << std::uppercase << std::hex << std::setw(8) << std::setfill('0') << v;
  return s.str();
}

std::string Size(const TBitmap& b) {
  return std::to_string(b.Width()) + "x" + std::to_string(b.Height());
}

int Pack(const std::vector<std::string>& a, std::ostream&) {
  if (a.size() < 3) throw Usage("pack OUT.skn FILE... | pack OUT.skn DIR");
  std::vector<std::string> files;
  std::error_code ec;
  if (a.size() == 3 && fs::is_directory(a[2], ec)) {
    std::vector<fs::path> ini, rest;
    for (const auto& entry : fs::directory_iterator(a[2])) {
      if (!entry.is_regular_file()) continue;
      (AsciiLower(entry.path().extension().string()) == ".ini" ? ini : rest)
          .push_back(entry.path());
    }
    auto by_name = [](const fs::path& x, const fs::path& y) {
      return x.filename().string() < y.filename().string();
    };
    std::sort(ini.begin(), ini.end(), by_name);
    std::sort(rest.begin(), rest.end(), by_name);
    for (const auto& p : ini)
      files.push_back(p.string());
    for (const auto& p : rest)
      files.push_back(p.string());
  } else {
    files.assign(a.begin() + 2, a.end());
  }
  std::vector<TSkinPackageEntry> entries;
  for (const auto& f : files)
    entries.push_back({fs::path(f).filename().string(), ReadFile(f)});
  if (entries.size() > static_cast<size_t>(TSkinReader::kMaxEntries)) {
    throw Failure("a skin package holds at most 1001 entries");
  }
  try {
    WriteFile(a[1], WriteSkinPackage(entries));
  } catch (const std::invalid_argument& e) {
    throw Failure(e.what());
  }
  return 0;
}

int List(const std::vector<std::string>& a, std::ostream& out, std::string& message) {
  if (a.size() != 2) throw Usage("list IN.skn");
  TSkinReader reader([&](const std::string& t) { message = t; });
  LoadReader(a[1], reader, message);
  for (int i = 0; i < reader.Count(); i++) {
    out << reader.EntrySize(i) << ' ' << reader.Names()[i] << '\n';
  }
  return 0;
}

int Extract(const std::vector<std::string>& a, std::string& message) {
  if (a.size() != 4) throw Usage("extract IN.skn NAME OUT");
  TSkinReader reader([&](const std::string& t) { message = t; });
  LoadReader(a[1], reader, message);
  const std::string wanted = AsciiLower(a[2]);
  if (std::find(reader.Names().begin(), reader.Names().end(), wanted) == reader.Names().end()) {
    throw Failure("no entry named " + a[2] + " in " + a[1]);
  }
  TMemoryStream entry;
  reader.ExtractEntry(a[2], entry);
  WriteFile(a[3], entry.Data());
  return 0;
}

// An entry name is written only when it is a plain file name.
bool SafeName(const std::string& n) {
  return !n.empty() && n != "." && n != ".." && n.find_first_of("/\\:") == std::string::npos;
}

int Unpack(const std::vector<std::string>& a, std::string& message) {
  if (a.size() != 3) throw Usage("unpack IN.skn DIR");
  TSkinReader reader([&](const std::string& t) { message = t; });
  LoadReader(a[1], reader, message);
  for (const auto& n : reader.Names()) {
    if (!SafeName(n))
      throw Failure("unsafe entry name \"" + n + "\" in " + a[1] + "; nothing written");
  }
  std::error_code ec;
  fs::create_directories(a[2], ec);
  if (!fs::is_directory(a[2], ec)) throw Failure("cannot create " + a[2]);
  std::set<std::string> done;
  for (const auto& n : reader.Names()) {
    if (!done.insert(n).second) continue;
    TMemoryStream entry;
    reader.ExtractEntry(n, entry);
    WriteFile((fs::path(a[2]) / n).string(), entry.Data());
  }
  return 0;
}

// A host for loading outside any window system.
class ToolHost : public ISkinDataHost {
 public:
  ISkinManager* Manager(bool) override { return nullptr; }
  void ShowMessage(const std::string& text) override { message = text; }
  void* OwnerWindow() override { return nullptr; }
  int HorzScrollArrowWidth() override { return kHorzScrollArrowWidth; }
  std::string message;
};

void LoadSkinData(const std::string& path, TSkinData& data, ToolHost& host) {
  const std::vector<uint8_t> bytes = ReadFile(path);
  // The component takes an empty stream for "no skin" and loads nothing
  // without a word; a file named on the command line must say why.
  if (bytes.empty()) throw Failure(path + ": empty file, not a skin package");
  data.SkinStream.Write(bytes);
  bool ok = false;
  try {
    ok = data.LoadSkin();
  } catch (const std::exception& e) {
    throw Failure(path + ": " + e.what());
  }
  if (!ok) {
    std::replace(host.message.begin(), host.message.end(), '\r', ' ');
    throw Failure(path + ": " + (host.message.empty() ? "no skin loaded" : host.message));
  }
}

void PrintElement(std::ostream& out, const std::string& slot, const TDataSkinObject* e) {
  if (e == nullptr) {
    out << slot << " empty\n";
    return;
  }
  std::string cls = "TDataSkinObject";
  if (dynamic_cast<const TDataSkinBorder*>(e)) cls = "TDataSkinBorder";
  if (dynamic_cast<const TDataSkinButton*>(e)) cls = "TDataSkinButton";
  if (dynamic_cast<const TDataSkinTitle*>(e)) cls = "TDataSkinTitle";
  if (dynamic_cast<const TDataSkinSysButton*>(e)) cls = "TDataSkinSysButton";
  if (dynamic_cast<const TDataSkinBoxLabel*>(e)) cls = "TDataSkinBoxLabel";
  const TRect& m = e->Margins;
  out << slot << ' ' << cls << " name=" << e->Name << " frames=" << e->FrameCount
      << " bitmap=" << Size(e->Bitmap) << " margins=" << m.Left << ',' << m.Top << ',' << m.Right
      << ',' << m.Bottom << " trans=" << e->Trans << " tile=" << e->Tile << " style=" << e->Style;
  if (auto* b = dynamic_cast<const TDataSkinBorder*>(e)) out << " bitmap2=" << Size(b->Bitmap2);
  if (auto* b = dynamic_cast<const TDataSkinButton*>(e)) {
    out << " check=" << Size(b->CheckBitmap) << " checkframes=" << b->CheckFrameCount
        << " radio=" << Size(b->RadioBitmap) << " radioframes=" << b->RadioFrameCount;
  }
  if (auto* b = dynamic_cast<const TDataSkinSysButton*>(e)) {
    out << " action=" << b->Action << " align=" << b->Align << " x=" << b->XCoord
        << " y=" << b->YCoord << " vis=" << b->Visibility << " vis1=" << b->Visibility1
        << " combine=" << b->CombineOp;
  }
  if (auto* t = dynamic_cast<const TDataSkinTitle*>(e)) {
    out << " textalign=" << t->TextAlignment << " textbackground=" << t->TextBackground
        << " fontheight=" << t->FontHeight << " backleft=" << t->TextBackLeft
        << " backright=" << t->TextBackRight << " active=" << Hex(t->ActiveTextColour)
        << " inactive=" << Hex(t->InactiveTextColour);
  }
  if (auto* b = dynamic_cast<const TDataSkinBoxLabel*>(e)) {
    out << " bgalign=" << b->BackgroundAlignment << " bgleft=" << b->BackgroundLeftShift
        << " bgright=" << b->BackgroundRightShift;
  }
  out << '\n';
  out << "  NormalColour2 " << Hex(e->NormalColour2) << '\n';
  out << "  MouseOverColour2 " << Hex(e->MouseOverColour2) << '\n';
  out << "  PressedColour2 " << Hex(e->PressedColour2) << '\n';
}

int Inspect(const std::vector<std::string>& a, std::ostream& out) {
  if (a.size() != 2) throw Usage("inspect IN.skn");
  ToolHost host;
  TSkinData d(&host);
  LoadSkinData(a[1], d, host);
  out << "SkinName " << d.SkinName << '\n';
  for (const auto& [slot, element] : SkinSlots(d))
    PrintElement(out, slot, element);
  const std::pair<const char*, TColour> colours[] = {
      {"WindowTextColour", d.WindowTextColour},
      {"ButtonFaceColour", d.ButtonFaceColour},
      {"ScrollbarColour", d.ScrollbarColour},
      {"HilightTextColour", d.HilightTextColour},
      {"HilightColour", d.HilightColour},
      {"MenubarColour", d.MenubarColour},
      {"MenuColour", d.MenuColour},
      {"MenuTextColour", d.MenuTextColour},
      {"ButtonTextColour", d.ButtonTextColour},
      {"ButtonHilightColour", d.ButtonHilightColour},
      {"ButtonlightColour", d.ButtonlightColour},
      {"ButtonShadowColour", d.ButtonShadowColour},
      {"ButtonDkShadowColour", d.ButtonDkShadowColour},
      {"MenuBarTextColour", d.MenuBarTextColour},
      {"TitleTextActiveColour", d.TitleTextActiveColour},
      {"TitleTextNoActiveColour", d.TitleTextNoActiveColour},
  };
  for (const auto& [name, value] : colours)
    out << "Colour " << name << ' ' << Hex(value) << '\n';
  return 0;
}

int Ini(const std::vector<std::string>& a, std::ostream& out) {
  if (a.size() < 3)
    throw Usage("ini FILE.ini string|int SECTION KEY DEFAULT | ini FILE.ini sections");
  TMemoryStream stream(ReadFile(a[1]));
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  if (a[2] == "sections" && a.size() == 3) {
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    for (const auto& s : sections)
      out << s << '\n';
    return 0;
  }
  if (a.size() != 6) throw Usage("ini FILE.ini string|int SECTION KEY DEFAULT");
  if (a[2] == "string") {
    out << ini.ReadString(a[3], a[4], a[5]) << '\n';
    return 0;
  }
  if (a[2] == "int") {
    const auto def = TQuickIni::ParseInteger(a[5]);
    if (!def) throw Failure("DEFAULT must be an integer: " + a[5]);
    out << ini.ReadInteger(a[3], a[4], *def) << '\n';
    return 0;
  }
  throw Usage("ini FILE.ini string|int SECTION KEY DEFAULT | ini FILE.ini sections");
}

int Render(const std::vector<std::string>& a) {
  if (a.size() != 3) throw Usage("render IN.skn OUT.png");
  ToolHost host;
  TSkinData d(&host);
  LoadSkinData(a[1], d, host);
  WriteFile(a[2], EncodePng(DrawContactSheet(d)));
  return 0;
}

}  // namespace

int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string usage =
      "usage: skinpack pack OUT.skn FILE...|DIR\n"
      "       skinpack list IN.skn\n"
      "       skinpack extract IN.skn NAME OUT\n"
      "       skinpack unpack IN.skn DIR\n"
      "       skinpack inspect IN.skn\n"
      "       skinpack ini FILE.ini string|int SECTION KEY DEFAULT\n"
      "       skinpack ini FILE.ini sections\n"
      "       skinpack render IN.skn OUT.png\n";
  if (args.empty()) {
    err << usage;
    return 2;
  }
  std::string message;
  try {
    const std::string& cmd = args[0];
    if (cmd == "pack") return Pack(args, out);
    if (cmd == "list") return List(args, out, message);
    if (cmd == "extract") return Extract(args, message);
    if (cmd == "unpack") return Unpack(args, message);
    if (cmd == "inspect") return Inspect(args, out);
    if (cmd == "ini") return Ini(args, out);
    if (cmd == "render") return Render(args);
    err << "skinpack: unknown command " << cmd << '\n' << usage;
    return 2;
  } catch (const Usage& e) {
    err << "usage: skinpack " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    err << "skinpack: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace skinpack
