#include "app/help_texts.h"

#include <QStringList>

namespace vortalis::app {

namespace {

QString Paragraphs(const QStringList& lines) { return lines.join(QLatin1Char('\n')); }

}  // namespace

QString ProgramDescriptionText() {
  return Paragraphs({
      QStringLiteral("VORTALIS HELP"),
      QString(),
      QStringLiteral("Vortalis calculates tractrix horns for loudspeakers, from infrasonic bass "
                     "horns many metres long down to small tweeter horns. You give the cut-off "
                     "frequency and the size of the throat; the program works out the length of "
                     "the horn, the size of its mouth and a table of measures along the horn, "
                     "from the throat to the mouth, to build it from."),
      QString(),
      QStringLiteral("Choosing the horn"),
      QStringLiteral("Choose Circular (F9) or Rectangular (F10) in the Settings menu. The circular "
                     "dialog is for horns of round cross-section; the rectangular dialog is for "
                     "horns with four sides, square or oblong, made from panels."),
      QString(),
      QStringLiteral("Entering the values"),
      QStringLiteral("1. Choose the units, mm or inch. The lengths already entered are converted "
                     "when you switch."),
      QStringLiteral("2. Circular horn: choose whether the throat size is a radius or a diameter; "
                     "the mouth size is then given the same way. Switching converts the throat "
                     "size you entered."),
      QStringLiteral("   Rectangular horn: enter the throat opening as the two distances between "
                     "opposite sides, Side 1A - 1B and Side 2A - 2B, and choose where the mouth "
                     "will stand: in free air or against one, two or three walls. For a horn with "
                     "two flat sides tick \"Select two flat sides\" and enter the distance between "
                     "sides 1A and 1B at the mouth."),
      QStringLiteral("3. Enter the cut-off frequency in Hz, from 1 to 25000."),
      QStringLiteral("4. Press Test (or Enter). The horn length and the mouth size appear at once "
                     "in the dialog. They keep the units and the radius or diameter of that test "
                     "until you press Test again."),
      QStringLiteral("When a value is missing, mistyped or out of range, a message names it and "
                     "the cursor goes to that field. The dialog keeps the values of the last Test "
                     "or Calculate: when it is shown again, text typed since then is replaced by "
                     "them."),
      QString(),
      QStringLiteral("Decimal numbers"),
      QStringLiteral("Type decimal numbers with the decimal separator of your computer's regional "
                     "settings: a point in some countries (12.5), a comma in others (12,5). Type "
                     "no thousands separators and no units. The results and the tables use the "
                     "same separator, and the program follows a change of the regional settings "
                     "while it runs."),
      QString(),
      QStringLiteral("The full table"),
      QStringLiteral("Choose the table increment, the step between two rows of the table: 1, 10 "
                     "or 100 mm, or 0.01, 0.1 or 1 inch. Then press Calculate. A new report "
                     "window opens with the input values, the calculated length and mouth size, "
                     "the minimum recommended length and the table. The table has one row at "
                     "every step from the throat (distance 0) and a last row for the mouth."),
      QStringLiteral("For a circular horn the columns are the distance from the throat, the "
                     "radius or diameter, the cross-section area and the flare angle. For a "
                     "rectangular horn they are the distance from the throat, the distances "
                     "between sides 1A - 1B and 2A - 2B, the area and, with flat sides, the "
                     "distance measured along a flat side."),
      QStringLiteral("A small increment makes a long table that takes a while to compute: a bass "
                     "horn several metres long gives thousands of rows at 1 mm. A progress window "
                     "shows how far the calculation has come. Abort stops it; the report then "
                     "says so in its third line and still ends with the mouth row."),
      QString(),
      QStringLiteral("Saving and printing"),
      QStringLiteral("The report is plain text that you can edit. Save and Save as in its File "
                     "menu write it as a text file (.txt) with tabs between the columns, which a "
                     "text editor or a spreadsheet opens. Print prints it. When you close a "
                     "report with changes that are not saved, the program asks whether to save "
                     "them."),
      QString(),
      QStringLiteral("Windows"),
      QStringLiteral("Close hides a settings dialog; the Settings menu shows it again with its "
                     "values. The Windows menu tiles or cascades the report windows. The Help "
                     "menu holds this text, the history of the tractrix horn, the design "
                     "considerations and the legal information; each can be printed, and "
                     "Edit > Copy copies the selected text."),
  });
}

QString TractrixHistoryText() {
  return Paragraphs({
      QStringLiteral("THE TRACTRIX HORN"),
      QString(),
      QStringLiteral("The curve"),
      QStringLiteral("The tractrix is the path of a small weight dragged over a table by a string "
                     "of fixed length whose other end is pulled along a straight line. The French "
                     "physician and architect Claude Perrault asked for this path around 1670, "
                     "and Newton, Huygens and Leibniz studied it. Its name comes from the Latin "
                     "trahere, to pull."),
      QStringLiteral("The curve has one property that defines it: the tangent, measured from any "
                     "point of the curve to the straight line, has the same length everywhere. "
                     "That length is the length of the string."),
      QString(),
      QStringLiteral("The horn"),
      QStringLiteral("Turned about that straight line, the tractrix gives the wall of a horn: the "
                     "line is the horn's axis and the tangent length is the radius a of the "
                     "mouth. Paul Voigt patented the tractrix loudspeaker horn in the late "
                     "1920s."),
      QStringLiteral("His reasoning was that the sound in a horn does not travel as a flat wave "
                     "but as a curved front, a cap of a sphere that meets the wall at right "
                     "angles. A sphere meets the wall at right angles when its centre lies on the "
                     "wall's tangent; with a tractrix wall the distance along the tangent to the "
                     "axis is always a, so the fronts grow smoothly from the throat to the "
                     "mouth."),
      QStringLiteral("At the mouth the wall has turned until it stands at right angles to the "
                     "axis: the flare angle is 90 degrees, the tangent there is the mouth radius "
                     "itself, and the front leaves the horn as a half sphere of radius a. The "
                     "curve ends there; the horn cannot be made longer for the same mouth."),
      QStringLiteral("The mouth circumference, 2 x pi x a, equals the wavelength at the cut-off "
                     "frequency. Far from the mouth, where the wall runs almost parallel to the "
                     "axis, the tractrix flares much like an exponential horn; towards the mouth "
                     "it opens faster and ends with its wall across the axis, where an exponential "
                     "horn would go on."),
      QString(),
      QStringLiteral("Square and rectangular horns"),
      QStringLiteral("The spherical fronts fit a round horn only. A horn with four flat-panel "
                     "sides cannot meet spherical fronts at right angles on every side, so square "
                     "and rectangular tractrix horns are a compromise. The usual one, used by "
                     "this program, gives every cross-section the area of the round tractrix "
                     "at the same distance from the throat. The horn has the same length and "
                     "the same area growth as the round one and is far easier to build, but its "
                     "sides do not all reach a right angle at the mouth."),
      QString(),
      QStringLiteral("The half horn on a partition"),
      QStringLiteral("A large, stiff, flat surface - a wall, a floor, a partition - acts as a "
                     "mirror for sound. A horn cut in half along its axis and set with the cut "
                     "against such a surface works as the whole horn, its mirror image supplying "
                     "the missing half. In the same way a quarter horn works in the corner "
                     "between floor and wall, and an eighth in the corner of floor and two "
                     "walls. This makes the very large mouths of bass horns practical; see the "
                     "mouth location in Design considerations."),
  });
}

QString DesignConsiderationsText() {
  return Paragraphs({
      QStringLiteral("DESIGN CONSIDERATIONS"),
      QString(),
      QStringLiteral("The tractrix formula"),
      QStringLiteral("The distance x from the mouth plane to the cross-section of radius r is"),
      QStringLiteral("    x = a * ln((a + sqrt(a^2 - r^2)) / r) - sqrt(a^2 - r^2)"),
      QStringLiteral("where a is the mouth radius of the full horn and ln the natural logarithm. "
                     "The horn length is x for r = the throat radius."),
      QString(),
      QStringLiteral("Cut-off frequency and mouth"),
      QStringLiteral("The mouth radius follows from the cut-off frequency fc: a = c / (2 x pi x "
                     "fc), with the speed of sound c = 340 m/s (air at about 15 degrees C). The "
                     "mouth circumference is then one wavelength at fc. Examples: 300 Hz gives a "
                     "mouth radius of 180.4 mm (diameter 360.8 mm), 100 Hz gives 541.1 mm, 32 Hz "
                     "gives 1691 mm."),
      QStringLiteral("Below the cut-off the horn stops loading the driver, and the loading "
                     "weakens already close above it, so choose fc somewhat below the lowest "
                     "frequency the horn has to play."),
      QString(),
      QStringLiteral("Minimum length"),
      QStringLiteral("The horn should be longer than a quarter of the wavelength at the cut-off, "
                     "c / (4 x fc): 283 mm at 300 Hz, 2656 mm at 32 Hz. The report gives this "
                     "figure as the minimum recommended length. When the horn is not longer, the "
                     "report adds the note \"The fc value of this horn is not correct, the length "
                     "is too short.\" and still computes the table. Such a horn does not load the "
                     "driver down to fc; make the throat smaller or choose a lower cut-off "
                     "frequency (a larger mouth)."),
      QString(),
      QStringLiteral("Throat-to-mouth area ratio"),
      QStringLiteral("The length depends only on the ratio of mouth area to throat area: it is a "
                     "times 0.92 at a ratio of 11, 1.31 at 25, 2.00 at 100 and 2.69 at 400. The "
                     "quarter wavelength is a times 1.571, so a horn meets the minimum length "
                     "only when its mouth area is more than about 42 times its throat area (the "
                     "throat radius below 0.154 a). For a rectangular horn the throat area "
                     "counts with the mouth location factor below."),
      QString(),
      QStringLiteral("Rectangular horns: equal areas"),
      QStringLiteral("A rectangular or square horn is given, at every distance from the throat, "
                     "the area of the round tractrix horn of the same cut-off. Its throat s1 x s2 "
                     "is replaced by the circle of the same area, r0 = sqrt(s1 x s2 x k / pi), "
                     "and the length is that of the round horn from r0. Without flat sides every "
                     "cross-section keeps the proportions of the throat, so the mouth has the "
                     "same ratio s1 : s2."),
      QString(),
      QStringLiteral("Walls, floor and corner"),
      QStringLiteral("A horn whose mouth stands against large surfaces can be cut along them, "
                     "the surfaces mirroring the missing part. The mouth location sets the "
                     "factor k: free air 1, against one wall 2 (a half horn), against floor and "
                     "one wall 4 (a quarter), against floor and two walls 8 (an eighth, in a "
                     "corner). The program computes the full horn whose throat is k times the "
                     "throat you enter and builds 1/k of its area at every distance, so the mouth "
                     "area is divided by k and the horn gets shorter the more surfaces it uses. "
                     "The 32 Hz horn with a 40 x 50 mm throat is 6592 mm long with a 2681 x 3351 "
                     "mm mouth in free air, 6006 mm (1896 x 2370) against one wall, 5420 mm "
                     "(1340 x 1676) against floor and wall and 4834 mm (948 x 1185) in a corner."),
      QStringLiteral("The surfaces mirror the horn only when the mouth stands right against them "
                     "and they reach well beyond it."),
      QString(),
      QStringLiteral("Flat sides"),
      QStringLiteral("With \"Select two flat sides\" the sides 1A and 1B are flat panels: the "
                     "distance between them grows in a straight line from the throat distance to "
                     "the mouth distance you enter, which must be at least the throat distance. "
                     "Sides 2A and 2B are curved so that every cross-section still has the "
                     "tractrix area. Two flat panels and two bent ones are much easier to build. "
                     "The table then has a column \"Flat side distance\": the distance measured "
                     "on a flat panel from its throat edge to each station, for marking where "
                     "the bent sides meet it. A mouth distance near the one the program gives "
                     "without flat sides keeps both pairs of sides flaring evenly."),
  });
}

QString LegalText() {
  struct Section {
    QString heading;
    QStringList paragraphs;
  };
  const QList<Section> sections = {
      {QStringLiteral("Terms of use"),
       {QStringLiteral("Vortalis is free software: you can redistribute it and/or modify it under "
                       "the terms of the GNU General Public License as published by the Free "
                       "Software Foundation, either version 3 of the License, or (at your "
                       "option) any later version."),
        QStringLiteral("You may use the program for any purpose, and the horn tables and reports "
                       "that you make with it are yours. When you pass the program on, changed or "
                       "not, pass on its source code and these terms with it.")}},
      {QStringLiteral("Termination"),
       {QStringLiteral("Your rights under the License end automatically if you copy, modify or "
                       "distribute the program other than the License allows. They can be "
                       "restored as section 8 of the License describes. Others who received "
                       "copies from you keep their rights as long as they comply.")}},
      {QStringLiteral("Disclaimer of warranty"),
       {QStringLiteral("The program is distributed in the hope that it will be useful, but "
                       "WITHOUT ANY WARRANTY; without even the implied warranty of "
                       "MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE. The whole risk as to "
                       "the quality and performance of the program is with you. Check the "
                       "measures before you cut material.")}},
      {QStringLiteral("Limitation of liability"),
       {QStringLiteral("Unless required by applicable law or agreed to in writing, no copyright "
                       "holder or other party who modifies or conveys the program is liable to you "
                       "for damages, including any general, special, incidental or consequential "
                       "damages arising out of the use or inability to use the program, such as "
                       "lost materials, lost work or damaged equipment.")}},
      {QStringLiteral("Governing law"),
       {QStringLiteral("Where the License leaves a question open, it is decided by the law that "
                       "applies where you received the program. If the disclaimer and the "
                       "limitation above cannot be given full effect there, the nearest waiver of "
                       "all liability that law allows applies.")}},
      {QStringLiteral("Severability"),
       {QStringLiteral("If any part of these terms is held invalid or unenforceable, the rest "
                       "stays in force.")}},
      {QStringLiteral("Entire agreement"),
       {QStringLiteral("These terms and the GNU General Public License are the whole agreement "
                       "about the program. The full text of the License is at "
                       "https://www.gnu.org/licenses/gpl-3.0.html and comes with the program's "
                       "source code.")}},
      {QStringLiteral("Trademarks"),
       {QStringLiteral("Vortalis and Kestrowan are trademarks of Kestrowan. The License grants no "
                       "right to use them; you may name them to describe the program truthfully, "
                       "but not to present a changed version as the original.")}},
      {QStringLiteral("Ownership rights"),
       {QStringLiteral("Copyright (C) Kestrowan and the contributors to Vortalis. The copyright "
                       "holders keep their copyright; the License gives you the rights described "
                       "above, not ownership of the program.")}},
  };

  QStringList lines = {QStringLiteral("LEGAL INFORMATION"), QString(),
                       QStringLiteral("Vortalis version 1.01, a tractrix horn calculator from "
                                      "Kestrowan."),
                       QString()};
  for (const Section& section : sections) {
    lines << section.heading.toUpper();
    lines << section.paragraphs;
    lines << QString();
  }
  lines.removeLast();
  return Paragraphs(lines);
}

}  // namespace vortalis::app
