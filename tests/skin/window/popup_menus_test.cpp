// Popup menus of skinned windows under Wine: framework popups made
// owner-drawn (one with the exemption tag left alone), the popup window's
// frame band and entries painted from the skin, the entries' frames,
// glyphs and check marks, the widths the skin adds, native entries of a raw
// window's menu, and the print path.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/dc.h"
#include "framework/menus.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/menu_item_layout.h"
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

}  // namespace
}  // namespace skin_test
