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

  TImage* Image1;
  TLabel* Label4;  // the author's e-mail
  TLabel* Label3;  // the author's web site
  TSpeedButton* SpeedButton1;
  TLabel* Label10;  // "Components"
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label5;
  TLabel* Label6;
  TLabel* Label7;
  TLabel* Label8;
  TLabel* Label9;
  TLabel* Label11;  // "Friends"
  TLabel* Label12;
  TLabel* Label13;
  TLabel* Label14;
  TLabel* Label15;

 private:
  TLabel* MakeLabel(const char* name, int left, int top, int width, const char* caption,
                    TFontStyles style, bool visible);
  TLabel* MakeLink(const char* name, int left, int top, const char* caption, const char* address,
                   TColor color, bool visible);
};
