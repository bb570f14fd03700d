// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What Qt 6.4 shows assistive tools over AT-SPI, mended where it falls short:
// - a combo box is read by its own name (its accessible name, else its label) with its current
//   item as its value; on Linux Qt names it by the current item, so a screen reader heard
//   "All services" and never what the box chooses;
// - a window made of a plain QWidget (the case log) is a window, not a nameless "filler";
// - the offscreen window behind each web page's view (Qt's QQuickWidget draws into it) is no
//   window of the program's, where it showed as an empty frame called "Offscreen".
// Once per program; the windows call it as they are made.
void MendAccessibility();
