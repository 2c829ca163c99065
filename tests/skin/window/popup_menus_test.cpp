// Popup menus of skinned windows under Wine: framework popups made
// owner-drawn (one with the exemption tag left alone), the popup window's
// frame band and entries painted from the skin, the entries' frames,
// glyphs and check marks, the widths the skin adds, native entries of a raw
// window's menu, the print path, and right-to-left drop-downs mirrored.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/dc.h"
#include "framework/menus.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/menu_bar.h"
#include "skin/window/menu_item_layout.h"
#include "tests/app/win/ui_driver.h"
#include "tests/skin/window/skinned_window.h"
#include "tests/skin/window/skinned_window_fixture.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace skin_test {
namespace {

using skin::win::TWinSkinForm;
using skin::win::fixtures::CaptureWindow;
using skin::win::fixtures::SamePixels;

// The form of the window skinning tests with two popup menus, one tagged
// with the exemption tag.
constexpr const char* kPopupMenus = R"(  object Menu1: TPopupMenu
    object Abrir: TMenuItem
      Caption = '&Abrir'
      ShortCut = 16449
    end
    object Linha: TMenuItem
      Caption = '-'
    end
    object Marcado: TMenuItem
      Caption = 'Marcado'
      Checked = True
    end
  end
  object Isento: TPopupMenu
    Tag = 99
    object Nativo: TMenuItem
      Caption = 'Nativo'
    end
  end
)";

constexpr int kEntryWidth = 160;
constexpr int kEntryHeight = 20;

class PopupMenusTest : public SkinnedWindowTest {
 protected:
  void SetUp() override {
    SkinnedWindowTest::SetUp();
    if (HasFatalFailure()) return;
    form_ = CreateForm(skin::win::fixtures::FormDescription(kPopupMenus));
    controller_ = Skin(form_->Handle());
    ASSERT_NE(controller_, nullptr);
    menu_ = static_cast<fw::TPopupMenu*>(form_->FindComponent("Menu1"));
    exempt_ = static_cast<fw::TPopupMenu*>(form_->FindComponent("Isento"));
    abrir_ = static_cast<fw::TMenuItem*>(form_->FindComponent("Abrir"));
    marcado_ = static_cast<fw::TMenuItem*>(form_->FindComponent("Marcado"));
    // Nothing under the menus' items: no entry is hot when they open.
    SetCursorPos(1000, 760);
  }

  const skin::TSkinData& SkinData() { return Data().Data(); }
  const skin::TDataSkinObject& MenuItem() { return *SkinData().MenuItem; }

  // The entry as the controller draws it into a bitmap of its own (no popup
  // window: its background is the menu colour).
  skin::TBitmap Entry(fw::TMenuItem* item, bool selected) {
    fw::TBitmap target;
    target.SetSize(kEntryWidth, kEntryHeight);
    controller_->DrawMenuItem(item, target.Canvas(), RECT{0, 0, kEntryWidth, kEntryHeight},
                              selected);
    return Crop(ViewOf(target), RECT{0, 0, kEntryWidth, kEntryHeight});
  }

  // The menu item image's frame over the menu colour: an entry without its
  // glyph and text.
  skin::TBitmap EntryBack(int frame) {
    skin::TBitmap back(kEntryWidth, kEntryHeight, skin::PixelFormat::k32Bit);
    back.Fill(fw::ColorToRGB(SkinData().MenuColour));
    skin::DrawSkinElement(back, skin::TRect{0, 0, kEntryWidth, kEntryHeight}, MenuItem().Bitmap,
                          false, MenuItem().Tile != 0, MenuItem().Trans != 0, skin::kMenuItemFrames,
                          frame, MenuItem().Margins);
    return back;
  }

  // Shows `menu`, lets `look` see its window, closes it.
  void ShowAndLook(fw::TPopupMenu* menu, const std::function<void(HWND)>& look) {
    TMenuCloser closer;
    closer.OnOpen = look;
    menu->Popup(200, 200);
    EXPECT_EQ(closer.Seen(), 1);
    test_support::PumpPending();
  }

  fw::TForm* form_ = nullptr;
  TWinSkinForm* controller_ = nullptr;
  fw::TPopupMenu* menu_ = nullptr;
  fw::TPopupMenu* exempt_ = nullptr;
  fw::TMenuItem* abrir_ = nullptr;
  fw::TMenuItem* marcado_ = nullptr;
};

