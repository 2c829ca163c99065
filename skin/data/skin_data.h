// TSkinData: the skin data component of a form. Holds the compressed skin
// package (SkinStream), loads it into skin elements and colours, keeps the
// settings the window and control skinners consult, and asks the skin manager
// to start, stop or refresh skinning.
//
//   class Host : public skin::ISkinDataHost { ... };   // the Windows layer
//   skin::TSkinData data(&host);
//   data.ReadSkinStream(stored);   // length-prefixed package; loads the skin
//   data.Loaded();                 // registers with the manager
//   const skin::TDataSkinObject* sb = data.Scrollbar.get();
//
// The platform parts (skin manager, message box, owner window, the scroll-arrow
// metric) come through ISkinDataHost; without a host the component works on
// its own (no manager, messages dropped, scroll arrows 17 pixels wide). ButtonFaceBrush is the
// Windows layer's: it creates a solid brush of ButtonFaceColour after every completed load.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/bitmap.h"
#include "skin/data/memory_stream.h"
#include "skin/data/skin_elements.h"

namespace skin {

class TQuickIni;
class TSkinReader;
class TSkinData;

enum TSkinControlType {
  xcMainMenu = 0,
  xcPopupMenu = 1,
  xcMenuItem = 2,
  xcToolbar = 3,
  xcControlbar = 4,
  xcCombo = 5,
  xcCheckBox = 6,
  xcRadioButton = 7,
  xcProgress = 8,
  xcScrollbar = 9,
  xcEdit = 10,
  xcButton = 11,
  xcBitBtn = 12,
  xcSpeedButton = 13,
  xcPanel = 14,
  xcGroupBox = 15,
  xcStatusBar = 16,
  xcTab = 17,
  xcSystemMenu = 18,
  xcFastReport = 19,
};
// A set of TSkinControlType: bit n for ordinal n.
using TSkinControlTypes = uint32_t;
constexpr TSkinControlTypes SkinControlBit(TSkinControlType t) {
  return 1u << t;
}
inline constexpr TSkinControlTypes kDefaultSkinControls = 0x0007FFFB;

enum TSkinOption { xoMDIScrollbar = 0, xoMenuMerge = 1, xoNCPaint = 2 };
using TSkinOptions = uint8_t;  // bit n for ordinal n

enum TSkinFormType { sfMainform = 0, sfOnlyThisForm = 1, sfDialog = 2 };

// The calls TSkinData makes on the global skin manager.
class ISkinManager {
 public:
  virtual ~ISkinManager() = default;
  virtual void AddSkinData(TSkinData* data) = 0;
  virtual void RemoveSkinData(TSkinData* data) = 0;
  virtual void InstallHook() = 0;
  // 1 start, 2 stop, 3 refresh; carried out after `delay_ms`.
  virtual void ScheduleAction(int action, int delay_ms) = 0;
  virtual void SkinWindow(void* window) = 0;
  virtual void ReloadForms() = 0;
  virtual void SetPendingSkinData(TSkinData* data) = 0;
  virtual int StartState() const = 0;
  virtual void SetStartState(int state) = 0;
  virtual void SetActive(bool active) = 0;
  // A load replaced the elements of `data`: whatever a window keeps of the
  // old ones (title buttons) must go now, before they are freed.
  virtual void ElementsReplaced(TSkinData* /*data*/) {}
};

// What TSkinData needs from the platform.
class ISkinDataHost {
 public:
  virtual ~ISkinDataHost() = default;
  // The global skin manager; created when `create` is set and none exists.
  virtual ISkinManager* Manager(bool create) = 0;
  // A modal message box (the wrong-version message of a skin package).
  virtual void ShowMessage(const std::string& text) = 0;
  // The owner form's window, or nullptr when the owner is not a form.
  virtual void* OwnerWindow() = 0;
  // SM_CXHSCROLL: width of a horizontal scroll-bar arrow.
  virtual int HorzScrollArrowWidth() = 0;
  // A load completed (every load goes through here, and only a completed
  // one): the platform rebuilds what it derives from the skin. A failed load
  // never calls it, so what was built for the previous skin stays.
  virtual void SkinLoaded() {}
};

class TSkinData {
 public:
  static constexpr const char* kVersion = "3.01.02.21";

  explicit TSkinData(ISkinDataHost* host = nullptr);
  ISkinDataHost* Host() const { return host_; }
  ~TSkinData();
  TSkinData(const TSkinData&) = delete;
  TSkinData& operator=(const TSkinData&) = delete;

  // Component state: design mode, and the phase of being read from a form.
  bool DesignMode = false;
  bool Reading = false;

