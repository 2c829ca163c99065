// The default skin travels inside the program as its SKIN resource: it must
// be there, be the package the build made, and load without an empty slot.
// The main window's SkinData1 reads it from there while the window is made.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/win/principal.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/reader.h"
#include "framework/strings.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package_writer.h"
#include "skin/data/win/skin_data_component.h"
#include "skin/window/win_skin_form.h"
#include "tests/app/win/main_window_fixture.h"
#include "tests/app/win/ui_driver.h"

namespace {

std::vector<uint8_t> SkinResource() {
  HRSRC info = FindResourceW(nullptr, L"SKIN", MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return {};
  HGLOBAL handle = LoadResource(nullptr, info);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(handle));
  return {bytes, bytes + SizeofResource(nullptr, info)};
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The package built from the generated skin, and the copy shipped beside the program.
std::vector<uint8_t> BuiltPackage() {
  return ReadFile(std::string(PROJECT_BINARY_DIR) + "/skins/default.skn");
}
std::vector<uint8_t> ShippedPackage() {
  return ReadFile(std::string(PROJECT_BINARY_DIR) + "/app/win/default.skn");
}

void ExpectEverySlotFilled(const skin::TSkinData& data) {
  int slots = 0;
  for (const auto& [slot, element] : skin::SkinSlots(data)) {
    ++slots;
    ASSERT_NE(element, nullptr) << slot << " is empty";
    // The system-menu button has no image of its own: it shows the window's icon.
    const auto* button = dynamic_cast<const skin::TDataSkinSysButton*>(element);
    if (button && button->Action == 3) continue;
    EXPECT_FALSE(element->Bitmap.Empty()) << slot;
  }
  EXPECT_GT(slots, 30);
}

TEST(EmbeddedSkin, IsTheBuiltPackageAndLoadsEverySlot) {
  const std::vector<uint8_t> embedded = SkinResource();
  ASSERT_FALSE(embedded.empty()) << "no SKIN resource";
  EXPECT_EQ(embedded, BuiltPackage());
  EXPECT_EQ(embedded, ShippedPackage());

  skin::TSkinData data;
  data.SkinStream = skin::TMemoryStream(std::vector<uint8_t>(embedded));
  ASSERT_TRUE(data.LoadSkin());
  EXPECT_FALSE(data.NotLoaded);
  EXPECT_FALSE(data.SkinName.empty());
  ExpectEverySlotFilled(data);
}

// --- SkinData1 of the main window ----------------------------------------------

class MainWindowSkinData : public app_test::MainWindowTest {
 protected:
  void SetUp() override { form_ = CreateMainWindow(/*show=*/false); }

  TFPrincipal* form_ = nullptr;
};

TEST_F(MainWindowSkinData, IsTheLastComponentAfterTheTransaction) {
  fw::TComponent* c = form_->FindComponent("SkinData1");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->ClassName(), "TSkinData");
  EXPECT_EQ(c, form_->SkinData1);
  const int last = form_->ComponentCount() - 1;
  ASSERT_GE(last, 1);
  EXPECT_EQ(form_->Components(last), c);
  EXPECT_EQ(form_->Components(last - 1), form_->DBTransaction);
}

TEST_F(MainWindowSkinData, PropertiesByNameGiveTheStoredSettings) {
  const fw::TComponent* c = form_->SkinData1;
  ASSERT_NE(c, nullptr);
  struct Case {
    const char* property;
    std::string value;
  };
  // SkinStore reads "(Good)" only in design mode: at run time it says "(none)".
  const Case kEnums[] = {{"Active", "True"},
                         {"SkinFormtype", "sfMainform"},
                         {"MenuUpdate", "True"},
                         {"MenuMerge", "False"}};
  for (const Case& k : kEnums)
    EXPECT_EQ(fw::GetEnumName(c, k.property), k.value) << k.property;
  const Case kTexts[] = {{"SkinStore", "(none)"}, {"Version", "3.01.02.21"}, {"SkinFile", ""}};
  for (const Case& k : kTexts)
    EXPECT_EQ(fw::WideToUtf8(fw::GetTextProp(c, k.property)), k.value) << k.property;
  EXPECT_EQ(fw::GetIntProp(c, "DisableTag"), 99);
  // Sets, as bit masks: every kind but xcMenuItem and xcFastReport, as
  // stored (Loaded keeps it), and no option.
  const Case kSets[] = {{"SkinControls", "524283"}, {"Options", "0"}};
  for (const Case& k : kSets) {
    const fw::TPropInfo* p = c->ClassInfo().FindProperty(k.property);
    ASSERT_NE(p, nullptr) << k.property;
    EXPECT_EQ(p->Kind, fw::TTypeKind::tkSet) << k.property;
    EXPECT_EQ(std::to_string(p->GetOrd(*c)), k.value) << k.property;
  }

  auto* skin3rd = dynamic_cast<fw::TStrings*>(fw::GetObjectProp(c, "Skin3rd"));
  ASSERT_NE(skin3rd, nullptr);
  const std::vector<std::string> defaults = skin::TSkinData::DefaultSkin3rd();
  ASSERT_EQ(skin3rd->Count(), 110);
  for (int i = 0; i < skin3rd->Count(); ++i)
    EXPECT_EQ(fw::WideToUtf8(skin3rd->Strings(i)), defaults[static_cast<size_t>(i)]);

  // The no-op writers keep what they show.
  auto* writable = form_->SkinData1;
  EXPECT_TRUE(fw::SetTextProp(writable, "Version", L"9.9"));
  EXPECT_TRUE(fw::SetTextProp(writable, "SkinStore", L"(Good)"));
  EXPECT_EQ(fw::GetTextProp(c, "Version"), L"3.01.02.21");
  EXPECT_EQ(fw::GetTextProp(c, "SkinStore"), L"(none)");
}

TEST_F(MainWindowSkinData, HoldsTheShippedPackageLoaded) {
  ASSERT_NE(form_->SkinData1, nullptr);
  const skin::TSkinData& data = form_->SkinData1->Data();
  EXPECT_FALSE(data.NotLoaded);
  ExpectEverySlotFilled(data);

  const std::vector<uint8_t> shipped = ShippedPackage();
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(data.SkinStream.Data(), shipped);
  const fw::TObject* stream = fw::GetObjectProp(form_->SkinData1, "SkinStream");
  EXPECT_EQ(fw::GetTextProp(stream, "ResourceName"), L"SKIN");
  EXPECT_EQ(fw::GetIntProp(stream, "Size"), static_cast<int64_t>(shipped.size()));

  skin::TSkinData reference;
  reference.SkinStream = skin::TMemoryStream(std::vector<uint8_t>(shipped));
  ASSERT_TRUE(reference.LoadSkin());
  EXPECT_EQ(data.SkinName, reference.SkinName);
  EXPECT_EQ(data.ButtonFaceColour, reference.ButtonFaceColour);
  EXPECT_NE(form_->SkinData1->ButtonFaceBrush(), nullptr);
}

// --- Failures -------------------------------------------------------------------

// A root of its own (not a form) that holds one skin data component.
class TSkinHolder : public fw::TComponent {
 public:
  using fw::TComponent::TComponent;
  static const fw::TClassInfo& StaticClassInfo() {
    static const fw::TClassInfo info =
        fw::TClassBuilder<TSkinHolder>("TSkinHolder", fw::TComponent::StaticClassInfo()).Build();
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  using ThisClass = TSkinHolder;
};

std::string Description(const std::string& resource) {
  return "object Holder: TSkinHolder\n"
         "  object SkinData1: TSkinData\n"
         "    Active = True\n"
         "    SkinStream.ResourceName = '" +
         resource +
         "'\n"
         "  end\n"
         "end\n";
}

// --- The skinned main window ------------------------------------------------------

class SkinnedMainWindow : public app_test::MainWindowTest {
 protected:
  void SetUp() override {
    skin::win::UseSkinManager();  // as the program does at its start
    form_ = CreateMainWindow(/*show=*/true);
  }
  void TearDown() override {
    app_test::MainWindowTest::TearDown();
    skin::win::ShutdownSkinManager();
    skin::win::SetSkinManagerProvider(nullptr);
  }
  TFPrincipal* form_ = nullptr;
};

TEST_F(SkinnedMainWindow, TheWindowAndItsMessageBoxesAreDrawnFromTheSkin) {
  HWND wnd = form_->Handle();
  skin::win::TSkinManage* manager = skin::win::TSkinManage::Instance();
  ASSERT_NE(manager, nullptr);
  skin::win::TWinSkinForm* controller = manager->FindSkinForm(wnd);
  ASSERT_NE(controller, nullptr);
  app_->ProcessMessages();
  EXPECT_EQ(controller->State, skin::win::ssReady);
  EXPECT_EQ(GetWindowLongW(wnd, GWL_STYLE) & WS_CAPTION, 0);  // the skin draws the caption
  // The client area keeps its size; the rounded top corners come from the
  // window region.
  RECT client;
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 584);
  EXPECT_EQ(client.bottom, 279);
  fw::TGdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(wnd, region.get()), ERROR);
  RECT window;
  GetWindowRect(wnd, &window);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.get(), window.right - window.left - 1, 0));
  EXPECT_TRUE(PtInRegion(region.get(), (window.right - window.left) / 2, 0));

  // A message box of the program is a raw window: skinned too.
  LRESULT skinned = 0;
  LONG style = 0;
  std::wstring title;
  bool shown = false;
  ui::RunWithDriver(
      [&] {
        HWND box = nullptr;
        EXPECT_TRUE(ui::WaitFor([&] { return (box = ui::FindDialog(thread_, L"")) != nullptr; }));
        if (box == nullptr) return;
        Sleep(300);
        skinned = SendMessageW(box, skin::win::WM_SKINQUERY, 0, 0);
        style = GetWindowLongW(box, GWL_STYLE);
        title = ReadBox().first;
      },
      [&] {
        if (!shown) {
          shown = true;
          fw::ShowWarning(L"Aviso de teste");
        }
        app_->ProcessMessages();
      });
  EXPECT_EQ(title, L"Warning");
  EXPECT_EQ(skinned, 1);
  EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
}