// The background the skin gives a popup window of that size.
skin::TBitmap PopupBackground(const skin::TDataSkinObject& e, int w, int h) {
  return skin::BuildSkinImage(skin::TRect{0, 0, w, h}, e.Bitmap, e.Margins, false, e.Tile != 0, 1,
                              1);
}

// The frame band's four strips of a w x h window.
std::vector<RECT> Band(int w, int h) {
  constexpr int b = skin::kPopupFrameWidth;
  return {RECT{0, 0, w, b}, RECT{0, h - b, w, h}, RECT{0, 0, b, h}, RECT{w - b, 0, w, h}};
}

TEST_F(PopupMenusTest, FrameworkPopupsAreOwnerDrawnButTheExemptOne) {
  auto handlers = [](fw::TPopupMenu* menu) {
    int n = 0;
    for (int i = 0; i < menu->Items()->Count(); ++i) {
      const fw::TMenuItem* item = menu->Items()->Items(i);
      n += (item->OnDrawItem ? 1 : 0) + (item->OnMeasureItem ? 1 : 0);
    }
    return n;
  };
  EXPECT_TRUE(menu_->OwnerDraw());
  EXPECT_EQ(handlers(menu_), 6);
  EXPECT_FALSE(exempt_->OwnerDraw());
  EXPECT_EQ(handlers(exempt_), 0);
  // Skinning off: the popups are the application's again.
  controller_->Unskin();
  EXPECT_FALSE(menu_->OwnerDraw());
  EXPECT_EQ(handlers(menu_), 0);
}

TEST_F(PopupMenusTest, ThePopupWindowAndItsEntriesArePaintedFromTheSkin) {
  menu_->Handle();  // the menu's own handle lives as long as the menu
  const test_support::TLiveCounts before = test_support::Live();
  skin::TBitmap shot;
  std::vector<RECT> entries;
  HMENU learned = nullptr;
  ShowAndLook(menu_, [&](HWND wnd) {
    shot = CaptureWindow(wnd);
    RECT wr{};
    GetWindowRect(wnd, &wr);
    for (int i = 0; i < 3; ++i) {
      RECT r{};
      GetMenuItemRect(nullptr, menu_->Handle(), static_cast<UINT>(i), &r);
      OffsetRect(&r, -wr.left, -wr.top);
      entries.push_back(r);
    }
    if (skin::win::TSkinManage::Instance()->PopupBitmap(menu_->Handle()) != nullptr) {
      learned = menu_->Handle();
    }
  });
  ASSERT_FALSE(shot.Empty());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(learned, menu_->Handle()) << "the popup's skinner knows its menu";
  const skin::TBitmap back =
      PopupBackground(*SkinData().MenuBackground, shot.Width(), shot.Height());
  for (const RECT& strip : Band(shot.Width(), shot.Height()))
    EXPECT_TRUE(SamePixels(shot, strip.left, strip.top, Crop(back, strip), "popup band"));

  // An entry: the menu item image over the popup's background where the
  // entry lies, seen left of the glyph and right of the shortcut.
  const skin::TDataSkinObject& mi = MenuItem();
  const RECT first = entries[0];
  const int w = first.right - first.left;
  const int h = first.bottom - first.top;
  skin::TBitmap want = Crop(back, first);
  skin::DrawSkinElement(want, skin::TRect{0, 0, w, h}, mi.Bitmap, false, mi.Tile != 0,
                        mi.Trans != 0, skin::kMenuItemFrames, skin::kMenuItemNormalFrame,
                        mi.Margins);
  const int left = mi.Margins.Left;
  EXPECT_TRUE(SamePixels(shot, first.left, first.top, Crop(want, RECT{0, 0, left, h}),
                         "entry, left of its glyph"));
  EXPECT_TRUE(SamePixels(shot, first.right - 10, first.top, Crop(want, RECT{w - 10, 0, w, h}),
                         "entry, right of its shortcut"));

  // The separator: the image's separator frame over the background.
  const RECT line = entries[1];
  skin::TBitmap want_line = Crop(back, line);
  skin::DrawTransparentBitmap(want_line, skin::TRect{0, 0, want_line.Width(), want_line.Height()},
                              skin::BuildMenuSeparator(mi, want_line.Width(), want_line.Height()),
                              skin::kSkinTransparent);
  EXPECT_TRUE(SamePixels(shot, line.left, line.top, want_line, "separator"));

  // The popup's skinner went with its window, and took its bitmaps and its
  // window procedure along.
  EXPECT_EQ(skin::win::TSkinManage::Instance()->PopupCount(), 0);
  EXPECT_EQ(test_support::Live(), before);
}

