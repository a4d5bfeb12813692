#pragma once

// Drop-downs as a screen reader should meet them: announced by their caption (their accessible name,
// or the label whose buddy they are), with the value shown as their value. Qt's own interface on
// this platform announces the value shown as the name, so a drop-down loses its caption as soon as
// a value is chosen. Installed once, for the whole program.
namespace AccessibleComboBox {
void install();
}
