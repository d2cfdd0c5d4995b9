#pragma once
// The credits window: a picture covering the window with the two author links on it, and the
// credits texts behind the "Thanx To" button, which swaps the picture for the texts and back.
// Created hidden at start-up after the options dialog; the About page's "Credits" shows it.

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TCredit : public TForm {
 public:
  explicit TCredit(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassType() const override { return StaticClassInfo(); }

  // "Thanx To": flips the visibility of the picture and the 13 credits labels.
  void SpeedButton1Click(TObject* sender);

  TImage* Image1 = nullptr;
  TLabel* Label4 = nullptr;  // the author's e-mail
  TLabel* Label3 = nullptr;  // the author's web site
  TSpeedButton* SpeedButton1 = nullptr;
  TLabel* Label10 = nullptr;  // "Components"
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label6 = nullptr;
  TLabel* Label7 = nullptr;
  TLabel* Label8 = nullptr;
  TLabel* Label9 = nullptr;
  TLabel* Label11 = nullptr;  // "Friends"
  TLabel* Label12 = nullptr;
  TLabel* Label13 = nullptr;
  TLabel* Label14 = nullptr;
  TLabel* Label15 = nullptr;

 private:
  TLabel* MakeLabel(const char* name, int left, int top, int width, const char* caption,
                    TFontStyles style, bool visible);
  TLabel* MakeLink(const char* name, int left, int top, const char* caption, const char* address,
                   TColor color, bool visible);
};
