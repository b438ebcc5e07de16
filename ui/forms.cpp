#include "ui/forms.h"

#include "ui/program_frame.h"

TStartForm* StartForm = nullptr;
TMainform* Mainform = nullptr;
TSettCircForm* SettCircForm = nullptr;
TAboutForm* AboutForm = nullptr;
Twaitform* waitform = nullptr;
TSettRecForm* SettRecForm = nullptr;
THelp1form* Help1form = nullptr;
THelp3Form* Help3Form = nullptr;
Thelp2form* help2form = nullptr;
THelp5form* Help5form = nullptr;

namespace {
ProgramFrame* programFrame = nullptr;
}

ProgramFrame* Frame() { return programFrame; }
void SetFrame(ProgramFrame* frame) { programFrame = frame; }
