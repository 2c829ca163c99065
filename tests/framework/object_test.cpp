// Published properties by name: one accessor serves every class that
// publishes a property of that name; missing properties and null instances
// are harmless.
#include "framework/object.h"

#include <gtest/gtest.h>

#include "framework/component.h"

namespace fw {
namespace {

enum TLayout { blGlyphLeft, blGlyphRight };

class TSample : public TComponent {
 public:
  using TComponent::TComponent;
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSample>("TSample", TComponent::StaticClassInfo())
            .Int("Margin", &TSample::Margin, &TSample::SetMargin)
            .Enum("Layout", {"blGlyphLeft", "blGlyphRight"}, &TSample::Layout, &TSample::SetLayout)
            .Bool("Flat", &TSample::Flat, &TSample::SetFlat)
            .Str("Caption", &TSample::Caption, &TSample::SetCaption)
            .Obj("Buddy", &TSample::Buddy)
            .Set("Options", {"a", "b", "c"}, &TSample::Options, &TSample::SetOptions)
            .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  using ThisClass = TSample;

  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t v) { margin_ = v; }
  TLayout Layout() const { return layout_; }
  void SetLayout(TLayout v) { layout_ = v; }
  bool Flat() const { return flat_; }
  void SetFlat(bool v) { flat_ = v; }
  std::wstring Caption() const { return caption_; }
  void SetCaption(const std::wstring& v) { caption_ = v; }
  TObject* Buddy() { return buddy_; }
  uint32_t Options() const { return options_; }
  void SetOptions(uint32_t v) { options_ = v; }

  TObject* buddy_ = nullptr;

 private:
  int32_t margin_ = -1;
  TLayout layout_ = blGlyphLeft;
  bool flat_ = false;
  std::wstring caption_ = L"x";
  uint32_t options_ = 0;
};

// A class unrelated to TSample that publishes a property of the same name.
class TOther : public TComponent {
 public:
  using TComponent::TComponent;
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TOther>("TOther", TComponent::StaticClassInfo())
                                       .Bool("Flat", &TOther::Flat, &TOther::SetFlat)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  using ThisClass = TOther;
  bool Flat() const { return flat_; }
  void SetFlat(bool v) { flat_ = v; }

 private:
  bool flat_ = false;
};

TEST(PublishedProperties, ReadAndWriteEveryKindByName) {
  TSample s(nullptr);
  TSample buddy(nullptr);
  s.buddy_ = &buddy;
  EXPECT_EQ(GetIntProp(&s, "Margin"), -1);
  EXPECT_TRUE(SetPropByName(&s, "margin", "12"));
  EXPECT_EQ(s.Margin(), 12);
  EXPECT_EQ(GetEnumName(&s, "Layout"), "blGlyphLeft");
  EXPECT_TRUE(SetPropByName(&s, "Layout", "BLGLYPHRIGHT"));  // letter case ignored
  EXPECT_EQ(s.Layout(), blGlyphRight);
  EXPECT_TRUE(SetPropByName(&s, "Flat", "True"));
  EXPECT_EQ(GetEnumName(&s, "Flat"), "True");
  EXPECT_EQ(GetTextProp(&s, "Caption"), L"x");
  EXPECT_EQ(GetObjectProp(&s, "Buddy"), &buddy);
  EXPECT_EQ(GetObjectProp(&s, "Buddy", &TOther::StaticClassInfo()), nullptr);  // wrong class
  EXPECT_EQ(GetIntProp(&s, "Tag"), 0);  // inherited from TComponent
  EXPECT_TRUE(SetIntProp(&s, "Tag", 99));
  EXPECT_EQ(s.Tag(), 99);
  EXPECT_EQ(GetTextProp(&s, "Name"), L"");
}

TEST(PublishedProperties, MissingPropertiesNullInstancesAndBadValuesAreHarmless) {
  TSample s(nullptr);
  struct TCase {
    const char* name;
    const char* value;
  } cases[] = {{"NoSuch", "1"},          {"Margin", "12x"}, {"Margin", ""},
               {"Layout", "blGlyphTop"}, {"Caption", "y"},  {"Options", "a"}};
  for (const auto& c : cases) {
    EXPECT_FALSE(SetPropByName(&s, c.name, c.value)) << c.name << "=" << c.value;
  }
  EXPECT_EQ(s.Margin(), -1);
  EXPECT_EQ(s.Layout(), blGlyphLeft);
  EXPECT_EQ(GetIntProp(nullptr, "Margin"), 0);
  EXPECT_EQ(GetEnumName(nullptr, "Layout"), "");
  EXPECT_EQ(GetTextProp(nullptr, "Caption"), L"");
  EXPECT_EQ(GetObjectProp(nullptr, "Buddy"), nullptr);
  EXPECT_FALSE(SetPropByName(nullptr, "Margin", "1"));
  EXPECT_EQ(GetIntProp(&s, "Layout"), 0);    // an enumeration is not an integer
  EXPECT_EQ(GetEnumName(&s, "Margin"), "");  // nor the other way round
  EXPECT_EQ(GetTextProp(&s, "Margin"), L"");
}

TEST(PublishedProperties, OneNameServesUnrelatedClasses) {
  TSample a(nullptr);
  TOther b(nullptr);
  for (TObject* o : {static_cast<TObject*>(&a), static_cast<TObject*>(&b)}) {
    EXPECT_TRUE(SetPropByName(o, "Flat", "true")) << o->ClassName();
    EXPECT_EQ(GetEnumName(o, "Flat"), "True");
  }
  EXPECT_TRUE(a.InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_FALSE(a.InheritsFrom(TOther::StaticClassInfo()));
  EXPECT_EQ(b.ClassName(), "TOther");
}

}  // namespace
}  // namespace fw
