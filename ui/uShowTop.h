// The splash: covers the companion's start, kept on top until the
// controller recognises the companion's main window.
#pragma once

#include "winsys/Controls.h"
#include "winsys/Form.h"
#include "winsys/Timer.h"

class TForm2 : public winsys::TForm {
 public:
  TForm2();

  winsys::TImage Image1;
  winsys::TLabel Label1;
  winsys::TLabel Label2;
  winsys::TTimer Timer1;

  void FormCreate(winsys::TObject* Sender);
  void Timer1Timer(winsys::TObject* Sender);
};

// The splash, or nullptr once the controller has freed it.
extern TForm2* Form2;

// Frees the splash if it is still there.
void FreeSplash();
// Takes the splash off the screen, if it is still there, ahead of freeing it.
void HideSplash();
