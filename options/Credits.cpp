#include "options/Credits.h"

#include <algorithm>

#include "framework/JpegImage.h"
#include "options/Links.h"
#include "tamik_options_embedded.h"

namespace {

// The names end where the column of their sites starts.
constexpr int kNameWidth = 102;

}  // namespace

const TClassInfo& TCredit::StaticClassInfo() {
  static const TClassInfo info("TCredit", &TForm::StaticClassInfo(), {});
  return info;
}

TCredit::TCredit(TComponent* owner) : TForm(owner) {
  SetName("Credit");
  SetCaption("--==[ Credits ]==-------");
  SetBorderStyle(bsToolWindow);
  SetBounds(619, 108, 0, 0);
  SetClientSize(320, 239);
  SetColor(clBtnFace);

  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetBounds(0, 0, 321, 241);
  Image1->SetParent(this);
  Image1->SetPicture(DecodeJpeg({art::kCreditsJpeg, art::kCreditsJpegSize}));

  Label4 = MakeLink("Label4", 1, 0, links::kEmailText, links::kEmail, clWhite, true);
  Label3 = MakeLink("Label3", 184, 224, links::kWebSiteText, links::kWebSite, clWhite, true);
  SpeedButton1 = new TSpeedButton(this);
  SpeedButton1->SetName("SpeedButton1");
  SpeedButton1->SetBounds(1, 213, 24, 24);
  SpeedButton1->SetCaption("?");
  SpeedButton1->SetHint("Thanx To");
  SpeedButton1->SetParent(this);
  SpeedButton1->OnClick = [this](TObject* sender) { SpeedButton1Click(sender); };

  Label10 = MakeLabel("Label10", 8, 16, 200, "Components", {fsBold, fsItalic, fsUnderline}, false);
  Label1 = MakeLabel("Label1", 16, 40, kNameWidth - 16, links::kComponent1, {fsBold}, false);
  Label2 = MakeLabel("Label2", 18, 61, kNameWidth - 18, links::kComponent2, {fsBold}, false);
  Label5 = MakeLabel("Label5", 20, 82, kNameWidth - 20, links::kComponent3, {fsBold}, false);
  Label6 = MakeLabel("Label6", 44, 104, kNameWidth - 44, links::kComponent4, {fsBold}, false);
  Label7 = MakeLink("Label7", 104, 41, links::kSite1, links::kSite1, clBlue, false);
  Label8 = MakeLink("Label8", 104, 73, links::kSite2, links::kSite2, clBlue, false);
  Label9 = MakeLink("Label9", 104, 105, links::kSite3, links::kSite3, clBlue, false);
  Label11 = MakeLabel("Label11", 8, 144, 200, "Friends", {fsBold, fsItalic, fsUnderline}, false);
  Label12 = MakeLabel("Label12", 32, 160, kNameWidth - 32, links::kFriend, {fsBold}, false);
  Label13 = MakeLink("Label13", 104, 160, links::kFriendSite, links::kFriendSite, clBlue, false);
  Label14 =
      MakeLabel("Label14", 48, 176, 270, "Thanks for all, past present and futur", {fsBold}, false);
  Label15 = MakeLabel("Label15", 16, 200, 300,
                      "Thanks to all for beta testing, ideas or simply for using Tamik", {}, false);
  DoCreate();
}

TLabel* TCredit::MakeLabel(const char* name, int left, int top, int width, const char* caption,
                           TFontStyles style, bool visible) {
  auto* label = new TLabel(this);
  label->SetName(name);
  label->SetBounds(left, top, width, 13);
  label->SetCaption(caption);
  label->Font()->Assign(*Font());
  label->Font()->SetStyle(style);
  label->SetVisible(visible);
  label->SetParent(this);
  return label;
}

TLabel* TCredit::MakeLink(const char* name, int left, int top, const char* caption,
                          const char* address, TColor color, bool visible) {
  TLabel* label = MakeLabel(name, left, top, std::min(210, 320 - left), caption,
                            {fsBold, fsUnderline}, visible);
  label->Font()->SetColor(color);
  label->SetCursor(crHandPoint);
  label->OnClick = [this, address](TObject*) { links::Open(Application(), address); };
  return label;
}

void TCredit::SpeedButton1Click(TObject*) {
  // The picture and the credits texts trade places; the author links and the button stay.
  for (TControl* control : {static_cast<TControl*>(Image1), static_cast<TControl*>(Label1),
                            static_cast<TControl*>(Label2), static_cast<TControl*>(Label5),
                            static_cast<TControl*>(Label6), static_cast<TControl*>(Label7),
                            static_cast<TControl*>(Label8), static_cast<TControl*>(Label9),
                            static_cast<TControl*>(Label10), static_cast<TControl*>(Label11),
                            static_cast<TControl*>(Label12), static_cast<TControl*>(Label13),
                            static_cast<TControl*>(Label14), static_cast<TControl*>(Label15)}) {
    control->SetVisible(!control->Visible());
  }
}