TEST(SkinDataFailures, StoredResourceMissingOrNoPackageStopsTheReading) {
  skin::win::RegisterSkinDataClasses();
  struct Case {
    const char* resource;
    const char* message;
  };
  const Case kCases[] = {
      {"NO_SUCH_SKIN", "SkinData1: SkinStream: Resource NO_SUCH_SKIN not found"},
      // A PNG picture where a package should be.
      {"LOGO", "SkinData1: SkinStream: skin package is damaged"},
      // The window's description text.
      {"TFPRINCIPAL", "SkinData1: SkinStream: skin package is damaged"},
  };
  for (const Case& k : kCases) {
    TSkinHolder holder(nullptr);
    try {
      fw::ReadComponent(holder, Description(k.resource));
      ADD_FAILURE() << k.resource << ": read without an error";
    } catch (const fw::Exception& e) {
      EXPECT_EQ(std::string(e.what()).rfind(k.message, 0), 0u) << e.what();
    }
    auto* c = dynamic_cast<skin::win::TSkinData*>(holder.FindComponent("SkinData1"));
    ASSERT_NE(c, nullptr) << k.resource;
    EXPECT_TRUE(c->Data().NotLoaded) << k.resource;
    EXPECT_EQ(c->ButtonFaceBrush(), nullptr) << k.resource;
  }
}

