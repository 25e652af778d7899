#pragma once
// The about box: the product, its version, the systems it runs on and where
// to get help, closed with its OK button.
#include "platform/framework/forms.h"
#include "platform/framework/graphctrls.h"
#include "platform/framework/stdctrls.h"

namespace velocane {

class TAbout : public TForm {
 public:
  explicit TAbout(TComponent* owner);

  // Controls, owned by the form; in the order they are made.
  TLabel* Label1;    // the product name
  TImage* Image1;    // the product's picture
  TLabel* Label2;    // the trademark sign
  TLabel* Label4;    // the systems it runs on
  TBevel* Bevel1;    // frames the title block above
  TLabel* Label6;    // the maker's notice
  TLabel* Label7;    // the rights line
  TLabel* Label8;    // version and build
  TLabel* Label9;    // where to get help
  TButton* Button1;  // "OK": ends the box with mrOk
};

// The product's picture, 32 x 32: the about box's image and its window icon.
TPixelImage ProductPicture(int size = 32);

}  // namespace velocane