TEST_F(PopupMenusTest, AnExemptPopupIsLeftAsTheSystemPaintsIt) {
  skin::win::TSkinManage* manager = skin::win::TSkinManage::Instance();
  skin::TBitmap native;
  manager->SetActive(false);
  ShowAndLook(exempt_, [&](HWND wnd) { native = CaptureWindow(wnd); });
  manager->SetActive(true);
  skin::TBitmap shown;
  ShowAndLook(exempt_, [&](HWND wnd) { shown = CaptureWindow(wnd); });
  ASSERT_FALSE(native.Empty());
  EXPECT_TRUE(shown.SameImage(native));
  // The same comparison tells a skinned popup apart.
  skin::TBitmap skinned;
  ShowAndLook(menu_, [&](HWND wnd) { skinned = CaptureWindow(wnd); });
  manager->SetActive(false);
  skin::TBitmap unskinned;
  ShowAndLook(menu_, [&](HWND wnd) { unskinned = CaptureWindow(wnd); });
  manager->SetActive(true);
  EXPECT_FALSE(skinned.SameImage(unskinned));
}

TEST_F(PopupMenusTest, PrintingThePopupPutsTheSkinUnderItsEntries) {
  skin::TBitmap printed;
  int clip_after = -1;
  ShowAndLook(menu_, [&](HWND wnd) {
    RECT wr{};
    GetWindowRect(wnd, &wr);
    fw::TBitmap target;
    target.SetSize(wr.right - wr.left, wr.bottom - wr.top);
    HDC dc = target.Canvas()->Handle();
    SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT);
    fw::TGdiHandle<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
    clip_after = GetClipRgn(dc, clip.get());
    printed = Crop(ViewOf(target), RECT{0, 0, target.Width(), target.Height()});
  });
  ASSERT_FALSE(printed.Empty());
  const skin::TBitmap back =
      PopupBackground(*SkinData().MenuBackground, printed.Width(), printed.Height());
  for (const RECT& strip : Band(printed.Width(), printed.Height()))
    EXPECT_TRUE(SamePixels(printed, strip.left, strip.top, Crop(back, strip), "printed band"));
  EXPECT_EQ(clip_after, 0) << "the DC's clipping is given back";
}

TEST_F(PopupMenusTest, EntriesShowTheirStateFrameCheckMarkAndGlyph) {
  const skin::TDataSkinObject& mi = MenuItem();
  const RECT left_strip{0, 0, mi.Margins.Left, kEntryHeight};
  // Normal and selected entries: frames 1 and 4 of the menu item image.
  for (bool selected : {false, true}) {
    const int frame = selected ? skin::kMenuItemSelectedFrame : skin::kMenuItemNormalFrame;
    EXPECT_TRUE(SamePixels(Entry(abrir_, selected), 0, 0, Crop(EntryBack(frame), left_strip),
                           selected ? "selected entry" : "entry"));
  }

  // A checked entry without an image: the system's check mark, in the text
  // colour, centred in the 16 x 16 glyph cell and moved 1 pixel right and down.
  const RECT cell{1 + mi.Margins.Left, 1, 1 + mi.Margins.Left + 16, 17};
  fw::TGdiHandle<HBITMAP> check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(32760)));
  fw::TBitmap mark;
  mark.LoadFromHandle(check.get());
  skin::TBitmap want = EntryBack(skin::kMenuItemNormalFrame);
  const int x0 = cell.left + (16 - mark.Width()) / 2 + 1;
  const int y0 = cell.top + (16 - mark.Height()) / 2 + 1;
  const skin::TBitmapView mark_view = ViewOf(mark);
  for (int y = 0; y < mark.Height(); ++y) {
    for (int x = 0; x < mark.Width(); ++x) {
      if (mark_view.Pixel(x, y) == 0)
        want.SetPixel(x0 + x, y0 + y, fw::ColorToRGB(SkinData().MenuTextColour));
    }
  }
  EXPECT_TRUE(
      SamePixels(Entry(marcado_, false), cell.left, cell.top, Crop(want, cell), "check mark"));

  // The system menu's glyphs, left or right as the window reads.
  fw::TMenuItem* close = controller_->SystemMenu->Items()->Items(4);
  ASSERT_EQ(close->Tag(), 3);
  const skin::TPixels& glyph = SkinData().MenuImages[3];
  for (bool rtl : {false, true}) {
    controller_->RightToLeft = rtl;
    const RECT at =
        rtl ? RECT{kEntryWidth - 1 - mi.Margins.Left - 16, 1, kEntryWidth - 1 - mi.Margins.Left, 17}
            : cell;
    close->SetImageIndex(-1);
    skin::TBitmap want_glyph = Entry(close, false);
    close->SetImageIndex(3);
    const skin::TBitmap with_glyph = Entry(close, false);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        if (glyph.Pixel(x, y) == 0) want_glyph.SetPixel(at.left + x, at.top + y, 0);
      }
    }
    EXPECT_TRUE(SamePixels(with_glyph, 0, 0, want_glyph, rtl ? "glyph right to left" : "glyph"));
  }
  controller_->RightToLeft = false;
}