  // Published properties.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag = 99;
  TSkinControlTypes SkinControls = kDefaultSkinControls;
  TSkinOptions Options = 0;
  const std::vector<std::string>& Skin3rd() const { return skin3rd_; }
  void SetSkin3rd(const std::vector<std::string>& lines) { skin3rd_ = lines; }
  const std::string& SkinFile() const { return skin_file_; }
  // `file_name` is UTF-8.
  void SetSkinFile(const std::string& file_name);
  std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype = sfMainform;
  std::string Version() const { return kVersion; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate = true;
  bool MenuMerge = false;
  std::function<void(TSkinData* sender, const std::string& class_name, bool& do_skin)> OnFormSkin;
  std::function<void(TSkinData* sender)> OnSkinChanged;
  std::function<void(TSkinData* sender, void* window, const std::string& class_name)>
      OnWindowCreate;

  // The compressed package as stored (or read from SkinFile).
  TMemoryStream SkinStream;
  bool NotLoaded = true;
  bool NCPaintEnabled = true;
  TBitmap DefaultIcon;
  // Four 16 x 16 glyphs: restore, maximize, minimize, close (black on white,
  // white is the mask colour), cut from SkinMenuGlyphs().
  std::vector<TBitmap> MenuImages;

  // Element slots. Borders are indexed 1..4 (Left, Right, Top, Bottom; index
  // 0 is unused); Title, Buttons and Borders always exist, the rest are null
  // when the description lacks them.
  std::array<std::unique_ptr<TDataSkinBorder>, 5> Borders;
  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
  std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
  std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
  std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
  std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
  std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;

  // Colours of the Colours section.
  TColour WindowTextColour = SystemColour(8);
  TColour ButtonFaceColour = SystemColour(15);
  TColour ScrollbarColour = SystemColour(0);
  TColour HilightTextColour = SystemColour(14);
  TColour HilightColour = SystemColour(13);
  TColour MenubarColour = SystemColour(15);
  TColour MenuColour = SystemColour(4);
  TColour MenuTextColour = SystemColour(7);
  TColour ButtonTextColour = SystemColour(18);
  TColour ButtonHilightColour = SystemColour(20);
  TColour ButtonlightColour = SystemColour(20);
  TColour ButtonShadowColour = SystemColour(16);
  TColour ButtonDkShadowColour = SystemColour(21);
  TColour MenuBarTextColour = SystemColour(7);
  TColour TitleTextActiveColour = SystemColour(9);
  TColour TitleTextNoActiveColour = SystemColour(19);
  std::string SkinName;

  // Called once after the component was read from its form.
  void Loaded();
  // Loads SkinStream into elements; false on a wrong package version or an
  // empty SkinStream. Codec, package and bitmap errors propagate. The new
  // elements are built apart and take the place of the old ones only when
  // the whole skin loaded: a failed load leaves the skin loaded before (and
  // NotLoaded as it was) untouched.
  bool LoadSkin();
  void ApplySkin();
  void MaySkinClass(const std::string& class_name, bool& do_skin);
  void SkinChanged();
  // The stored property: a signed 32-bit length, then that many bytes.
  void ReadSkinStream(TMemoryStream& in);
  void WriteSkinStream(TMemoryStream& out) const;

  // Element loading (run by LoadSkin with the reader and description of the
  // current load): into a fresh set, swapped in when complete.
  void LoadSkinElements(const TQuickIni& ini, const TSkinReader& reader);
  // Exchanges every element slot, the colours and the skin's name with
  // `other`'s.
  void SwapElements(TSkinData& other);

  // The default Skin3rd lines.
  static std::vector<std::string> DefaultSkin3rd();
  // The 64 x 16 "SKINMENUGLYPHS" strip (black glyphs on white).
  static TBitmap SkinMenuGlyphs();

 private:
  ISkinManager* Manager(bool create) const;
  // Puts `bytes` in SkinStream and loads them; on a failure the package of
  // the skin in use is put back. True when the new skin loaded.
  bool LoadPackage(std::vector<uint8_t> bytes);

  ISkinDataHost* host_;
  bool active_ = false;
  std::string skin_file_;
  std::vector<std::string> skin3rd_;
};

// Every element slot with its name, in inspection order: Borders[1]..[4],
// Title, SysButtons[i]..., Buttons, Progress, ... UpDownVert (null when empty).
std::vector<std::pair<std::string, const TDataSkinObject*>> SkinSlots(const TSkinData& d);
// Fills `bitmap` from the package entry named by `file_name` (its file part;
// only ".bmp" names qualify) or empties it. A bad BMP raises EBitmapError.
void LoadSkinBitmap(const TSkinReader& reader, TBitmap& bitmap, const std::string& file_name);
// Sets `colour` from the keys prefix+"R", +"G", +"B" when all three are >= 0.
void ReadRGBKeys(const TQuickIni& ini, const std::string& section, const std::string& prefix,
                 TColour& colour);

}  // namespace skin
