// The text helpers the skin painters draw through.
#include <gtest/gtest.h>

#include <string>

#include "framework/graphics.h"
#include "skin/data/win/skin_text.h"

namespace skin::win {
namespace {

TEST(SkinText, ConversionsAndCopies) {
  EXPECT_TRUE(IsWinNT());
  EXPECT_GE(WinVersion(), 0);
  const std::wstring text = L"A\u00e7\u00e3o";  // Ação: in every Western code page
  EXPECT_EQ(AnsiToWide(WideToAnsi(text)), text);
  EXPECT_EQ(WideToAnsi(text).size(), 4u);
  EXPECT_EQ(AnsiToWide(""), L"");
  struct TCase {
    const wchar_t* text;
    int count;
    const wchar_t* expected;
  } cases[] = {{L"abcdef", 3, L"abc"},
               {L"abcdef", -1, L"abcdef"},
               {L"abc", 10, L"abc"},  // stops at the terminating zero
               {L"abc", 0, L""},
               {nullptr, 5, L""}};
  for (const auto& c : cases)
    EXPECT_EQ(WideCopy(c.text, c.count), c.expected) << c.count;
}

TEST(SkinText, DrawsAsDrawTextDoes) {
  const std::wstring text = L"Efetuar Atualiza\u00e7\u00e3o";
  fw::TBitmap a;
  fw::TBitmap b;
  for (fw::TBitmap* bmp : {&a, &b}) {
    bmp->SetSize(200, 30);
    RECT all{0, 0, 200, 30};
    bmp->Canvas()->Brush()->SetColor(fw::clWhite);
    bmp->Canvas()->FillRect(all);
  }
  RECT ra{2, 2, 198, 28};
  RECT rb = ra;
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
  int ha = SkinDrawText(a.Canvas()->Handle(), text, ra, format);
  int hb =
      DrawTextW(b.Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &rb, format);
  EXPECT_EQ(ha, hb);
  GdiFlush();
  EXPECT_EQ(0, memcmp(a.Pixels(), b.Pixels(), 200 * 30 * 4));
  RECT calc{0, 0, 0, 0};
  SkinDrawText(a.Canvas()->Handle(), text, calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(calc.right, 0);  // the rectangle comes back
}

}  // namespace
}  // namespace skin::win