TEST_F(PopupMenusTest, TheSkinWidensEntriesForItsGlyphColumn) {
  auto measure = [&](fw::TMenuItem* item) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = item->Command();
    mis.itemData = reinterpret_cast<ULONG_PTR>(item);
    SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return static_cast<int>(mis.itemWidth);
  };
  auto plain = [&](fw::TMenuItem* item) {
    fw::TMenuMeasureItemEvent handler = item->OnMeasureItem;
    item->OnMeasureItem = nullptr;
    const int w = measure(item);
    item->OnMeasureItem = handler;
    return w;
  };
  const int margin = MenuItem().Margins.Left;
  // A popup entry: 35 more without images, 12 more with 16-pixel images.
  EXPECT_EQ(measure(abrir_) - plain(abrir_), margin + 35);
  menu_->SetImages(Data().MenuImages());
  EXPECT_EQ(measure(abrir_) - plain(abrir_), margin + 12);
  menu_->SetImages(nullptr);

  // A drop-down entry of a menu bar measures itself first, without the
  // skin's handler (which may be the very one asking), then 35 more (10
  // with images); its handler is in place afterwards.
  const int own = plain(abrir_);
  abrir_->OnMeasureItem = [this](fw::TObject* s, fw::TCanvas* c, int& w, int& h) {
    controller_->MeasureMenuItem(s, c, w, h);
  };
  EXPECT_EQ(measure(abrir_), own + margin + 35);
  EXPECT_TRUE(abrir_->OnMeasureItem);
  menu_->SetImages(Data().MenuImages());
  EXPECT_EQ(measure(abrir_), own + margin + 10);
  menu_->SetImages(nullptr);
}

class NativeMenuEntriesTest : public SkinnedWindowTest {};

