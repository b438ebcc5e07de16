#include "ui/program_frame.h"

namespace vortalis::ui {

namespace {
ProgramFrame* programFrame = nullptr;
}

ProgramFrame* Frame() { return programFrame; }
void SetFrame(ProgramFrame* frame) { programFrame = frame; }

}  // namespace vortalis::ui
