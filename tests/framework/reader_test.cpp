// The stored description reader: objects in stored order, every value kind,
// events bound to the root's published methods, and clear errors with the
// line of the fault.
#include "framework/reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace fw {
namespace {

std::vector<std::string>* g_loaded = nullptr;

class TFontLike : public TPersistent {
 public:
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TFontLike>("TFontLike", TPersistent::StaticClassInfo())
            .Str("Name", &TFontLike::Name, &TFontLike::SetName)
            .Set("Style", {"fsBold", "fsItalic"}, &TFontLike::Style, &TFontLike::SetStyle)
            .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  using ThisClass = TFontLike;
  std::wstring Name() const { return name; }
  void SetName(const std::wstring& v) { name = v; }
  uint32_t Style() const { return style; }
  void SetStyle(uint32_t v) { style = v; }
  std::wstring name;
  uint32_t style = 0;
};

enum TKind { kA, kB };

class TItem : public TComponent {
 public:
  using TComponent::TComponent;
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TItem>("TItem", TComponent::StaticClassInfo())
            .Int("Left", &TItem::Left, &TItem::SetLeft)
            .Int("Color", &TItem::Color, &TItem::SetColor)
            .Str("Caption", &TItem::Caption, &TItem::SetCaption)
            .Enum("Kind", {"kA", "kB"}, &TItem::Kind, &TItem::SetKind)
            .Obj("Font", &TItem::Font)
            .Obj("Buddy", &TItem::Buddy, &TItem::SetBuddy)
            .Event<void(TObject*)>("OnClick", &TItem::OnClick)
            .Event<void(TObject*, wchar_t&)>("OnKeyPress", &TItem::OnKeyPress)
            .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  using ThisClass = TItem;
  void SetParentComponent(TComponent* p) override { parent = p; }
  void Loaded() override {
    TComponent::Loaded();
    if (g_loaded) {
      std::string buddy = buddy_ ? static_cast<TItem*>(buddy_)->Name() : "-";
      g_loaded->push_back(Name() + "/" + buddy);
    }
  }

  int64_t Left() const { return left; }
  void SetLeft(int64_t v) { left = v; }
  uint32_t Color() const { return color; }
  void SetColor(uint32_t v) { color = v; }
  std::wstring Caption() const { return caption; }
  void SetCaption(const std::wstring& v) { caption = v; }
  TKind Kind() const { return kind; }
  void SetKind(TKind v) { kind = v; }
  TObject* Font() { return &font; }
  TObject* Buddy() { return buddy_; }
  void SetBuddy(TObject* v) { buddy_ = v; }

  int64_t left = 0;
  uint32_t color = 0;
  std::wstring caption;
  TKind kind = kA;
  TFontLike font;
  TObject* buddy_ = nullptr;
  TComponent* parent = nullptr;
  std::function<void(TObject*)> OnClick;
  std::function<void(TObject*, wchar_t&)> OnKeyPress;
};

class TRoot : public TComponent {
 public:
  TRoot() : TComponent(nullptr) {}
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TRoot>("TRoot", TComponent::StaticClassInfo())
                                       .Method("ItemClick", &TRoot::ItemClick)
                                       .Method("ItemKeyPress", &TRoot::ItemKeyPress)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  using ThisClass = TRoot;
  void ItemClick(TObject* sender) { clicked = sender; }
  void ItemKeyPress(TObject*, wchar_t& key) { key = 0; }
  TObject* clicked = nullptr;
};

class ReaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterComponentClass<TItem>();
    RegisterIntegerConstant("clBtnHighlight", 0xFF000014);
  }
  void SetUp() override { g_loaded = &loaded; }
  void TearDown() override { g_loaded = nullptr; }
  std::vector<std::string> loaded;
};