TEST(SkinDataFailures, DamagedPackageRaisesAndLeavesTheSkinInUse) {
  // A well-compressed package whose size table runs past its data.
  std::vector<uint8_t> unpacked = skin::BuildSkinPackage({{"skin.ini", {'[', 'a', ']'}}});
  unpacked[unpacked.size() - 3 - 4] = 200;  // the one entry's size
  const std::vector<uint8_t> damaged = skin::CompressSkinPackage(unpacked);

  const std::vector<uint8_t> good = SkinResource();
  skin::win::TSkinData c(nullptr);
  c.SetName("SkinData1");
  c.ReadSkinPackage(good.data(), good.size());
  ASSERT_FALSE(c.Data().NotLoaded);
  HBRUSH brush = c.ButtonFaceBrush();
  try {
    c.ReadSkinPackage(damaged.data(), damaged.size());
    ADD_FAILURE() << "damaged package read without an error";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(std::string(e.what()).rfind("SkinData1: SkinStream: skin package is damaged", 0), 0u)
        << e.what();
  }
  // The skin loaded before stays in use, whole: its elements, its package
  // and the brush windows already skinned were given.
  EXPECT_FALSE(c.Data().NotLoaded);
  EXPECT_EQ(c.Data().SkinStream.Data(), good);
  EXPECT_FALSE(c.Data().Buttons->Bitmap.Empty());
  EXPECT_EQ(c.ButtonFaceBrush(), brush);
}

