#pragma once

#include <QString>

namespace vortalis::app {

// The texts of the four information windows, plain text with one paragraph a line.

QString ProgramDescriptionText();    // "Vortalis Help"
QString TractrixHistoryText();       // "The Tractrix Horn"
QString DesignConsiderationsText();  // "Design considerations"
QString LegalText();                 // "Legal information"

}  // namespace vortalis::app