TEST_F(ReaderTest, CreatesObjectsInStoredOrderWithEveryValueKind) {
  TRoot root;
  ReadComponent(root, R"(object Main: TRoot
  Tag = 99
  object First: TItem
    Left = -12
    Color = clBtnHighlight
    Caption = 'it''s '#13#10'Atualização'
    Kind = kB
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold, fsItalic]
    Buddy = Second  // read later: resolved when the whole text has been read
    OnClick = ItemClick
    object Inner: TItem
      Left = $1F
      OnKeyPress = ItemKeyPress
    end
  end
  object Second: TItem
    Caption = ('one' 'two')
  end
end
)");
  EXPECT_EQ(root.Name(), "Main");
  EXPECT_EQ(root.Tag(), 99);
  ASSERT_EQ(root.ComponentCount(), 3);
  auto* first = static_cast<TItem*>(root.Components(0));
  auto* inner = static_cast<TItem*>(root.Components(1));
  auto* second = static_cast<TItem*>(root.Components(2));
  EXPECT_EQ(first->Name(), "First");
  EXPECT_EQ(inner->Name(), "Inner");
  EXPECT_EQ(second->Name(), "Second");
  EXPECT_EQ(first->parent, &root);
  EXPECT_EQ(inner->parent, first);
  EXPECT_EQ(first->left, -12);
  EXPECT_EQ(first->color, 0xFF000014u);
  EXPECT_EQ(first->caption, L"it's \r\nAtualiza\u00e7\u00e3o");
  EXPECT_EQ(first->kind, kB);
  EXPECT_EQ(first->font.name, L"MS Sans Serif");
  EXPECT_EQ(first->font.style, 3u);
  EXPECT_EQ(inner->left, 31);
  EXPECT_EQ(second->caption, L"one\r\ntwo");
  ASSERT_TRUE(first->OnClick);
  first->OnClick(first);
  EXPECT_EQ(root.clicked, first);
  wchar_t key = L'a';
  inner->OnKeyPress(inner, key);
  EXPECT_EQ(key, 0);
  EXPECT_FALSE(first->IsLoading());
  // Loaded runs for every component after all were read, in stored order.
  EXPECT_EQ(loaded, (std::vector<std::string>{"First/Second", "Inner/-", "Second/-"}));
}

TEST_F(ReaderTest, ErrorsNameTheLineAndTheFault) {
  struct TCase {
    const char* text;
    const char* expected;
  } cases[] = {
      {"object M: TOther\nend", "Line 1: the description is of TOther, not TRoot"},
      {"object M: TRoot\n  object A: TNoSuch\n  end\nend", "Line 2: class TNoSuch not found"},
      {"object M: TRoot\n  object A: TItem\n    Width = 3\n  end\nend",
       "Line 3: A: property Width does not exist"},
      {"object M: TRoot\n  object A: TItem\n    Kind = kC\n  end\nend",
       "Line 3: invalid value for Kind: kC"},
      {"object M: TRoot\n  object A: TItem\n    Left = 'x'\n  end\nend",
       "Line 3: invalid value for Left: integer expected"},
      {"object M: TRoot\n  object A: TItem\n    Caption = 'open\n  end\nend",
       "Line 3: unterminated text"},
      {"object M: TRoot\n  object A: TItem\n    OnClick = Nope\n  end\nend",
       "Line 3: invalid value for OnClick: method Nope not found in TRoot"},
      {"object M: TRoot\n  object A: TItem\n    OnClick = ItemKeyPress\n  end\nend",
       "Line 3: invalid value for OnClick: method ItemKeyPress has another signature"},
      {"object M: TRoot\n  object A: TItem\n  end\n  object a: TItem\n  end\nend",
       "A component named a already exists"},
      {"object M: TRoot\n  object A: TItem\n", "Line 3: 'end' expected"},
      {"object M: TRoot\n  Left = 1\nend", "Line 2: M: property Left does not exist"},
      {"object M: TRoot\nend\nend", "Line 3: text after the last 'end'"},
      {"object M: TRoot\n  object A: TItem\n    Buddy = Nobody\n  end\nend",
       "Line 3: invalid value for Buddy: Nobody"},
  };
  for (const auto& c : cases) {
    TRoot root;
    try {
      ReadComponent(root, c.text);
      ADD_FAILURE() << "no error for:\n" << c.text;
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), c.expected) << c.text;
    }
  }
}

}  // namespace
}  // namespace fw