TEST(SkinDataFailures, OtherVersionShowsTheMessageAndRunsUnskinned) {
  fw::TApplication application;
  application.Initialize();
  // A quit request left by a main window of an earlier test would end the
  // message box at once.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  // The box belongs to the active window, as at the program's start.
  fw::TForm* janela = application.CreateForm<fw::TForm>();
  janela->Show();
  SetActiveWindow(janela->Handle());
  application.ProcessMessages();
  const std::vector<uint8_t> older =
      skin::WriteSkinPackage({{"skin.ini", {'[', 'a', ']'}}}, /*version=*/19999);

  // As a description reads it: Active first, then the package, then Loaded.
  TSkinHolder holder(nullptr);
  auto* c = new skin::win::TSkinData(&holder);
  c->SetName("SkinData1");
  c->SetComponentState(fw::csLoading | fw::csReading);
  c->SetActive(true);
  std::wstring title, message;
  const DWORD thread = GetCurrentThreadId();
  bool started = false;
  ui::RunWithDriver(
      [&] {
        HWND box = nullptr;
        EXPECT_TRUE(ui::WaitFor([&] { return (box = ui::FindDialog(thread, L"")) != nullptr; }));
        if (box == nullptr) return;
        Sleep(100);
        title = ui::Text(box);
        message = ui::DialogMessage(box);
        ui::Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(ui::WaitFor([&] { return !IsWindow(box); }));
      },
      [&] {
        if (!started) {
          started = true;
          c->ReadSkinPackage(older.data(), older.size());
        }
        application.ProcessMessages();
      });
  EXPECT_EQ(title, L"Warning");
  EXPECT_EQ(message, L"This is Older Skin File\rPlease update to new version !");
  EXPECT_TRUE(c->Data().NotLoaded);
  EXPECT_TRUE(c->Active());  // still as stored while the description is read
  c->ClearComponentState(fw::csReading);
  c->Loaded();
  EXPECT_FALSE(c->Active());
}

TEST(SkinDataFailures, SkinFileWithLettersOutsideAsciiLoads) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("skin-file-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / L"pele\u00e7\u00e3o.skn";
  const std::vector<uint8_t> package = SkinResource();
  {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(package.data()),
              static_cast<std::streamsize>(package.size()));
  }
  skin::win::TSkinData c(nullptr);
  EXPECT_TRUE(fw::SetTextProp(&c, "SkinFile", file.wstring()));
  EXPECT_FALSE(c.Data().NotLoaded);
  EXPECT_EQ(c.Data().SkinStream.Data(), package);
  EXPECT_EQ(fw::GetTextProp(&c, "SkinFile"), file.wstring());
  HBRUSH brush = c.ButtonFaceBrush();
  EXPECT_NE(brush, nullptr);

  // A missing file changes nothing, quietly: the skin in use stays, and
  // windows already skinned keep their brush.
  EXPECT_TRUE(fw::SetTextProp(&c, "SkinFile", (folder / L"nenhum.skn").wstring()));
  EXPECT_FALSE(c.Data().NotLoaded);
  EXPECT_EQ(c.Data().SkinStream.Data(), package);
  EXPECT_EQ(c.ButtonFaceBrush(), brush);
  std::filesystem::remove_all(folder);
}

}  // namespace