TEST_F(NativeMenuEntriesTest, ARawWindowsEntriesAreMeasuredAndDrawnFromTheirMenu) {
  constexpr UINT kNovo = 5000, kLinha = 5001, kSair = 5002;
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, kNovo, L"&Novo");
  AppendMenuW(sub, MF_SEPARATOR, kLinha, nullptr);
  AppendMenuW(sub, MF_STRING | MF_GRAYED | MF_CHECKED, kSair, L"Sair");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Arquivo");
  HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  SetMenu(wnd, bar);
  TWinSkinForm* c = Skin(wnd);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->MainMenuHandle, bar);
  c->OpenSubmenu = sub;  // the drop-down the menu band opened
  const skin::TSkinData& data = Data().Data();
  const int margin = data.MenuItem->Margins.Left;

  // Measured by their text in the menu font.
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  fw::TGdiHandle<HFONT> font(CreateFontIndirectW(&ncm.lfMenuFont));
  SIZE novo{};
  {
    fw::TClientDC dc(nullptr);
    fw::TSelectObject selected(dc.Get(), font.get());
    GetTextExtentPoint32W(dc.Get(), L"&Novo", 5, &novo);
  }
  const struct {
    UINT id;
    UINT width, height;
  } sizes[] = {{kNovo, static_cast<UINT>(novo.cx + 26 + margin), 23},
               {kLinha, static_cast<UINT>(26 + margin), 8}};
  for (const auto& k : sizes) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = k.id;
    mis.itemHeight = 19;
    EXPECT_EQ(SendMessageW(wnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
    EXPECT_EQ(mis.itemWidth, k.width) << k.id;
    EXPECT_EQ(mis.itemHeight, k.height) << k.id;
  }

  // Drawn from what the menu says: a disabled, checked entry's mark in the
  // disabled colour; a separator's etched line 4 pixels down.
  auto draw = [&](UINT id) {
    fw::TBitmap target;
    target.SetSize(kEntryWidth, kEntryHeight);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = id;
    dis.hwndItem = reinterpret_cast<HWND>(sub);
    dis.hDC = target.Canvas()->Handle();
    dis.rcItem = RECT{0, 0, kEntryWidth, kEntryHeight};
    EXPECT_EQ(SendMessageW(wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
    return Crop(ViewOf(target), RECT{0, 0, kEntryWidth, kEntryHeight});
  };
  const COLORREF disabled = data.ButtonShadowColour == data.MenuTextColour
                                ? GetSysColor(COLOR_BTNSHADOW)
                                : fw::ColorToRGB(data.ButtonShadowColour);
  const skin::TBitmap sair = draw(kSair);
  const RECT cell{1 + margin, 1, 1 + margin + 16, 17};
  int marked = 0;
  for (int y = cell.top; y < cell.bottom; ++y) {
    for (int x = cell.left; x < cell.right; ++x)
      marked += sair.Pixel(x, y) == disabled ? 1 : 0;
  }
  EXPECT_GT(marked, 10) << "a check mark in the disabled colour";
  const skin::TBitmap line = draw(kLinha);
  EXPECT_EQ(line.Pixel(cell.right + 10, 4), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(line.Pixel(cell.right + 10, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
  SetMenu(wnd, nullptr);
  DestroyMenu(bar);
}

// A right-to-left drop-down opened with Alt+letter: a framework form laid
// out right to left, and a raw window whose native menu reads right to left.
// The skin draws every entry mirrored (the glyph column at the right, the
// caption right-aligned against it, the shortcut at the left edge, a
// sub-menu's arrow at the left pointing left), with nothing of the system's
// painting over it, and the menu keeps its right-to-left marks afterwards.
class RightToLeftDropDownTest : public SkinnedWindowTest {
 protected:
  // What the drop-down showed: its window's picture and place, its entries'
  // rectangles in it and whether each was highlighted.
  struct TShown {
    skin::TBitmap Shot;
    RECT Window{};
    std::vector<RECT> Entries;
    std::vector<bool> Hilited;
  };

  // Alt+`key` on the skinned window, through the application's message
  // loop; the drop-down `menu` is looked at from inside its loop, then closed.
  TShown Open(WORD key, HMENU menu) {
    TShown shown;
    SetCursorPos(1000, 760);  // nothing under the drop-down: no entry is hot
    TMenuCloser closer;
    closer.OnOpen = [&](HWND wnd) {
      shown.Shot = skin::win::fixtures::CaptureWindow(wnd);
      GetWindowRect(wnd, &shown.Window);
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        RECT r{};
        GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
        OffsetRect(&r, -shown.Window.left, -shown.Window.top);
        shown.Entries.push_back(r);
        shown.Hilited.push_back(
            (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0);
      }
    };
    ui::Key(key, VK_MENU);
    const DWORD start = GetTickCount();
    while (closer.Seen() == 0 && GetTickCount() - start < 3000) {
      app_->ProcessMessages();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    test_support::PumpUntil([&] { return FindWindowW(L"#32768", nullptr) == nullptr; }, 1000);
    return shown;
  }

  // Entry `i` as the skin paints it before its content: the menu item image
  // (highlighted or not) over the popup's background.
  skin::TBitmap EntryBack(const TShown& shown, size_t i) {
    const skin::TSkinData& d = Data().Data();
    const skin::TBitmap back =
        PopupBackground(*d.MenuBackground, shown.Shot.Width(), shown.Shot.Height());
    const RECT r = shown.Entries[i];
    skin::TBitmap want = Crop(back, r);
    const skin::TDataSkinObject& mi = *d.MenuItem;
    skin::DrawSkinElement(
        want, skin::TRect{0, 0, want.Width(), want.Height()}, mi.Bitmap, false, mi.Tile != 0,
        mi.Trans != 0, skin::kMenuItemFrames,
        shown.Hilited[i] ? skin::kMenuItemSelectedFrame : skin::kMenuItemNormalFrame, mi.Margins);
    return want;
  }

  // The columns of entry `i` (entry coordinates) where its content put
  // anything over the skin, each with the rows it covers.
  std::vector<std::vector<int>> Ink(const TShown& shown, size_t i) {
    const skin::TBitmap want = EntryBack(shown, i);
    const RECT r = shown.Entries[i];
    std::vector<std::vector<int>> columns(static_cast<size_t>(want.Width()));
    for (int x = 0; x < want.Width(); ++x) {
      for (int y = 0; y < want.Height(); ++y) {
        if (shown.Shot.Pixel(r.left + x, r.top + y) != want.Pixel(x, y)) {
          columns[static_cast<size_t>(x)].push_back(y);
        }
      }
    }
    return columns;
  }

  static int Width(const std::wstring& text) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    fw::TGdiHandle<HFONT> font(CreateFontIndirectW(&ncm.lfMenuFont));
    fw::TClientDC dc(nullptr);
    fw::TSelectObject selected(dc.Get(), font.get());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
  }

  // Every check of a mirrored entry: `caption` right-aligned 3 pixels left
  // of the 16-pixel glyph cell that ends 1 pixel (plus the item's left
  // margin) inside the right edge, the skin's own pixels right of the cell,
  // and what each kind of entry adds: a check mark in the cell, a shortcut
  // from 11 pixels inside the left edge, a sub-menu arrow pointing left.
  enum TKind { kPlain, kChecked, kShortCut, kSubMenu };
  void ExpectMirrored(const TShown& shown, size_t i, const std::wstring& caption, TKind kind) {
    SCOPED_TRACE(caption);
    ASSERT_LT(i, shown.Entries.size());
    const int margin = Data().Data().MenuItem->Margins.Left;
    const RECT r = shown.Entries[i];
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int cell_right = w - 1 - margin;
    const int cell_left = cell_right - 16;
    const skin::TBitmap want = EntryBack(shown, i);
    EXPECT_TRUE(SamePixels(shown.Shot, r.left + cell_right, r.top,
                           Crop(want, RECT{cell_right, 0, w, h}), "right of the glyph cell"));
    const std::vector<std::vector<int>> ink = Ink(shown, i);
    auto inked = [&](int from, int to) {  // the inked columns in [from, to)
      std::vector<int> xs;
      for (int x = std::max(from, 0); x < std::min(to, w); ++x)
        if (!ink[static_cast<size_t>(x)].empty()) xs.push_back(x);
      return xs;
    };
    // The caption: its measured width ends 3 pixels left of the cell (the
    // font's glyphs may stop short of their advance).
    const int caption_right = cell_left - 3;
    const int caption_left = caption_right - Width(caption);
    const std::vector<int> text = inked(caption_left, caption_right);
    ASSERT_FALSE(text.empty()) << "no caption";
    EXPECT_LE(text.front(), caption_left + 2) << "the caption is right-aligned against the cell";
    EXPECT_TRUE(inked(caption_right, cell_left).empty()) << "gap between caption and cell";
    const std::vector<int> mark = inked(cell_left, cell_right);
    if (kind == kChecked) {
      EXPECT_GE(mark.size(), 5u) << "a check mark in the cell at the right";
    } else {
      EXPECT_TRUE(mark.empty()) << "nothing in the glyph cell";
    }
    // Left of the caption: the shortcut from x = 11, the arrow's 4 columns
    // from x = 4 (its tip one pixel in the middle row, its base 7 rows), or
    // nothing at all (no check mark or arrow of the system's).
    const std::vector<int> left = inked(0, caption_left);
    if (kind == kShortCut) {
      ASSERT_FALSE(left.empty()) << "no shortcut";
      EXPECT_GE(left.front(), 11);
      EXPECT_LE(left.front(), 13);
    } else if (kind == kSubMenu) {
      EXPECT_EQ(left, (std::vector<int>{4, 5, 6, 7}));
      if (left.size() == 4) {
        const int middle = (h - skin::kMenuArrowHeight) / 2 + skin::kMenuArrowHeight / 2;
        EXPECT_EQ(ink[4], (std::vector<int>{middle}));
        EXPECT_EQ(ink[7].size(), 7u);
        EXPECT_EQ(ink[7].front(), middle - 3);
      }
    } else {
      EXPECT_TRUE(left.empty()) << "ink left of the caption at x = " << left.front();
    }
  }

  static bool ReadsRightToLeft(HMENU menu, int i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii) &&
           (mii.fType & MFT_RIGHTORDER) != 0;
  }
};

TEST_F(RightToLeftDropDownTest, AFrameworkFormsDropDownIsMirroredBelowItsItem) {
  fw::TForm* form = CreateForm(skin::win::fixtures::FormDescription(R"(  BiDiMode = bdRightToLeft
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Arquivo: TMenuItem
      Caption = '&Arquivo'
      object Abrir: TMenuItem
        Caption = '&Abrir'
        ShortCut = 16449
      end
      object Marcado: TMenuItem
        Caption = 'Marcado'
        Checked = True
      end
      object Linha: TMenuItem
        Caption = '-'
      end
      object Recentes: TMenuItem
        Caption = '&Recentes'
        object Recente1: TMenuItem
          Caption = 'Planilha1.xlsx'
        end
      end
    end
  end
)"));
  TWinSkinForm* c = Skin(form->Handle());
  ASSERT_NE(c, nullptr);
  ASSERT_NE(c->MenuBarSkinner, nullptr);
  ASSERT_TRUE(c->MenuBarSkinner->RightToLeft);
  const skin::win::TMenuBtn& item = *c->MenuBarSkinner->Items[0];
  HMENU menu = static_cast<fw::TMenuItem*>(form->FindComponent("Arquivo"))->Handle();
  ASSERT_TRUE(ReadsRightToLeft(menu, 0));

  const TShown shown = Open('A', menu);
  ASSERT_FALSE(shown.Shot.Empty()) << "no drop-down";
  ASSERT_EQ(shown.Entries.size(), 4u);
  // Below the item, its right edge under the item's.
  RECT wr{};
  GetWindowRect(form->Handle(), &wr);
  EXPECT_EQ(shown.Window.right, wr.left + item.Rect.right);
  EXPECT_EQ(shown.Window.top, wr.top + item.Rect.bottom);

  ExpectMirrored(shown, 0, L"&Abrir", kShortCut);
  ExpectMirrored(shown, 1, L"Marcado", kChecked);
  ExpectMirrored(shown, 3, L"&Recentes", kSubMenu);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(ReadsRightToLeft(menu, i)) << "entry " << i << " keeps its mark";
}

TEST_F(RightToLeftDropDownTest, ARawWindowsRightToLeftMenuIsMirrored) {
  // A left-to-right window whose menu reads right to left.
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  HMENU nested = CreatePopupMenu();
  AppendMenuW(nested, MF_STRING, 5003, L"Planilha1.xlsx");
  AppendMenuW(sub, MF_STRING | MF_CHECKED, 5001, L"Marcado");
  AppendMenuW(sub, MF_STRING, 5002, L"Normal");
  AppendMenuW(sub, MF_POPUP, reinterpret_cast<UINT_PTR>(nested), L"&Recentes");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Arquivo");
  for (HMENU m : {bar, sub}) {
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &mii);
      mii.fType |= MFT_RIGHTORDER;
      SetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &mii);
    }
  }
  HWND wnd = CreateRawWindow(WS_OVERLAPPEDWINDOW);
  SetMenu(wnd, bar);
  TWinSkinForm* c = Skin(wnd);
  ASSERT_NE(c, nullptr);
  ASSERT_FALSE(c->RightToLeft);
  ASSERT_NE(c->MenuBarSkinner, nullptr);
  ASSERT_TRUE(c->MenuBarSkinner->RightToLeft);

  const TShown shown = Open('A', sub);
  ASSERT_FALSE(shown.Shot.Empty()) << "no drop-down";
  ASSERT_EQ(shown.Entries.size(), 3u);
  ExpectMirrored(shown, 0, L"Marcado", kChecked);
  ExpectMirrored(shown, 1, L"Normal", kPlain);
  ExpectMirrored(shown, 2, L"&Recentes", kSubMenu);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(ReadsRightToLeft(sub, i)) << "entry " << i << " keeps its mark";
  SetMenu(wnd, nullptr);
  DestroyMenu(bar);
}

}  // namespace
}  // namespace skin_test
