#include "framework/TypInfo.h"

#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/Exception.h"
#include "framework/Graphics.h"

namespace {

TEST(PropertyTableTest, LookupIgnoresCaseAndReadsThroughTheEntry) {
  TComponent component(nullptr);
  SetOrdProp(component, GetPropInfo(component, "tag"), 42);
  EXPECT_EQ(component.Tag(), 42);
  SetStrProp(component, GetPropInfo(component, "NAME"), "Timer1");
  EXPECT_EQ(GetStrProp(component, GetPropInfo(component, "Name")), "Timer1");
  EXPECT_THROW(GetPropInfo(component, "Caption"), EPropertyError);
  // A kind that does not match the entry is refused, not misread.
  EXPECT_THROW(GetStrProp(component, GetPropInfo(component, "Tag")), EPropertyError);
}

TEST(PropertyTableTest, SetsTravelAsBitMasks) {
  TFont font;
  const TPropInfo& style = GetPropInfo(font, "Style");
  EXPECT_EQ(style.Kind(), TTypeKind::Set);
  SetOrdProp(font, style, (1 << fsBold) | (1 << fsItalic));
  EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(GetOrdProp(font, style), 3);
}

TEST(EnumNamesTest, NamesAndValuesWithoutRegardToCase) {
  EXPECT_EQ(GetEnumName(kBooleanType, 1), "True");
  EXPECT_EQ(GetEnumValue(kBooleanType, "true"), 1);
  EXPECT_EQ(GetEnumValue(kFontPitchType, "FPFIXED"), 2);
  EXPECT_FALSE(GetEnumValue(kBooleanType, "1").has_value());
  EXPECT_EQ(GetEnumName(kFontStylesType, 3), "fsStrikeOut");
}

}  // namespace
