#pragma once

namespace vortalis::windows {

// The process-wide references to the long-lived windows. Each is assigned
// before the window's own create handler runs and lives until the program ends.
class TStartForm;
class TMainform;
class TSettCircForm;
class TAboutForm;
class Twaitform;
class TSettRecForm;
class THelp1form;
class THelp3Form;
class Thelp2form;
class THelp5form;

extern TStartForm* StartForm;
extern TMainform* Mainform;
extern TSettCircForm* SettCircForm;
extern TAboutForm* AboutForm;
extern Twaitform* waitform;
extern TSettRecForm* SettRecForm;
extern THelp1form* Help1form;
extern THelp3Form* Help3Form;
extern Thelp2form* help2form;
extern THelp5form* Help5form;

}  // namespace vortalis::windows
